// The dialog templates of the cross-section module.

#include "resources/CorvaneResources.h"

#include <algorithm>
#include <array>
#include <span>

#include "grid/GridCtrl.h"
#include "win/resources.h"

using namespace corvane_rc;
using namespace platform::rc;

namespace {

constexpr DWORD kModal = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// The controls of the parts, one after the other.
template <size_t... N>
constexpr auto Join(const std::array<platform::DialogControlResource, N>&... parts) {
  std::array<platform::DialogControlResource, (N + ...)> all{};
  auto next = all.begin();
  ((next = std::copy(parts.begin(), parts.end(), next)), ...);
  return all;
}

// The OK and Cancel buttons of a dialog, side by side from (x, y).
constexpr std::array<platform::DialogControlResource, 2> OkCancel(short x, short y) {
  return {DefPushButton("OK", IDOK, x, y, 50, 14),
          PushButton("Cancel", IDCANCEL, static_cast<short>(x + 60), y, 50, 14)};
}

// The start and end chainage of a range: two labelled edits, one below the
// other, the labels at (x, y), the edits at `editX` and `editWidth` wide;
// `startStyle` is added to the start's edit. The labels are static texts,
// which always carry WS_GROUP, so a radio group placed before the range ends
// at the start's label.
constexpr std::array<platform::DialogControlResource, 4> ChainageRange(int startId, int endId, short x, short y,
                                                                       short editX, short editWidth,
                                                                       DWORD startStyle = 0) {
  return {LText("起始里程:", -1, x, y, 40, 8),
          EditText(startId, editX, static_cast<short>(y - 2), editWidth, 14, ES_AUTOHSCROLL | startStyle),
          LText("终止里程:", -1, x, static_cast<short>(y + 18), 40, 8),
          EditText(endId, editX, static_cast<short>(y + 16), editWidth, 14, ES_AUTOHSCROLL)};
}

constexpr auto kAutoDesign = Join(std::to_array<platform::DialogControlResource>({
    GroupBox("线路方案", -1, 7, 4, 153, 36),
    EditText(kAdSchemePath, 14, 18, 96, 14, ES_AUTOHSCROLL),
    PushButton("浏览...", kAdBrowse, 114, 18, 40, 14),
    GroupBox("绘图参数", -1, 7, 44, 153, 78),
    AutoCheckBox("绘图", kAdDraw, 14, 56, 40, 10),
    GroupBox("绘图原点", -1, 14, 68, 139, 34),
    LText("X:", -1, 20, 82, 10, 8),
    EditText(kAdOriginX, 32, 80, 40, 14, ES_AUTOHSCROLL),
    LText("Y:", -1, 76, 82, 10, 8),
    EditText(kAdOriginY, 88, 80, 40, 14, ES_AUTOHSCROLL),
    PushButton("拾取 >", kAdPick, 100, 54, 50, 14),
    LText("比例：", -1, 14, 108, 24, 8),
    LText("1 :", -1, 40, 108, 12, 8),
    EditText(kAdScale, 54, 106, 40, 14, ES_AUTOHSCROLL),
    AutoCheckBox("生成线路三维数据", kAd3D, 7, 128, 100, 10),
    GroupBox("预留二线", kAdReservedGroup, 7, 142, 153, 26),
    AutoRadioButton("按单线设计", kAdSingle, 14, 154, 60, 10, WS_GROUP),
    AutoRadioButton("按双线设计", kAdDouble, 84, 154, 60, 10)}),
    OkCancel(30, 174));

constexpr auto kExtractGround = Join(ChainageRange(kEgStart, kEgEnd, 7, 9, 50, 94),
                                    std::to_array<platform::DialogControlResource>({
                                        GroupBox("输出文件名", -1, 7, 43, 137, 30),
                                        EditText(kEgOutput, 12, 54, 84, 14, ES_AUTOHSCROLL),
                                        PushButton("浏览...", kEgBrowse, 100, 54, 40, 14),
                                    }),
                                    OkCancel(20, 80));

constexpr auto kFillCut = Join(std::to_array<platform::DialogControlResource>({
                                   GroupBox("桩号来源", -1, 7, 4, 176, 50),
                                   AutoRadioButton("实测桩号", kFcMeasured, 14, 16, 60, 10, WS_GROUP),
                                   AutoRadioButton("填挖表已有桩号", kFcExisting, 14, 28, 80, 10),
                                   AutoRadioButton("按间距生成桩号", kFcGenerated, 14, 40, 80, 10),
                                   LText("间距(m):", -1, 100, 41, 34, 8, WS_GROUP),
                                   EditText(kFcInterval, 136, 39, 40, 14, ES_AUTOHSCROLL | WS_GROUP),
                                   AutoCheckBox("内插横断面地面线", kFcInterpolate, 7, 60, 100, 10),
                               }),
                               ChainageRange(kFcStart, kFcEnd, 7, 76, 50, 133), OkCancel(40, 112));

constexpr auto kEarthwork = Join(std::to_array<platform::DialogControlResource>({
                                     GroupBox("计算范围", -1, 7, 4, 176, 66),
                                     AutoRadioButton("全线", kEwWhole, 14, 16, 40, 10, WS_GROUP),
                                     AutoRadioButton("指定范围", kEwRange, 60, 16, 50, 10),
                                 }),
                                 ChainageRange(kEwStart, kEwEnd, 14, 32, 56, 120, WS_GROUP),
                                 std::to_array<platform::DialogControlResource>({
                                     GroupBox("线路", -1, 7, 74, 176, 24),
                                     AutoCheckBox("基线", kEwBaseline, 14, 84, 40, 10),
                                     AutoCheckBox("左线", kEwLeft, 64, 84, 40, 10),
                                     AutoCheckBox("右线", kEwRight, 114, 84, 40, 10),
                                 }),
                                 OkCancel(40, 104));

constexpr auto kDrawLines = Join(std::to_array<platform::DialogControlResource>({
    AutoCheckBox("全部绘制", kDlAll, 7, 7, 60, 10),
    LText("X:", -1, 7, 24, 10, 8),
    EditText(kDlOriginX, 18, 22, 50, 14, ES_AUTOHSCROLL),
    LText("Y:", -1, 72, 24, 10, 8),
    EditText(kDlOriginY, 84, 22, 50, 14, ES_AUTOHSCROLL),
    PushButton("拾取 >", kDlPick, 140, 22, 46, 14),
    LText("比例 1 :", -1, 7, 42, 30, 8),
    EditText(kDlScale, 40, 40, 50, 14, ES_AUTOHSCROLL),
    AutoCheckBox("基线", kDlBaseline, 7, 62, 40, 10),
    EditText(kDlBaseStart, 70, 60, 58, 14, ES_AUTOHSCROLL),
    EditText(kDlBaseEnd, 132, 60, 58, 14, ES_AUTOHSCROLL),
    AutoCheckBox("左线", kDlLeft, 7, 80, 30, 10),
    EditText(kDlLeftIndex, 40, 78, 26, 14, ES_AUTOHSCROLL),
    EditText(kDlLeftStart, 70, 78, 58, 14, ES_AUTOHSCROLL),
    EditText(kDlLeftEnd, 132, 78, 58, 14, ES_AUTOHSCROLL),
    AutoCheckBox("右线", kDlRight, 7, 98, 30, 10),
    EditText(kDlRightIndex, 40, 96, 26, 14, ES_AUTOHSCROLL),
    EditText(kDlRightStart, 70, 96, 58, 14, ES_AUTOHSCROLL),
    EditText(kDlRightEnd, 132, 96, 58, 14, ES_AUTOHSCROLL)}),
    OkCancel(45, 118));

// The grades are shown in the shared grid (286).
const platform::DialogControlResource kSlopeWidth[] = {
    GroupBox("边坡参数", -1, 7, 4, 300, 120),
    Control("", kSwGrid, GRIDCTRL_CLASSNAME, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 14, 16, 286, 100),
    GroupBox("适用范围", -1, 7, 128, 180, 26),
    AutoRadioButton("当前断面", kSwCurrentSection, 14, 140, 50, 10, WS_GROUP),
    AutoRadioButton("当前工点", kSwWorkPoint, 70, 140, 50, 10),
    AutoRadioButton("全线", kSwWholeLine, 126, 140, 40, 10),
    LText("路面宽", -1, 194, 140, 30, 8, WS_GROUP),
    EditText(kSwWidth, 226, 138, 60, 14, ES_AUTOHSCROLL | WS_GROUP),
    PushButton("删除", kSwDelete, 7, 160, 50, 14),
    PushButton("添加", kSwAdd, 62, 160, 50, 14),
    DefPushButton("OK", kSwOk, 196, 160, 50, 14),
    PushButton("CANCEL", kSwCancel, 252, 160, 50, 14),
};

const platform::DialogControlResource kSectionBrowser[] = {
    AutoRadioButton("单线范围", kSbOneLine, 7, 7, 50, 10, WS_GROUP),
    AutoRadioButton("全部线路", kSbAllLines, 60, 7, 50, 10),
    ComboBox(kSbLine, 7, 22, 120, 80, CBS_DROPDOWNLIST | WS_VSCROLL | WS_GROUP),
    EditText(kSbStart, 7, 40, 70, 14, ES_AUTOHSCROLL),
    EditText(kSbEnd, 82, 40, 70, 14, ES_AUTOHSCROLL),
    PushButton("应用", kSbApply, 156, 40, 36, 14),
    LText("", kSbSection, 7, 60, 185, 8),
    LText("", kSbRemark, 7, 72, 185, 8),
    PushButton("首断面", kSbFirst, 7, 86, 44, 14),
    PushButton("上一个", kSbPrevious, 54, 86, 44, 14),
    PushButton("下一个", kSbNext, 101, 86, 44, 14),
    PushButton("末断面", kSbLast, 148, 86, 44, 14),
    PushButton("关闭", IDCANCEL, 148, 106, 44, 14),
};

const platform::DialogResource kDialogs[] = {
    {kAutoDesignDlg, "横断面自动设计", kModal, 0, "宋体", 9, 0, 0, 167, 193, kAutoDesign},
    {kExtractGroundDlg, "提取横断面地面线", kModal, 0, "宋体", 9, 0, 0, 151, 101, kExtractGround},
    {kFillCutDlg, "计算填挖表", kModal, 0, "宋体", 9, 0, 0, 190, 132, kFillCut},
    {kEarthworkDlg, "土石方数量计算表参数", kModal, 0, "宋体", 9, 0, 0, 190, 124, kEarthwork},
    {kDrawLinesDlg, "绘线路", kModal, 0, "宋体", 9, 0, 0, 197, 138, kDrawLines},
    {kSlopeWidthDlg, "修改边坡及路面宽", kModal, 0, "宋体", 9, 0, 0, 314, 180, kSlopeWidth},
    {kSectionBrowserDlg, "横断面追踪显示", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, "宋体", 9, 0, 0, 199, 126,
     kSectionBrowser},
};

}  // namespace

void RegisterCorvaneResources() { platform::registerResources({.dialogs = kDialogs}); }
