#pragma once
// The dialog templates of the cross-section module, registered under the
// module's instance by its start-up, and the ids of their controls.

namespace corvane_rc {

// 2005 横断面自动设计 (HDMDES)
constexpr unsigned kAutoDesignDlg = 2005;
constexpr int kAdBrowse = 2002, kAdSchemePath = 219, kAdDraw = 210, kAdPick = 2132, kAdOriginX = 214,
              kAdOriginY = 215, kAdScale = 216, kAd3D = 2181, kAdReservedGroup = 278, kAdSingle = 275,
              kAdDouble = 276;

// 206 提取横断面地面线 (CALHDMDMX)
constexpr unsigned kExtractGroundDlg = 206;
constexpr int kEgStart = 225, kEgEnd = 224, kEgBrowse = 2221, kEgOutput = 223;

// 205 计算填挖表 (CALTWB)
constexpr unsigned kFillCutDlg = 205;
constexpr int kFcMeasured = 2051, kFcExisting = 2052, kFcGenerated = 2053, kFcInterval = 2054,
              kFcInterpolate = 2055, kFcStart = 2056, kFcEnd = 2057;

// 2484 土石方数量计算表参数 (CALTSF)
constexpr unsigned kEarthworkDlg = 2484;
constexpr int kEwWhole = 2485, kEwRange = 2486, kEwStart = 2487, kEwEnd = 2488, kEwBaseline = 2489,
              kEwLeft = 2490, kEwRight = 2491;

// 2463 绘线路 (DRAWHDM, PRINTHDM)
constexpr unsigned kDrawLinesDlg = 2463;
constexpr int kDlAll = 2464, kDlOriginX = 2465, kDlOriginY = 2466, kDlScale = 2467, kDlPick = 2468,
              kDlBaseline = 2469, kDlBaseStart = 2470, kDlBaseEnd = 2471, kDlLeft = 2472, kDlLeftIndex = 2473,
              kDlLeftStart = 2474, kDlLeftEnd = 2475, kDlRight = 2476, kDlRightIndex = 2477, kDlRightStart = 2478,
              kDlRightEnd = 2479;

// 2532 修改边坡及路面宽 (EDITBP)
constexpr unsigned kSlopeWidthDlg = 2532;
constexpr int kSwCurrentSection = 282, kSwWorkPoint = 283, kSwWholeLine = 284, kSwOk = 259, kSwCancel = 260,
              kSwDelete = 2612, kSwAdd = 2622, kSwGrid = 286, kSwWidth = 288;

// 2222 横断面追踪显示 (the section browser of FINDDM and the drawing runs)
constexpr unsigned kSectionBrowserDlg = 2222;
constexpr int kSbOneLine = 2223, kSbAllLines = 2224, kSbLine = 2225, kSbStart = 2226, kSbEnd = 2227,
              kSbSection = 2228, kSbRemark = 2229, kSbFirst = 2230, kSbPrevious = 2231, kSbNext = 2232,
              kSbLast = 2233, kSbApply = 2234;

}  // namespace corvane_rc

// Registers the templates under the running module (the platform's own when
// none runs, as in the tests).
void RegisterCorvaneResources();
