// The drawing-preview control: a window that keeps its properties by
// dispatch id; property 3 is the path of the drawing it shows.
#include "arx/activex.h"

#include <map>
#include <memory>

#include "arx/preview.h"
#include "win/paint.h"
#include "win/sysparams.h"
#include "win/winpaint.h"
#include "win/window_internal.h"

namespace {

struct PropertyBag : platform::win::ControlData {
  std::map<LONG, VARIANT> values;
  ~PropertyBag() override {
    for (auto& [id, v] : values) VariantClear(&v);
  }
};

PropertyBag* bagOf(HWND hwnd) {
  platform::win::Window* w = platform::win::find(hwnd);
  if (!w) return nullptr;
  if (!w->control) w->control = std::make_unique<PropertyBag>();
  return dynamic_cast<PropertyBag*>(w->control.get());
}

LRESULT previewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case AXM_SETPROPERTY: {
      PropertyBag* bag = bagOf(hwnd);
      const VARIANT* v = reinterpret_cast<const VARIANT*>(lParam);
      if (!bag || !v) return FALSE;
      LONG id = static_cast<LONG>(wParam);
      VARIANT copy;
      VariantInit(&copy);
      // The path is a text, whatever it was given as.
      HRESULT hr = id == DWGTHUMBNAIL_DISPID_PATH ? VariantChangeType(&copy, v, 0, VT_BSTR) : VariantCopy(&copy, v);
      if (hr != S_OK) return FALSE;
      auto [it, fresh] = bag->values.try_emplace(id);
      if (!fresh) VariantClear(&it->second);
      it->second = copy;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case AXM_GETPROPERTY: {
      PropertyBag* bag = bagOf(hwnd);
      VARIANT* out = reinterpret_cast<VARIANT*>(lParam);
      if (!bag || !out) return FALSE;
      auto it = bag->values.find(static_cast<LONG>(wParam));
      if (it == bag->values.end()) return FALSE;
      VariantCopy(out, &it->second);
      return TRUE;
    }
    case WM_PAINT: {
      // A white field with the drawing fitted into it; a missing or
      // unreadable file leaves the field empty.
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (!dc) return 0;
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
      std::string path = platform::drawingPreviewPath(hwnd);
      if (!path.empty()) platform::drawDrawingPreview(dc, client, path);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// Installed with the platform: the class stays through every reset.
struct Installation {
  Installation() {
    platform::win::WindowClass c;
    c.name = DWGTHUMBNAIL_CLASSID;
    c.proc = &previewProc;
    c.style = CS_DBLCLKS;
    c.system = true;
    platform::win::registerClassOf(c);
  }
};
const Installation g_installation;

}  // namespace

namespace platform {

const GUID& drawingPreviewClassId() {
  static const GUID id{0x4D318A33, 0x5A8E, 0x11D0, {0x87, 0x3F, 0x00, 0x00, 0xC0, 0x6B, 0x6F, 0x77}};
  return id;
}

std::string drawingPreviewPath(HWND preview) {
  VARIANT v;
  VariantInit(&v);
  std::string path;
  if (SendMessage(preview, AXM_GETPROPERTY, DWGTHUMBNAIL_DISPID_PATH, reinterpret_cast<LPARAM>(&v)) &&
      v.vt == VT_BSTR && v.bstrVal)
    path = v.bstrVal;
  VariantClear(&v);
  return path;
}

}  // namespace platform
