#pragma once
// The navigator's resources, registered by the module's start-up under the
// module's own handle: the scheme tree's dialog template 2161 with its tree
// control 206, the tree's two node images (bitmap 2191), and the table
// editor's template 8001 with its buttons' icons.

#include "win/winuser.h"

enum QuorraResourceIds : int {
  IDD_SCHEME_TREE = 2161,
  IDC_SCHEME_TREE = 206,
  IDB_SCHEME_TREE_IMAGES = 2191,
  // The table editor.
  IDD_TABLE_EDITOR = 8001,
  IDC_EDITOR_GRID = 8003,
  IDC_EDITOR_ADD = 8011,
  IDC_EDITOR_DELETE = 8021,
  IDC_EDITOR_SAVE = 3,
  IDC_EDITOR_CLOSE = 4,
  IDC_EDITOR_PREVIEW = 230,
  IDC_EDITOR_NOTE = 6,
  IDC_EDITOR_ROWS = 235,
  IDC_EDITOR_ROWS_LABEL = 236,
  IDI_EDITOR_ADD = 8051,
  IDI_EDITOR_DELETE = 8012,
  IDI_EDITOR_SAVE = 8032,
  IDI_EDITOR_CLOSE = 8022,
};

// Registers the module's resources under the module whose code runs.
void RegisterQuorraResources();
