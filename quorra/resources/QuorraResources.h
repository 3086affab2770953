#pragma once
// The navigator's resources, registered by the module's start-up under the
// module's own handle: the scheme tree's dialog template 2161 with its tree
// control 206, and the tree's two node images (bitmap 2191).

#include "win/winuser.h"

enum QuorraResourceIds : int {
  IDD_SCHEME_TREE = 2161,
  IDC_SCHEME_TREE = 206,
  IDB_SCHEME_TREE_IMAGES = 2191,
};

// Registers the module's resources under the module whose code runs.
void RegisterQuorraResources();
