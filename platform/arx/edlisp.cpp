#include "arx/edlisp.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "arx/rxdynlink.h"
#include "arx/rxinternal.h"
#include "crt/ascii.h"

namespace platform {
namespace {

// --- result buffers -------------------------------------------------------------

enum class ValueKind { None, String, Real, Point, Short, Long, Name, Binary };

bool within(int v, int lo, int hi) { return v >= lo && v <= hi; }

// What a buffer of `type` holds: the editor's RT codes and the drawing's group codes.
ValueKind kindOf(int type) {
  switch (type) {
    case RTSTR:
    case RTDXF0: return ValueKind::String;
    case RTREAL:
    case RTANG:
    case RTORINT: return ValueKind::Real;
    case RTPOINT:
    case RT3DPOINT: return ValueKind::Point;
    case RTSHORT: return ValueKind::Short;
    case RTLONG: return ValueKind::Long;
    case RTENAME:
    case RTPICKS: return ValueKind::Name;
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT:
    case RTVOID:
    case RTNONE: return ValueKind::None;
    default: break;
  }
  if (type == -4) return ValueKind::String;  // selection-filter operators such as "<OR"
  if (type == -1 || type == -2 || within(type, 330, 369)) return ValueKind::Name;
  if (within(type, 0, 9) || within(type, 100, 109) || within(type, 300, 309) || within(type, 410, 419) ||
      within(type, 430, 439) || within(type, 470, 479) || type == 999 || within(type, 1000, 1003) ||
      within(type, 1005, 1009))
    return ValueKind::String;
  if (within(type, 310, 319) || type == 1004) return ValueKind::Binary;
  if (within(type, 10, 18) || within(type, 110, 112) || type == 210 || within(type, 1010, 1013))
    return ValueKind::Point;
  if (within(type, 38, 59) || within(type, 140, 149) || within(type, 460, 469) || within(type, 1014, 1059))
    return ValueKind::Real;
  if (within(type, 60, 79) || within(type, 170, 179) || within(type, 270, 299) || within(type, 370, 409) ||
      within(type, 1060, 1070))
    return ValueKind::Short;
  if (within(type, 90, 99) || within(type, 420, 429) || within(type, 440, 449) || type == 1071)
    return ValueKind::Long;
  return ValueKind::None;
}

char* duplicate(const char* s) {
  if (!s) return nullptr;
  size_t n = std::strlen(s) + 1;
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy) std::memcpy(copy, s, n);
  return copy;
}

// --- defined functions ----------------------------------------------------------

struct LispFunction {
  std::string name;
  int number = 0;
  const LoadedModule* module = nullptr;
};

struct RegisteredHandler {
  const LoadedModule* module = nullptr;
  int number = 0;
  int (*handler)() = nullptr;
};

struct Invocation {
  int number = 0;
  resbuf* args = nullptr;
  resbuf* result = nullptr;
  bool hasResult = false;
};

struct LispState {
  std::vector<LispFunction> functions;
  std::vector<RegisteredHandler> handlers;
  std::vector<Invocation> calls;  // innermost last
};

LispState& state() {
  static LispState* s = new LispState();  // lives for the whole process
  return *s;
}

LispFunction* findFunction(std::string_view name) {
  for (LispFunction& f : state().functions)
    if (equalNoCase(f.name, name)) return &f;
  return nullptr;
}

int (*findHandler(const LoadedModule* module, int number))() {
  for (const RegisteredHandler& h : state().handlers)
    if (h.module == module && h.number == number) return h.handler;
  return nullptr;
}

int setResult(resbuf* value) {
  if (state().calls.empty()) {
    acutRelRb(value);
    return RTERROR;
  }
  Invocation& call = state().calls.back();
  acutRelRb(call.result);
  call.result = value;
  call.hasResult = true;
  return RTNORM;
}

std::string realText(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  std::string s = buf;
  if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
  return s;
}

// "(x y)" or "(x y z)".
std::string pointList(const double* p, int dims) {
  std::string s = "(";
  for (int i = 0; i < dims; ++i) {
    if (i) s += ' ';
    s += realText(p[i]);
  }
  s += ')';
  return s;
}

std::string itemText(const resbuf* rb) {
  char buf[64];
  switch (rb->restype) {
    case RTNIL: return "nil";
    case RTT: return "T";
    case RTVOID:
    case RTNONE: return "";
    case RTENAME:
      std::snprintf(buf, sizeof buf, "<Entity name: %lx>", static_cast<unsigned long>(rb->resval.rlname[0]));
      return buf;
    case RTPICKS:
      std::snprintf(buf, sizeof buf, "<Selection set: %lx>", static_cast<unsigned long>(rb->resval.rlname[0]));
      return buf;
    case RTPOINT: return pointList(rb->resval.rpoint, 2);
    default: break;
  }
  switch (kindOf(rb->restype)) {
    case ValueKind::String: {
      std::string s = "\"";
      for (const char* p = rb->resval.rstring ? rb->resval.rstring : ""; *p; ++p) {
        if (*p == '"' || *p == '\\') s += '\\';
        s += *p;
      }
      return s + "\"";
    }
    case ValueKind::Real: return realText(rb->resval.rreal);
    case ValueKind::Point: return pointList(rb->resval.rpoint, 3);
    case ValueKind::Short: return std::to_string(rb->resval.rint);
    case ValueKind::Long: return std::to_string(rb->resval.rlong);
    default: return "";
  }
}

}  // namespace

