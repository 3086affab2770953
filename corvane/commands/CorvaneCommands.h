#pragma once
// The handlers of the nine commands of group "Pyxen". Each sets up the
// designer its command works on, asks the command's dialog and calls the
// command's body with what the dialog filled:
//
//   HDMDES, DRAWHDM, PRINTHDM, SAVEFILE   the module's baseline designer
//                                          (g_BaselineDesigner), so that
//                                          what HDMDES designed is drawn and
//                                          saved;
//   CALTSF, CALTWB, CALHDMDMX             a designer made for the one run;
//   FINDDM                                 the section browser;
//   EDITBP                                 the drawn design lines (SlopeEdit.h).

void OnCmdHDMDES();
void OnCmdCALTSF();
void OnCmdCALTWB();
void OnCmdCALHDMDMX();
void OnCmdFINDDM();
void OnCmdDRAWHDM();
void OnCmdSAVEFILE();
void OnCmdPRINTHDM();
