// Coded columns and code lists of the table editors (TableCodes.h).
#include "controls/TableCodes.h"

#include <array>

#include "win/winuser.h"

namespace {

constexpr std::array<const char*, 2> kTunnelFlags = {"0-明洞", "1-一般隧道"};
constexpr std::array<const char*, 8> kCulvertFlags = {"0-普通",       "1-上立交",     "2-下立交",
                                                      "3-无看守平交", "4-左看守平交", "5-右看守平交",
                                                      "6-双看守平交", "7-自动化平交"};
constexpr std::array<const char*, 3> kCulvertUses = {"0-交通", "1-灌溉", "2-排洪"};
constexpr std::array<const char*, 2> kFillKinds = {"0-土", "1-石"};

// The shown text of code `value` in `codes` (whose entry i is code i), or
// nothing when `value` is not one of the codes.
template <size_t N>
bool ShownOfCode(const std::array<const char*, N>& codes, const CString& value, CString& shown) {
  for (size_t i = 0; i < N; ++i) {
    CString code;
    code.Format("%d", static_cast<int>(i));
    if (value == code) {
      shown = codes[i];
      return true;
    }
  }
  return false;
}

// The code of shown text `cell`, or nothing when it is none of `codes`.
template <size_t N>
bool CodeOfShown(const std::array<const char*, N>& codes, const CString& cell, CString& code) {
  for (size_t i = 0; i < N; ++i) {
    if (cell == codes[i]) {
      code.Format("%d", static_cast<int>(i));
      return true;
    }
  }
  return false;
}

template <size_t N>
void Fill(CStringArray& items, const std::array<const char*, N>& texts) {
  for (const char* t : texts) items.Add(t);
}

}  // namespace

EditorBuild ThisEditorBuild() {
#if defined(BREVELL_BUILD)
  return EditorBuild::Plan;
#else
  return EditorBuild::Navigator;
#endif
}

bool IsTunnelTable(const CString& table) { return table.Find("隧道") >= 0; }
bool IsCulvertTable(const CString& table) { return table.Find("小桥涵") >= 0; }
bool IsStationTable(const CString& table) {
  return table == "车站" || table == "左线绕行段车站" || table == "右线绕行段车站";
}

bool CodedFieldText(EditorBuild build, const CString& table, const CString& field, const CString& value,
                    CString& shown) {
  if (IsTunnelTable(table)) {
    if (field != "插旗方式") return false;
    if (!ShownOfCode(kTunnelFlags, value, shown)) shown = value;
    return true;
  }
  if (IsCulvertTable(table)) {
    if (field == "插旗方式") {
      if (!ShownOfCode(kCulvertFlags, value, shown)) shown.Empty();
      return true;
    }
    if (field == "用途" && build == EditorBuild::Navigator) {
      if (!ShownOfCode(kCulvertUses, value, shown)) shown.Empty();
      return true;
    }
  }
  return false;
}

CString StoredCellText(EditorBuild build, const CString& table, const CString& cell) {
  CString code;
  if (IsTunnelTable(table) && CodeOfShown(kTunnelFlags, cell, code)) return code;
  if (IsCulvertTable(table)) {
    if (CodeOfShown(kCulvertFlags, cell, code)) return code;
    if (build == EditorBuild::Navigator && CodeOfShown(kCulvertUses, cell, code)) return code;
  }
  return cell;
}

int HiddenStationColumn(EditorBuild build, const CString& table) {
  if (!IsStationTable(table)) return -1;
  const int detour = table == "车站" ? 0 : 1;
  return (build == EditorBuild::Plan ? 4 : 8) + detour;
}

const CStringArray& FlagBlockNames() {
  static CStringArray names;
  if (names.GetSize() == 0) {
    for (const char* s : {"乘降所01", "乘降所02", "辅助所01", "辅助所02", "区段站01", "区段站02", "区段站03",
                          "区段站04", "线路所01", "线路所02"})
      names.Add(s);
    for (int i = 1; i <= 17; ++i) {
      CString s;
      s.Format("中间站%02d", i);
      names.Add(s);
    }
  }
  return names;
}

bool CodeListForHeader(EditorBuild build, const CString& header, const CString& leftHeader, CStringArray& items,
                       DWORD& style) {
  const bool plan = build == EditorBuild::Plan;
  items.RemoveAll();
  // The navigator's lists take typed text too; the plan's are lists to choose from.
  style = plan ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
  if (header == "车站类型") {
    if (plan) {
      items.Add("1");
      items.Add("0");
    } else {
      items.Add("0");
      items.Add("1");
    }
    return true;
  }
  if (header == "插旗图块名") {
    items.Append(FlagBlockNames());
    if (plan) style = CBS_SIMPLE;
    return true;
  }
  if (header == "填料类型") {
    Fill(items, kFillKinds);
    return true;
  }
  if (header == "用途" && !plan) {
    Fill(items, kCulvertUses);
    return true;
  }
  if (header == "插旗方式" && leftHeader == "用途") {
    Fill(items, kCulvertFlags);
    if (plan) style = CBS_SORT | CBS_DROPDOWNLIST;
    return true;
  }
  if (header == "插旗方式" && leftHeader == "终点里程数") {
    if (plan) {
      items.Add(kTunnelFlags[1]);
      items.Add(kTunnelFlags[0]);
      style = CBS_SORT | CBS_DROPDOWNLIST;
    } else {
      Fill(items, kTunnelFlags);
    }
    return true;
  }
  return false;
}
