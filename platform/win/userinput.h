#pragma once
// User input as a script writes it. A word is a defined sequence of the
// messages a person's input makes (mouse presses and releases at a control,
// keys), queued as user input and dispatched by the pump, so that every
// handler runs as it would for a person; nothing sets a control's state
// directly.
//
//   <ctl>            clicks control <ctl> (its id) at its centre
//   <ctl>=<text>     an edit: clicks into it and replaces its text (one
//                    change notification); a combo box: chooses the item
//                    (drop-down, selection change, close-up); a check box or
//                    radio button: =1 or =0 clicks it when its state differs;
//                    an up-down: =+1 or =-1 (=+n, =-n) presses the arrow that
//                    steps by +1 (-1), n times; a tree: clicks the item
//                    its path of texts names (a/b/c), its parents opened
//                    first (NM_CLICK, then the selection moves)
//   <tree>:dbl=a/b/c   double-clicks a tree's item
//   <tree>:right=a/b/c right-clicks a tree's item (the cursor on the item)
//   <ctl>:=<text>    a combo box with an edit field: clicks into the field and
//                    replaces its text
//   {<keys>}         keys to the focus window, each as key-down and key-up
//                    (the pump makes the character): {Enter}, {Tab},
//                    {Shift+Tab}, {Esc}, {PageDown}, {Ctrl+V}, {F4}, {A} ...
//   close            WM_CLOSE to the window
//   IDOK, IDCANCEL   clicks button 1, 2 (any button name of win/answers.h)
//   wait=<ms>        lets the clock run, so that timers fall due
//   <ctl>[r,c]       a window with cells (a grid): clicks cell (r, c), which
//                    the window first scrolls into view
//   <ctl>[r,c]=<text> clicks the cell, clicks it again when that opened no
//                    editor (a click on the focus cell starts an edit), puts
//                    the text in the editor (an edit: replaces its text; a
//                    list: chooses the item) and gives the focus back to the
//                    window, which ends the edit with no exit key
//   <ctl>[r,c]:right right-clicks the cell
//
// Values with blanks are quoted: 219="D:\my proj\a.mdb". A control is found
// by its id among the window's children (then deeper); it must be visible and
// enabled, and not covered at its centre.

#include <string>
#include <string_view>
#include <vector>

#include "win/winuser.h"

// What a window with cells answers for a cell word: sent with lParam a
// ScriptCellQuery; the window scrolls the cell into view, fills in the screen
// point of its centre and answers TRUE, or FALSE when it has no such cell.
#define WM_SCRIPT_CELL 0x03F0
struct ScriptCellQuery {
  int row;
  int col;
  POINT screenPt;
};

namespace platform {

// Cuts a line into words at blanks outside quotes; the quotes stay in the
// words. False with the reason for an unclosed quote.
PLATFORM_API bool splitWords(std::string_view line, std::vector<std::string>& words, std::string& error);

// Plays words on `target` one after the other, pumping the messages of each
// before the next. False with the reason (naming the word) when a word cannot
// be played, or when `target` goes while words are left.
PLATFORM_API bool playWords(HWND target, const std::vector<std::string>& words, std::string& error);

// A `> <window> <word>...` line (without the '>'): <window> is a dialog
// template id, followed by "caption" or #n (the n-th open one, oldest first)
// when several windows of that template are open. Acts on the window as a user
// would (activating it first), then pumps. False with the reason.
PLATFORM_API bool runWindowLine(std::string_view line, std::string& error);

}  // namespace platform