int removeModuleLispFunctions(const LoadedModule* module) {
  if (!module) return 0;
  auto& fs = state().functions;
  size_t before = fs.size();
  std::erase_if(fs, [&](const LispFunction& f) { return f.module == module; });
  std::erase_if(state().handlers, [&](const RegisteredHandler& h) { return h.module == module; });
  return static_cast<int>(before - fs.size());
}

bool isLispFunctionDefined(std::string_view name) { return findFunction(name) != nullptr; }

resbuf* copyResbufList(const resbuf* list) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (const resbuf* rb = list; rb; rb = rb->rbnext) {
    resbuf* copy = acutNewRb(rb->restype);
    if (!copy) break;
    copy->resval = rb->resval;
    if (kindOf(rb->restype) == ValueKind::String) copy->resval.rstring = duplicate(rb->resval.rstring);
    if (kindOf(rb->restype) == ValueKind::Binary) {
      copy->resval.rbinary.buf = nullptr;
      short n = rb->resval.rbinary.clen;
      if (n > 0 && rb->resval.rbinary.buf) {
        copy->resval.rbinary.buf = static_cast<char*>(std::malloc(static_cast<size_t>(n)));
        if (copy->resval.rbinary.buf) std::memcpy(copy->resval.rbinary.buf, rb->resval.rbinary.buf, n);
      }
    }
    *tail = copy;
    tail = &copy->rbnext;
  }
  return head;
}

std::string lispValueText(const resbuf* value) {
  if (!value) return "nil";
  if (!value->rbnext && value->restype != RTLB) return itemText(value);
  // A list: the items of a plain chain are one list; RTLB/RTLE nest.
  std::string s;
  bool plainChain = value->restype != RTLB;
  if (plainChain) s += "(";
  bool needBlank = false;
  for (const resbuf* rb = value; rb; rb = rb->rbnext) {
    if (rb->restype == RTLE) {
      s += ")";
      needBlank = true;
      continue;
    }
    if (needBlank) s += " ";
    if (rb->restype == RTLB) {
      s += "(";
      needBlank = false;
      continue;
    }
    if (rb->restype == RTDOTE) {
      s += ".";
      needBlank = true;
      continue;
    }
    s += itemText(rb);
    needBlank = true;
  }
  if (plainChain) s += ")";
  return s;
}

bool invokeLispFunction(std::string_view name, const resbuf* args, std::string* resultText, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (resultText) resultText->clear();
  LispFunction* fn = findFunction(name);
  if (!fn) return fail("no function definition: " + std::string(name));
  const LoadedModule* module = fn->module;
  int number = fn->number;
  std::string fnName = fn->name;
  int (*handler)() = findHandler(module, number);
  if (!handler && !module) return fail("function " + fnName + " has no handler");

  state().calls.push_back(Invocation{number, copyResbufList(args), nullptr, false});
  int rc = RSRSLT;
  {
    ModuleCallScope scope(const_cast<LoadedModule*>(module));
    if (handler) {
      try {
        rc = handler();
      } catch (...) {
        rc = RSERR;  // nothing may leave a module by an exception
      }
    } else if (sendModuleMessage(const_cast<LoadedModule*>(module), AcRx::kInvkSubrMsg) != AcRx::kRetOK) {
      rc = RSERR;
    }
  }
  Invocation call = state().calls.back();
  state().calls.pop_back();
  std::string text = call.hasResult ? (call.result && call.result->restype == RTVOID ? "" : lispValueText(call.result))
                                    : "nil";
  acutRelRb(call.args);
  acutRelRb(call.result);
  if (rc == RSERR) return fail("function " + fnName + " reported an error");
  if (resultText) *resultText = text;
  return true;
}

}  // namespace platform

// --- result buffers ----------------------------------------------------------------

resbuf* acutNewRb(int type) {
  auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (rb) rb->restype = static_cast<short>(type);
  return rb;
}

int acutRelRb(resbuf* rb) {
  while (rb) {
    resbuf* next = rb->rbnext;
    platform::ValueKind kind = platform::kindOf(rb->restype);
    if (kind == platform::ValueKind::String) std::free(rb->resval.rstring);
    if (kind == platform::ValueKind::Binary) std::free(rb->resval.rbinary.buf);
    std::free(rb);
    rb = next;
  }
  return RTNORM;
}

