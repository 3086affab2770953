// The class table of the application-object test module, in a file of its own.
#include "appmod.h"
#include "arx/arx.h"

ACRX_DXF_DEFINE_MEMBERS(TmAppBase, AcRxObject, 25, 76, 0, TMAPPBASE, TestApp)
ACRX_DXF_DEFINE_MEMBERS(TmAppDerived, TmAppBase, 25, 76, 0, TMAPPDERIVED, TestApp)

// The base is listed first: at unload the derived class must still go first.
DBX_CLASS_ENTRY(TmAppBase)
DBX_CLASS_ENTRY(TmAppDerived)
