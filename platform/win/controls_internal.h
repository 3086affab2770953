#pragma once
// What the controls beyond the standard ones share with the rest of the
// window system (not for modules): their procedures, the words of the script
// that they supply (a word is cut into steps, each run after the messages of
// the one before have been dispatched) and the painting of owner-drawn
// buttons.

#include <functional>
#include <string>
#include <vector>

#include "win/winuser.h"

namespace platform {
struct LoadedModule;
}

namespace platform::win {

// One step of a word; false with the reason when it cannot be played.
using WordStep = std::function<bool(std::string& error)>;

// A tree's words: `<tree>=a/b/c` clicks the item the path of texts names,
// `:dbl=` double-clicks and `:right=` right-clicks it, with the mouse on the
// item's label (its parents opened first).
enum class TreeClick { Left, Double, Right };
bool treeWordSteps(HWND tree, int id, TreeClick kind, const std::string& path, std::vector<WordStep>& steps,
                   std::string& error);
WNDPROC treeProc();
WNDPROC toolTipProc();

// A size box (a scroll bar with SBS_SIZEBOX or SBS_SIZEGRIP) handles its
// messages here; false for any other scroll bar.
bool sizeBoxMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
// Menus made by a module go with it; all go at a reset.
void releaseModuleMenus(LoadedModule* module);
void destroyAllMenus();
// The hooks of addModuleReleaseHook (win/winhost.h).
void runModuleReleaseHooks(LoadedModule* module);

}  // namespace platform::win
