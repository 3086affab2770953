#pragma once
// The resources of the ground-line input module, registered under the
// module's instance by its start-up: the input dialog's template and the
// point grids' row menu, with the ids of their controls and commands.

namespace pellory_rc {

// 6 地面线录入 (the dialog inside the palette of HDMDMX)
constexpr unsigned kInputDlg = 6;
constexpr int kFrame = 65, kChooseDatabase = 67, kWriteDatabase = 53, kImportText = 66, kStationList = 26,
              kStationSpin = 27, kSaveRecord = 51, kDeleteRecord = 58, kPick = 59, kDraw = 62, kLineName = 30,
              kBaseLine = 33, kLeftDetour = 34, kRightDetour = 35, kLayer = 38, kRockType = 31, kQuery = 39,
              kChainage = 44, kElevationEdit = 45, kScale = 46, kFromCentreRadio = 28, kFromPreviousRadio = 29,
              kHeightDifferenceRadio = 22, kElevationRadio = 24, kLeftGroup = 63, kLeftGrid = 43, kRightGroup = 40,
              kRightGrid = 42;

// 19: the point grids' right-click menu; its first submenu is shown.
constexpr unsigned kRowMenu = 19;

}  // namespace pellory_rc

// Registers the resources under the running module (the platform's own when
// none runs, as in the tests).
void RegisterPelloryResources();
