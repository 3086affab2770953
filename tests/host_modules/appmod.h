#pragma once
// The classes of the application-object test module: TmAppDerived derives
// from TmAppBase.
#include "arx/rxobject.h"

class TmAppBase : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(TmAppBase);
};

class TmAppDerived : public TmAppBase {
 public:
  ACRX_DECLARE_MEMBERS(TmAppDerived);
};
