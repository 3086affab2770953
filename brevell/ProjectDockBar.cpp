// The dock bar of the project tree (ProjectDockBar.h): not built yet.

#include "ProjectDockBar.h"

void ShowProjectDockBar(bool show) { (void)show; }

void CloseProjectDockBar() {}
