// Words of user input, and modal dialogs answered from the script.
#include "win/userinput.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <utility>

#include "arx/edcmdline.h"
#include "crt/ascii.h"
#include "win/answers.h"
#include "win/terminal.h"
#include "win/commctrl.h"
#include "win/transcript.h"
#include "win/window_internal.h"
#include "win/controls_internal.h"

namespace platform::win {

void failRun(const std::string& message) { endRunWithError(message); }
bool runFailed() { return runHasFailed(); }

namespace {

using Step = std::function<bool(std::string& error)>;

std::string unquoted(std::string_view s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return std::string(s.substr(1, s.size() - 2));
  return std::string(s);
}

bool parseInt(std::string_view s, int& v) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size();
}

std::string className(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? w->cls->name : std::string();
}

// The control `id` of `target`: among its children, then deeper.
HWND findControl(HWND target, int id) {
  Window* w = find(target);
  if (!w) return nullptr;
  for (HWND c : w->children) {
    Window* cw = find(c);
    if (cw && static_cast<int>(cw->id) == id) return c;
  }
  for (HWND c : w->children)
    if (HWND deeper = findControl(c, id)) return deeper;
  return nullptr;
}

std::string controlName(int id) { return "control " + std::to_string(id); }

// The control must be there, seen and usable.
bool usable(HWND target, int id, HWND& ctl, std::string& error) {
  ctl = findControl(target, id);
  if (!ctl) {
    error = "there is no " + controlName(id);
    return false;
  }
  if (!IsWindowVisible(ctl)) {
    error = controlName(id) + " is hidden";
    return false;
  }
  if (!IsWindowEnabled(ctl)) {
    error = controlName(id) + " is disabled";
    return false;
  }
  return true;
}

// A click at a point on the screen, which must lie on `ctl` (the left
// button, or the buttons of `down` and `up`).
bool clickAt(HWND ctl, POINT pt, const std::string& what, std::string& error, UINT down = WM_LBUTTONDOWN,
             UINT up = WM_LBUTTONUP) {
  HWND hit = WindowFromPoint(pt);
  if (!hit || !isSelfOrDescendant(ctl, hit)) {
    error = what + " is covered by another window";
    return false;
  }
  postMouseInput(down, pt);
  postMouseInput(up, pt);
  return true;
}

POINT centreOf(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

Step clickControl(HWND target, int id) {
  return [target, id](std::string& error) {
    HWND ctl;
    if (!usable(target, id, ctl, error)) return false;
    return clickAt(ctl, centreOf(ctl), controlName(id), error);
  };
}

Step replaceFocusText(HWND expected, int id, std::string text) {
  return [expected, id, text](std::string& error) {
    if (GetFocus() != expected) {
      error = controlName(id) + " did not take the focus";
      return false;
    }
    postFocusInput(EM_SETSEL, 0, static_cast<LPARAM>(-1), expected);
    postFocusInput(EM_REPLACESEL, TRUE, text, expected);
    return true;
  };
}

struct KeyName {
  const char* name;
  UINT vk;
};
constexpr KeyName kKeys[] = {
    {"Enter", VK_RETURN},  {"Return", VK_RETURN},  {"Tab", VK_TAB},       {"Esc", VK_ESCAPE},   {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},   {"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Del", VK_DELETE},   {"Insert", VK_INSERT},
    {"Ins", VK_INSERT},    {"Home", VK_HOME},      {"End", VK_END},       {"PageUp", VK_PRIOR}, {"PgUp", VK_PRIOR},
    {"PageDown", VK_NEXT}, {"PgDn", VK_NEXT},      {"Left", VK_LEFT},     {"Right", VK_RIGHT},  {"Up", VK_UP},
    {"Down", VK_DOWN},     {"F1", VK_F1},          {"F2", VK_F2},         {"F3", VK_F3},        {"F4", VK_F4},
    {"F5", VK_F5},         {"F6", VK_F6},          {"F7", VK_F7},         {"F8", VK_F8},        {"F9", VK_F9},
    {"F10", VK_F10},       {"F11", VK_F11},        {"F12", VK_F12},
};

bool keyCode(std::string_view name, UINT& vk) {
  for (const KeyName& k : kKeys)
    if (equalNoCase(name, k.name)) {
      vk = k.vk;
      return true;
    }
  if (name.size() == 1) {
    char c = asciiUpper(name[0]);
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      vk = static_cast<UINT>(c);
      return true;
    }
  }
  return false;
}

bool keySteps(HWND target, std::string_view keys, std::vector<Step>& steps, std::string& error) {
  std::vector<UINT> modifiers;
  UINT key = 0;
  while (true) {
    size_t plus = keys.find('+', 1);
    std::string_view part = keys.substr(0, plus);
    if (plus == std::string_view::npos) {
      if (!keyCode(part, key)) {
        error = "unknown key \"" + std::string(part) + "\"";
        return false;
      }
      break;
    }
    if (equalNoCase(part, "Ctrl") || equalNoCase(part, "Control"))
      modifiers.push_back(VK_CONTROL);
    else if (equalNoCase(part, "Shift"))
      modifiers.push_back(VK_SHIFT);
    else if (equalNoCase(part, "Alt"))
      modifiers.push_back(VK_MENU);
    else {
      error = "unknown modifier \"" + std::string(part) + "\"";
      return false;
    }
    keys.remove_prefix(plus + 1);
  }
  steps.push_back([target, modifiers, key](std::string&) {
    for (UINT m : modifiers) postKeyInput(m, true, target);
    postKeyInput(key, true, target);
    postKeyInput(key, false, target);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) postKeyInput(*it, false, target);
    return true;
  });
  return true;
}

