#pragma once
// The plan module's commands, in group "VENK":
//
//   DEZERORUR   the settings dialog; after its OK the structures ticked in it
//   PZOOM       zooms to the window of the row the table editor followed last
//   IN*         18 commands, each of which erases one structure layer, reads
//               its table of the scheme database again and draws its rows
//               through the plan model (INDX is also typed as IDX)
//
// The structure commands refuse with "请先初始化!" until the settings dialog
// has made the plan model and named the database. The three crossing-culvert
// routines draw only the culverts whose 插旗方式 is 1 or 2 (0.5 ≤ c ≤ 2.5);
// they are no commands of their own: DEZERORUR runs them when only 立交涵 is
// ticked.

// Registers the twenty commands in the command stack, in the order of kPlanCommands.
void RegisterPlanCommands();
// What the module does at unload: closes the dock bar, removes the group,
// frees the table editors and the plan model.
void UnloadApplication();

// The group name and the commands as they are registered: global name,
// local name and handler, in the order of registration.
inline constexpr const char* kPlanCommandGroup = "VENK";
struct PlanCommandEntry {
  const char* globalName;
  const char* localName;
  void (*handler)();
};
extern const PlanCommandEntry kPlanCommands[20];

void CmdDrawPlan();  // DEZERORUR
void CmdPlanZoom();  // PZOOM

void CmdInsertBridges();                // INBMBR   大中桥
void CmdInsertLeftDetourBridges();      // INLXBMBR 左线绕行段大中桥
void CmdInsertRightDetourBridges();     // INRXBMBR 右线绕行段大中桥
void CmdInsertTunnels();                // INTUN    隧道 (also prints each row)
void CmdInsertLeftDetourTunnels();      // INLXTUN
void CmdInsertRightDetourTunnels();     // INRXTUN
void CmdInsertStations();               // INSTA    车站
void CmdInsertLeftDetourStations();     // INLXSTA
void CmdInsertRightDetourStations();    // INRXSTA
void CmdInsertCulverts();               // INSBR    小桥涵
void CmdInsertLeftDetourCulverts();     // INLXSBR
void CmdInsertRightDetourCulverts();    // INRXSBR
void CmdInsertBenchMarks();             // INBM     水准点表
void CmdInsertLeftDetourBenchMarks();   // INLXBM
void CmdInsertRightDetourBenchMarks();  // INRXBM
void CmdInsertTraverse();               // INDX (IDX) 导线表
void CmdInsertLeftDetourTraverse();     // INLXDX
void CmdInsertRightDetourTraverse();    // INRXDX

void DrawCrossingCulverts();             // 小桥涵, 插旗方式 1 and 2 only
void DrawLeftDetourCrossingCulverts();   // 左线绕行段小桥涵
void DrawRightDetourCrossingCulverts();  // 右线绕行段小桥涵