resbuf* acutBuildList(int type, ...) {
  va_list ap;
  va_start(ap, type);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  bool bad = false;
  for (int t = type; t != 0 && t != RTNONE; t = va_arg(ap, int)) {
    resbuf* rb = acutNewRb(t);
    if (!rb) {
      bad = true;
      break;
    }
    *tail = rb;
    tail = &rb->rbnext;
    switch (platform::kindOf(t)) {
      case platform::ValueKind::String: rb->resval.rstring = platform::duplicate(va_arg(ap, const char*)); break;
      case platform::ValueKind::Real: rb->resval.rreal = va_arg(ap, double); break;
      case platform::ValueKind::Point: {
        const double* p = va_arg(ap, const double*);
        for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
        break;
      }
      case platform::ValueKind::Short: rb->resval.rint = static_cast<short>(va_arg(ap, int)); break;
      case platform::ValueKind::Long: rb->resval.rlong = va_arg(ap, long); break;
      case platform::ValueKind::Name: {
        const long* n = va_arg(ap, const long*);
        rb->resval.rlname[0] = n ? n[0] : 0;
        rb->resval.rlname[1] = n ? n[1] : 0;
        break;
      }
      case platform::ValueKind::Binary: bad = true; break;
      case platform::ValueKind::None:
        if (t != RTLB && t != RTLE && t != RTDOTE && t != RTNIL && t != RTT && t != RTVOID) bad = true;
        break;
    }
    if (bad) break;
  }
  va_end(ap);
  if (bad) {
    acutRelRb(head);
    return nullptr;
  }
  return head;
}

char* acutNewString(const char* text) { return platform::duplicate(text ? text : ""); }

void acutDelString(char*& text) {
  std::free(text);
  text = nullptr;
}

// --- definitions and invocation ------------------------------------------------------

int acedDefun(const char* name, int funcNumber) {
  if (!name || !*name) return RTERROR;
  const platform::LoadedModule* module = platform::currentModule();
  if (platform::LispFunction* f = platform::findFunction(name)) {
    f->name = name;
    f->number = funcNumber;
    f->module = module;
    return RTNORM;
  }
  platform::state().functions.push_back({name, funcNumber, module});
  return RTNORM;
}

int acedUndef(const char* name, int funcNumber) {
  if (!name) return RTERROR;
  const platform::LoadedModule* module = platform::currentModule();
  auto& fs = platform::state().functions;
  for (auto it = fs.begin(); it != fs.end(); ++it)
    if (platform::equalNoCase(it->name, name) && it->number == funcNumber && it->module == module) {
      fs.erase(it);
      return RTNORM;
    }
  return RTERROR;
}

int acedRegFunc(int (*handler)(), int funcNumber) {
  const platform::LoadedModule* module = platform::currentModule();
  auto& hs = platform::state().handlers;
  std::erase_if(hs, [&](const platform::RegisteredHandler& h) { return h.module == module && h.number == funcNumber; });
  if (handler) hs.push_back({module, funcNumber, handler});
  return RTNORM;
}

int acedGetFunCode() {
  auto& calls = platform::state().calls;
  return calls.empty() ? RTERROR : calls.back().number;
}

resbuf* acedGetArgs() {
  auto& calls = platform::state().calls;
  return calls.empty() ? nullptr : calls.back().args;
}

int acedRetVoid() { return platform::setResult(acutNewRb(RTVOID)); }
int acedRetNil() { return platform::setResult(acutNewRb(RTNIL)); }
int acedRetT() { return platform::setResult(acutNewRb(RTT)); }

int acedRetInt(int value) {
  resbuf* rb = acutNewRb(RTLONG);
  if (rb) rb->resval.rlong = value;
  return platform::setResult(rb);
}

int acedRetReal(ads_real value) {
  resbuf* rb = acutNewRb(RTREAL);
  if (rb) rb->resval.rreal = value;
  return platform::setResult(rb);
}

int acedRetStr(const char* value) {
  resbuf* rb = acutNewRb(RTSTR);
  if (rb) rb->resval.rstring = platform::duplicate(value ? value : "");
  return platform::setResult(rb);
}

int acedRetPoint(const ads_point value) {
  resbuf* rb = acutNewRb(RT3DPOINT);
  if (rb)
    for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = value ? value[i] : 0.0;
  return platform::setResult(rb);
}

int acedRetName(const ads_name value, int type) {
  if (type != RTENAME && type != RTPICKS) return RTERROR;
  resbuf* rb = acutNewRb(type);
  if (rb && value) {
    rb->resval.rlname[0] = value[0];
    rb->resval.rlname[1] = value[1];
  }
  return platform::setResult(rb);
}

int acedRetList(const resbuf* list) {
  if (!list) return acedRetNil();
  return platform::setResult(platform::copyResbufList(list));
}

int acedRetVal(const resbuf* value) {
  if (!value) return acedRetNil();
  resbuf* copy = platform::copyResbufList(value);
  if (copy && copy->rbnext) {
    acutRelRb(copy->rbnext);
    copy->rbnext = nullptr;
  }
  return platform::setResult(copy);
}