// `<ctl>=<value>` by the kind of the control.
bool valueSteps(HWND target, int id, const std::string& value, std::vector<Step>& steps, std::string& error) {
  HWND ctl;
  if (!usable(target, id, ctl, error)) return false;
  Window* w = find(ctl);
  std::string cls = className(ctl);
  if (equalNoCase(cls, "Edit")) {
    if (w->style & ES_READONLY) {
      error = controlName(id) + " is read-only";
      return false;
    }
    steps.push_back(clickControl(target, id));
    steps.push_back(replaceFocusText(ctl, id, value));
    return true;
  }
  if (equalNoCase(cls, "ComboBox")) {
    int index = static_cast<int>(
        SendMessage(ctl, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str())));
    if (index < 0) {
      error = controlName(id) + " has no item \"" + value + "\"";
      return false;
    }
    DWORD type = w->style & 3;
    if (type != CBS_SIMPLE) {
      steps.push_back([target, id](std::string& e) {
        HWND c;
        if (!usable(target, id, c, e)) return false;
        if (SendMessage(c, CB_GETDROPPEDSTATE, 0, 0)) return true;
        POINT pt;
        comboButtonPoint(c, pt);
        return clickAt(c, pt, controlName(id), e);
      });
    }
    steps.push_back([target, id, index](std::string& e) {
      HWND c;
      if (!usable(target, id, c, e)) return false;
      POINT pt;
      if (!comboItemPoint(c, index, pt)) {
        e = "the list of " + controlName(id) + " did not open";
        return false;
      }
      postMouseInput(WM_LBUTTONDOWN, pt);
      postMouseInput(WM_LBUTTONUP, pt);
      return true;
    });
    return true;
  }
  if (equalNoCase(cls, "Button")) {
    DWORD kind = w->style & BS_TYPEMASK;
    bool checkable = kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                     kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE;
    int wanted = -1;
    if (!checkable || !parseInt(value, wanted) || wanted < 0 || wanted > 2) {
      error = checkable ? controlName(id) + " takes =1 or =0" : controlName(id) + " is a button: it takes no value";
      return false;
    }
    if (static_cast<int>(SendMessage(ctl, BM_GETCHECK, 0, 0)) != wanted) steps.push_back(clickControl(target, id));
    steps.push_back([target, id, wanted](std::string& e) {
      HWND c = findControl(target, id);
      if (c && static_cast<int>(SendMessage(c, BM_GETCHECK, 0, 0)) != wanted) {
        e = controlName(id) + " did not become " + std::to_string(wanted) + " when clicked";
        return false;
      }
      return true;
    });
    return true;
  }
  if (equalNoCase(cls, WC_TREEVIEW)) return treeWordSteps(ctl, id, TreeClick::Left, value, steps, error);
  if (equalNoCase(cls, UPDOWN_CLASS)) {
    int delta = 0;
    if ((value.empty() || (value[0] != '+' && value[0] != '-')) || !parseInt(value, delta) || delta == 0) {
      error = controlName(id) + " takes =+n or =-n";
      return false;
    }
    // One click per step, as a person presses the arrow. Clicks past the end
    // of the range change nothing (or, on a control that wraps, come round to
    // the same value), so a count beyond the range is taken as the clicks that
    // have an effect, with a note; more clicks than kMostSteps are refused.
    int lower = 0, upper = 0;
    SendMessage(ctl, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    const long long asked = delta < 0 ? -static_cast<long long>(delta) : delta;
    const long long difference = static_cast<long long>(upper) - lower;
    const long long span = difference < 0 ? -difference : difference;
    long long count = asked;
    if (w->style & UDS_WRAP) count = asked % (span + 1);
    else count = std::min(asked, span);
    constexpr long long kMostSteps = 10000;
    if (count > kMostSteps) {
      error = controlName(id) + " takes at most " + std::to_string(kMostSteps) + " steps at a time";
      return false;
    }
    if (count != asked)
      transcriptLine(controlName(id) + " steps from " + std::to_string(lower) + " to " + std::to_string(upper) +
                     ": " + value + " is taken as " + (delta < 0 ? "-" : "+") + std::to_string(count));
    for (long long k = 0; k < count; ++k) {
      bool up = delta > 0;
      steps.push_back([target, id, up](std::string& e) {
        HWND c;
        if (!usable(target, id, c, e)) return false;
        int lower = 0, upper = 0;
        SendMessage(c, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
        // The arrow towards the upper end steps by +1 when that end is the larger.
        bool towardsUpper = (upper >= lower) == up;
        Window* uw = find(c);
        RECT r;
        GetWindowRect(c, &r);
        POINT pt;
        if (uw && (uw->style & UDS_HORZ))
          pt = POINT{towardsUpper ? r.left + 3 * (r.right - r.left) / 4 : r.left + (r.right - r.left) / 4,
                     (r.top + r.bottom) / 2};
        else
          pt = POINT{(r.left + r.right) / 2,
                     towardsUpper ? r.top + (r.bottom - r.top) / 4 : r.top + 3 * (r.bottom - r.top) / 4};
        return clickAt(c, pt, controlName(id), e);
      });
    }
    return true;
  }
  error = controlName(id) + " (" + cls + ") takes no value";
  return false;
}

// The screen point of cell (row, col) of `ctl`, scrolled into view.
bool cellPoint(HWND target, int id, int row, int col, POINT& pt, std::string& error) {
  HWND ctl;
  if (!usable(target, id, ctl, error)) return false;
  ScriptCellQuery q{row, col, POINT{0, 0}};
  if (!SendMessage(ctl, WM_SCRIPT_CELL, 0, reinterpret_cast<LPARAM>(&q))) {
    error = controlName(id) + " has no cell " + std::to_string(row) + "," + std::to_string(col);
    return false;
  }
  pt = q.screenPt;
  return true;
}

// `<ctl>[r,c]`, `<ctl>[r,c]=<text>`, `<ctl>[r,c]:right`.
bool cellSteps(HWND target, int id, std::string_view rest, std::vector<Step>& steps, std::string& error) {
  size_t close = rest.find(']');
  size_t comma = rest.find(',');
  int row = 0, col = 0;
  if (close == std::string_view::npos || comma == std::string_view::npos || comma > close ||
      !parseInt(rest.substr(1, comma - 1), row) || !parseInt(rest.substr(comma + 1, close - comma - 1), col) ||
      row < 0 || col < 0) {
    error = "a cell is written <ctl>[row,column]";
    return false;
  }
  std::string_view after = rest.substr(close + 1);
  std::string cellName = "cell " + std::to_string(row) + "," + std::to_string(col) + " of " + controlName(id);
  auto click = [target, id, row, col, cellName](UINT down, UINT up) {
    return [=](std::string& e) {
      POINT pt;
      if (!cellPoint(target, id, row, col, pt, e)) return false;
      return clickAt(findControl(target, id), pt, cellName, e, down, up);
    };
  };
  if (after.empty()) {
    steps.push_back(click(WM_LBUTTONDOWN, WM_LBUTTONUP));
    return true;
  }
  if (after == ":right") {
    steps.push_back(click(WM_RBUTTONDOWN, WM_RBUTTONUP));
    return true;
  }
  if (after.front() != '=') {
    error = "a cell takes =<text> or :right";
    return false;
  }
  std::string text = unquoted(after.substr(1));
  steps.push_back(click(WM_LBUTTONDOWN, WM_LBUTTONUP));
  // A click on the focus cell opens its editor.
  steps.push_back([target, id, click](std::string& e) {
    HWND ctl = findControl(target, id);
    if (ctl && GetFocus() == ctl) return click(WM_LBUTTONDOWN, WM_LBUTTONUP)(e);
    return true;
  });
  steps.push_back([target, id, text, cellName](std::string& e) {
    HWND ctl = findControl(target, id);
    HWND focus = GetFocus();
    if (!ctl || !focus || focus == ctl || !isSelfOrDescendant(ctl, focus)) {
      e = cellName + " opened no editor";
      return false;
    }
    HWND combo = equalNoCase(className(focus), "ComboBox") ? focus
                 : equalNoCase(className(GetParent(focus)), "ComboBox") ? GetParent(focus)
                                                                        : nullptr;
    if (!combo) {
      postFocusInput(EM_SETSEL, 0, static_cast<LPARAM>(-1), focus);
      postFocusInput(EM_REPLACESEL, TRUE, text, focus);
      return true;
    }
    Window* cw = find(combo);
    if (cw && (cw->style & 3) != CBS_DROPDOWNLIST && comboEdit(combo)) {
      postFocusInput(EM_SETSEL, 0, static_cast<LPARAM>(-1), comboEdit(combo));
      postFocusInput(EM_REPLACESEL, TRUE, text, comboEdit(combo));
      return true;
    }
    int index = static_cast<int>(
        SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
    if (index < 0) {
      e = cellName + " offers no item \"" + text + "\"";
      return false;
    }
    POINT pt;
    if (!SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0) && comboButtonPoint(combo, pt))
      return clickAt(combo, pt, cellName, e);
    return true;
  });
  // A list cell: the item is clicked in the opened list.
  steps.push_back([target, id, text, cellName](std::string& e) {
    HWND ctl = findControl(target, id);
    HWND focus = GetFocus();
    if (!ctl || !focus || !isSelfOrDescendant(ctl, focus)) return true;
    HWND combo = equalNoCase(className(focus), "ComboBox") ? focus : nullptr;
    Window* cw = combo ? find(combo) : nullptr;
    if (!cw || (cw->style & 3) != CBS_DROPDOWNLIST) return true;
    int index = static_cast<int>(
        SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
    POINT pt;
    if (index < 0 || !comboItemPoint(combo, index, pt)) {
      e = "the list of " + cellName + " did not open";
      return false;
    }
    // The opened list lies outside the combo box: the click goes to it as it is.
    postMouseInput(WM_LBUTTONDOWN, pt);
    postMouseInput(WM_LBUTTONUP, pt);
    return true;
  });
  // The focus back on the window ends the edit.
  steps.push_back([target, id](std::string& e) {
    HWND ctl = findControl(target, id);
    if (!ctl) {
      e = controlName(id) + " is gone";
      return false;
    }
    SetFocus(ctl);
    return true;
  });
  return true;
}

// The steps of one word.
bool wordSteps(HWND target, const std::string& word, std::vector<Step>& steps, std::string& error) {
  if (word.empty()) {
    error = "an empty word";
    return false;
  }
  if (word.front() == '{') {
    if (word.size() < 3 || word.back() != '}') {
      error = "a key is written {Name}";
      return false;
    }
    return keySteps(target, std::string_view(word).substr(1, word.size() - 2), steps, error);
  }
  if (word == "close") {
    steps.push_back([target](std::string& e) {
      if (!PostMessage(target, WM_CLOSE, 0, 0)) {
        e = "the window is gone";
        return false;
      }
      return true;
    });
    return true;
  }
  if (word.rfind("wait=", 0) == 0) {
    int ms = 0;
    if (!parseInt(std::string_view(word).substr(5), ms) || ms < 0) {
      error = "wait takes milliseconds";
      return false;
    }
    steps.push_back([ms](std::string&) {
      advanceClock(static_cast<DWORD>(ms));
      return true;
    });
    return true;
  }
  if (int button = buttonIdFromName(word)) {
    steps.push_back(clickControl(target, button));
    return true;
  }
  size_t digits = 0;
  while (digits < word.size() && word[digits] >= '0' && word[digits] <= '9') ++digits;
  int id = 0;
  if (digits == 0 || !parseInt(std::string_view(word).substr(0, digits), id)) {
    error = "unknown word";
    return false;
  }
  std::string_view rest = std::string_view(word).substr(digits);
  if (rest.empty()) {
    steps.push_back(clickControl(target, id));
    return true;
  }
  for (auto [prefix, kind] : {std::pair{":dbl=", TreeClick::Double}, std::pair{":right=", TreeClick::Right}}) {
    if (rest.rfind(prefix, 0) != 0) continue;
    HWND ctl;
    if (!usable(target, id, ctl, error)) return false;
    if (!equalNoCase(className(ctl), WC_TREEVIEW)) {
      error = controlName(id) + " is no tree: " + std::string(prefix) + " names a tree's item";
      return false;
    }
    return treeWordSteps(ctl, id, kind, unquoted(rest.substr(std::string_view(prefix).size())), steps, error);
  }
  if (rest.rfind(":=", 0) == 0) {
    HWND ctl;
    if (!usable(target, id, ctl, error)) return false;
    HWND edit = equalNoCase(className(ctl), "ComboBox") ? comboEdit(ctl) : nullptr;
    if (!edit) {
      error = controlName(id) + " has no edit field to type into";
      return false;
    }
    steps.push_back([edit, id](std::string& e) {
      if (!IsWindow(edit)) {
        e = controlName(id) + " is gone";
        return false;
      }
      return clickAt(edit, centreOf(edit), controlName(id), e);
    });
    steps.push_back(replaceFocusText(edit, id, unquoted(rest.substr(2))));
    return true;
  }
  if (rest.front() == '[') return cellSteps(target, id, rest, steps, error);
  if (rest.front() == '=') return valueSteps(target, id, unquoted(rest.substr(1)), steps, error);
  error = "unknown word";
  return false;
}

// Plays words one step at a time.
class WordPlayer {
 public:
  WordPlayer(HWND target, std::vector<std::string> words) : m_target(target), m_words(std::move(words)) {}
  // Runs the next step; false when every word is played or a step failed
  // (`error` then tells why, naming the word).
  bool step(std::string& error) {
    while (m_next >= m_steps.size()) {
      if (m_word >= m_words.size()) return false;
      m_steps.clear();
      m_next = 0;
      m_current = m_words[m_word++];
      std::string why;
      if (!wordSteps(m_target, m_current, m_steps, why)) {
        error = "word \"" + m_current + "\": " + why;
        return false;
      }
    }
    std::string why;
    if (!m_steps[m_next++](why)) {
      error = "word \"" + m_current + "\": " + why;
      return false;
    }
    return true;
  }
  bool finished() const { return m_word >= m_words.size() && m_next >= m_steps.size(); }
  // The word being played (the one a failed step belongs to).
  const std::string& current() const { return m_current; }
  // The words not yet played (the current one when it has steps left).
  std::string left() const {
    std::string s;
    size_t from = m_next < m_steps.size() ? m_word - 1 : m_word;
    for (size_t i = from; i < m_words.size(); ++i) s += (s.empty() ? "" : " ") + m_words[i];
    return s;
  }

 private:
  HWND m_target;
  std::vector<std::string> m_words;
  size_t m_word = 0;
  std::vector<Step> m_steps;
  size_t m_next = 0;
  std::string m_current;
};

std::string captionOf(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? w->text : std::string();
}

// What a person at a terminal sees of a control: its kind.
std::string controlKind(const Window& w) {
  const std::string& cls = w.cls->name;
  if (equalNoCase(cls, "Button")) {
    switch (w.style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE: return "check";
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON: return "radio";
      case BS_GROUPBOX: return "group";
      default: return "button";
    }
  }
  if (equalNoCase(cls, "Edit")) return "edit";
  if (equalNoCase(cls, "Static")) return "label";
  if (equalNoCase(cls, "ComboBox")) return "combo";
  return cls;
}

// ... and its value, as the words set it ("" for a control without one).
std::string controlValue(HWND hwnd, const std::string& kind) {
  if (kind == "check" || kind == "radio")
    return std::to_string(static_cast<int>(SendMessage(hwnd, BM_GETCHECK, 0, 0)));
  if (kind == "edit") return "\"" + captionOf(hwnd) + "\"";
  if (kind == "combo") {
    LRESULT sel = SendMessage(hwnd, CB_GETCURSEL, 0, 0);
    if (sel < 0) return "\"" + captionOf(hwnd) + "\"";
    LRESULT len = SendMessage(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
    if (len < 0 || len > 65536) return "";
    std::string text(static_cast<size_t>(len) + 1, '\0');
    SendMessage(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::strlen(text.c_str()));
    return "\"" + text + "\"";
  }
  return "";
}

// The label a person reads for a control without a caption of its own (an
// edit, a combo box, a tree...): the nearest static text left of it on its
// row, else the nearest one directly above it ("" when there is none).
std::string controlLabel(HWND hwnd) {
  Window* w = find(hwnd);
  Window* parent = w ? find(w->parent) : nullptr;
  if (!parent) return "";
  constexpr int kSlack = 2;  // pixels a label may reach into the control
  const RECT& c = w->rect;
  HWND left = nullptr, above = nullptr;
  LONG leftEdge = 0, aboveEdge = 0;
  for (HWND h : parent->children) {
    Window* s = find(h);
    if (!s || h == hwnd || !IsWindowVisible(h) || s->text.empty() || controlKind(*s) != "label") continue;
    const RECT& r = s->rect;
    const bool sameRow = r.top < c.bottom && r.bottom > c.top;
    const bool sameColumn = r.left < c.right && r.right > c.left;
    if (sameRow && r.right <= c.left + kSlack && (!left || r.right > leftEdge)) {
      left = h;
      leftEdge = r.right;
    } else if (sameColumn && r.bottom <= c.top + kSlack && (!above || r.bottom > aboveEdge)) {
      above = h;
      aboveEdge = r.bottom;
    }
  }
  if (HWND h = left ? left : above) return find(h)->text;
  return "";
}

// A combo box's items, quoted, at most `shown` of them and then how many
// there are in all.
std::string comboItems(HWND hwnd, size_t shown = 12) {
  LRESULT count = SendMessage(hwnd, CB_GETCOUNT, 0, 0);
  if (count <= 0) return "";
  std::string out = " items";
  for (LRESULT i = 0; i < count && static_cast<size_t>(i) < shown; ++i) {
    LRESULT len = SendMessage(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len < 0 || len > 65536) continue;
    std::string text(static_cast<size_t>(len) + 1, '\0');
    SendMessage(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::strlen(text.c_str()));
    out += " \"" + text + "\"";
  }
  if (static_cast<size_t>(count) > shown) out += " ... (" + std::to_string(count) + " in all)";
  return out;
}

// What a person at a terminal reads of one control: "<id> <kind>", its
// caption ("<caption>") or, for a control without one, its label ([label]),
// " = <value>", a combo box's items and " (disabled)". Empty for a control
// that is not listed (no id, a group box or a static text).
std::string controlLine(HWND c) {
  Window* cw = find(c);
  if (!cw) return "";
  int id = static_cast<int>(static_cast<short>(cw->id));
  std::string kind = controlKind(*cw);
  if (id <= 0 || kind == "group" || kind == "label") return "";
  std::string line = "  " + std::to_string(id) + " " + kind;
  if (kind == "button" || kind == "check" || kind == "radio") {
    line += " \"" + cw->text + "\"";
  } else {
    std::string label = controlLabel(c);
    if (!label.empty()) line += " [" + label + "]";
  }
  std::string value = controlValue(c, kind);
  if (!value.empty()) line += " = " + value;
  if (kind == "combo") line += comboItems(c);
  if (!IsWindowEnabled(c)) line += " (disabled)";
  return line;
}

// One line per visible control with an id, children before their own
// children (controlLine).
void listControls(HWND parent, std::vector<std::string>& lines) {
  Window* w = find(parent);
  if (!w) return;
  std::vector<HWND> children = w->children;
  // In the order they were made: the template's (tab) order.
  std::sort(children.begin(), children.end(), [](HWND a, HWND b) {
    Window* wa = find(a);
    Window* wb = find(b);
    return (wa ? wa->serial : 0) < (wb ? wb->serial : 0);
  });
  for (HWND c : children) {
    Window* cw = find(c);
    if (!cw || !IsWindowVisible(c)) continue;
    std::string line = controlLine(c);
    if (!line.empty()) lines.push_back(line);
    if (controlKind(*cw) != "combo") listControls(c, lines);
  }
}

// The control a word acts on: its leading id, or the button it names (0 for
// a word of no control: a key, close, wait=).
int wordControlId(const std::string& word) {
  if (int button = buttonIdFromName(word)) return button;
  size_t digits = 0;
  while (digits < word.size() && word[digits] >= '0' && word[digits] <= '9') ++digits;
  int id = 0;
  if (digits == 0 || !parseInt(std::string_view(word).substr(0, digits), id)) return 0;
  return id;
}

// A modal dialog answered from the script: its @<id> answers, else its default
// button; left open, it is cancelled and the run fails. In the terminal mode a
// dialog with nothing queued lists its controls and takes its words from the
// terminal, until it closes (an empty line presses the default button).
class ModalAnswers {
 public:
  explicit ModalAnswers(HWND dialog) : m_dialog(dialog), m_id(dialogTemplateId(dialog)), m_caption(captionOf(dialog)) {}

  // Makes the dialog's next input happen; false when nothing more will.
  bool idle() {
    if (m_state != Cancelled && runFailed()) return cancel(false, "");
    switch (m_state) {
      case Playing: {
        std::string error;
        if (m_player && m_player->step(error)) return true;
        if (!error.empty() && m_typed) {
          // A person's slip: say so, show the control it was for, and ask
          // again (the rest of the dialog is as it was listed).
          transcriptLine("  " + error);
          m_retry = true;
          if (int id = wordControlId(m_player->current()))
            if (HWND ctl = findControl(m_dialog, id)) {
              std::string line = controlLine(ctl);
              if (!line.empty()) transcriptLine(line);
            }
          m_player.reset();
          m_state = Next;
          return true;
        }
        if (!error.empty()) return cancel(true, error);
        m_player.reset();
        m_state = Next;
        return true;
      }
      case Next: {
        if (std::optional<Answer> a =
                takeAnswerEntry(std::to_string(m_id), "dialog " + std::to_string(m_id) + " [" + m_caption + "]")) {
          m_typed = false;
          m_answered = true;
          m_where = a->where;
          transcriptLine("[" + m_caption + "] " + a->text);
          std::vector<std::string> words;
          std::string error;
          if (!splitWords(a->text, words, error)) return cancel(true, error);
          m_player = std::make_unique<WordPlayer>(m_dialog, std::move(words));
          m_state = Playing;
          return true;
        }
        if (hasTerminal() && !m_terminalEnded) {
          if (askTerminal()) return true;
          // The input has ended: the dialog goes on as with a script's
          // answers used up (its default button once, when only the
          // terminal answered it).
          m_terminalEnded = true;
          if (m_typed) m_answered = m_defaulted = false;
        }
        if (!m_answered) {
          m_answered = true;
          m_defaulted = true;
          UINT id = defaultButtonId(m_dialog);
          transcriptLine("[" + m_caption + "] [" + buttonLabel(id) + " by default]");
          pressButton(id);
          return true;
        }
        return cancel(true, m_defaulted ? "is still open after its default button" : "is still open after its answers");
      }
      case Cancelled: return false;
    }
    return false;
  }

  // Words that the dialog's end left unplayed.
  std::string unplayed() const { return m_player && !m_player->finished() ? m_player->left() : std::string(); }
  const std::string& where() const { return m_where; }

 private:
  enum State { Next, Playing, Cancelled };

  static std::string buttonLabel(UINT id) {
    std::string name = buttonName(static_cast<int>(id));
    return name == "?" ? std::to_string(id) : name;
  }

  // Lists the dialog's controls and plays the words typed for it (an empty
  // line presses the default button). False when the terminal's input ended.
  bool askTerminal() {
    UINT def = defaultButtonId(m_dialog);
    if (!std::exchange(m_retry, false)) {
      std::vector<std::string> lines;
      listControls(m_dialog, lines);
      transcriptLine("[" + m_caption + "] dialog " + std::to_string(m_id) + ", words for it (Enter: " +
                     buttonLabel(def) + "):");
      for (const std::string& line : lines) transcriptLine(line);
    }
    std::string typed;
    if (!readTerminalLine("Words: ", typed)) return false;
    m_answered = true;
    m_typed = true;
    m_where.clear();
    std::vector<std::string> words;
    std::string error;
    if (!splitWords(typed, words, error)) {
      transcriptLine("  " + error);
      m_retry = true;
      return true;
    }
    if (words.empty()) {
      pressButton(def);
      return true;
    }
    m_player = std::make_unique<WordPlayer>(m_dialog, std::move(words));
    m_state = Playing;
    return true;
  }

  // A button pressed as the Enter key or Cancel do it: a click when the button
  // is there to click, else the command itself.
  void pressButton(UINT id) {
    HWND button = GetDlgItem(m_dialog, static_cast<int>(id));
    std::string error;
    if (button && IsWindowVisible(button) && IsWindowEnabled(button) &&
        clickAt(button, centreOf(button), controlName(static_cast<int>(id)), error))
      return;
    PostMessage(m_dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
  }

  // Gives up the dialog's answers (their words left are dropped) and clicks Cancel.
  bool cancel(bool fail, const std::string& why) {
    m_state = Cancelled;
    m_player.reset();
    if (fail) {
      std::string where = m_where.empty() ? std::string() : m_where + ": ";
      failRun(where + "dialog " + std::to_string(m_id) + " \"" + m_caption + "\" " +
              (why.rfind("is ", 0) == 0 ? why : "cannot take its answer: " + why));
    }
    transcriptLine("[" + m_caption + "] [IDCANCEL]");
    pressButton(IDCANCEL);
    return true;
  }

  HWND m_dialog;
  UINT m_id;
  std::string m_caption;
  State m_state = Next;
  bool m_answered = false;
  bool m_defaulted = false;
  bool m_typed = false;          // the words played come from the terminal
  bool m_terminalEnded = false;  // the terminal's input has ended
  bool m_retry = false;          // asked again after a slip: the list is not repeated
  std::string m_where;
  std::unique_ptr<WordPlayer> m_player;
};

}  // namespace
}  // namespace platform::win

using namespace platform::win;

namespace platform {

bool splitWords(std::string_view line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n')) ++i;
    if (i >= line.size()) break;
    std::string word;
    bool quoted = false;
    for (; i < line.size(); ++i) {
      char c = line[i];
      if (c == '"')
        quoted = !quoted;
      else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n'))
        break;
      word += c;
    }
    if (quoted) {
      error = "a quote is not closed in \"" + word + "\"";
      return false;
    }
    words.push_back(std::move(word));
  }
  return true;
}

bool playWords(HWND target, const std::vector<std::string>& words, std::string& error) {
  auto ended = [target] {
    Window* w = find(target);
    return !w || (w->dialog && w->dialog->ended && w->dialog->modalDepth > 0);
  };
  WordPlayer player(target, words);
  pumpMessages();
  while (!ended()) {
    if (!player.step(error)) return error.empty();
    pumpMessages();
  }
  if (!player.finished()) {
    error = "the window closed before the words \"" + player.left() + "\"";
    return false;
  }
  return true;
}

bool runWindowLine(std::string_view line, std::string& error) {
  std::vector<std::string> words;
  if (!splitWords(line, words, error)) return false;
  if (words.empty()) {
    error = "'>' names a window: a dialog template id";
    return false;
  }
  int id = 0;
  auto [end, ec] = std::from_chars(words[0].data(), words[0].data() + words[0].size(), id);
  if (ec != std::errc() || end != words[0].data() + words[0].size() || id <= 0) {
    error = "'>' names a window by its dialog template id, not \"" + words[0] + "\"";
    return false;
  }
  std::vector<HWND> open;
  for (HWND h : templateWindows(static_cast<UINT>(id)))
    if (IsWindowVisible(h)) open.push_back(h);
  size_t first = 1;
  std::string which = "window " + std::to_string(id);
  if (words.size() > 1 && words[1].size() >= 2 && words[1].front() == '"' && words[1].back() == '"') {
    std::string caption = words[1].substr(1, words[1].size() - 2);
    std::vector<HWND> named;
    for (HWND h : open)
      if (captionOf(h) == caption) named.push_back(h);
    open = named;
    which += " \"" + caption + "\"";
    first = 2;
  } else if (words.size() > 1 && words[1].size() >= 2 && words[1].front() == '#') {
    int n = 0;
    const char* last = words[1].data() + words[1].size();
    auto [stop, failed] = std::from_chars(words[1].data() + 1, last, n);
    if (failed != std::errc() || stop != last || n <= 0) {
      error = "#n counts the open windows from 1";
      return false;
    }
    which += " #" + std::to_string(n);
    open = static_cast<size_t>(n) <= open.size() ? std::vector<HWND>{open[static_cast<size_t>(n) - 1]}
                                                 : std::vector<HWND>{};
    first = 2;
  }
  if (open.empty()) {
    error = "no " + which + " is open";
    return false;
  }
  if (open.size() > 1) {
    error = std::to_string(open.size()) + " windows " + std::to_string(id) + " are open: name one by \"caption\" or #n";
    return false;
  }
  HWND target = open.front();
  // A user acts on a window after bringing it to the front.
  SetActiveWindow(target);
  return playWords(target, std::vector<std::string>(words.begin() + static_cast<std::ptrdiff_t>(first), words.end()),
                   error);
}

INT_PTR runModalDialog(HWND dialog) {
  Window* w = find(dialog);
  if (!w || !w->dialog) return -1;
  ++w->dialog->modalDepth;
  w->dialog->ended = false;
  ShowWindow(dialog, SW_SHOWNORMAL);
  ModalAnswers answers(dialog);
  auto done = [dialog] {
    Window* x = find(dialog);
    return !x || !x->dialog || x->dialog->ended;
  };
  bool ended = runModalLoop(done, [&] { return answers.idle(); });
  if (!ended && IsWindow(dialog)) {
    transcriptLine("[" + captionOf(dialog) + "] [closed: Cancel did not close it]");
    EndDialog(dialog, IDCANCEL);
  }
  std::string left = answers.unplayed();
  if (!left.empty())
    failRun((answers.where().empty() ? std::string() : answers.where() + ": ") + "dialog " +
            std::to_string(dialogTemplateId(dialog)) + " closed before the words \"" + left + "\"");
  w = find(dialog);
  if (!w || !w->dialog) return -1;
  --w->dialog->modalDepth;
  return w->dialog->ended ? w->dialog->result : -1;
}

}  // namespace platform
