#pragma once
// The roadbed quantity sheet ("路基数量表") that the earthwork command fills:
// a workbook made from the template lib\路基数量表.xlt of the install folder,
// held in globals for the length of one run and handed to the user (saved as
// <project>\data\路基数量表.<scheme>.xlsx) at its end.

#include "DesignerRows.h"
#include "EarthworkRows.h"
#include "mfc/cstring.h"
#include "sheet/automation.h"

// The row the next sheet row goes to; the command sets it to 3 (below the
// template's two header rows) before the first row.
extern int g_ExcelRow;

// The spreadsheet objects of the run.
extern sheet::Application g_ExcelApp;
extern sheet::Workbooks g_ExcelBooks;
extern sheet::Workbook g_ExcelBook;
extern sheet::Worksheets g_ExcelSheets;
extern sheet::Worksheet g_ExcelSheet;
extern sheet::Range g_ExcelRange;

// "<install>\lib\路基数量表.xlt".
CString QuantitySheetTemplatePath();
// "<project>\data\路基数量表.<scheme>.xlsx".
CString QuantitySheetPath();

// Starts the application, makes a workbook from the template and selects
// the sheet "路基数量表"; nothing when the sheet is already open. 1 when the
// sheet is open; 0 after a message on the command line when the template is
// missing or holds no such sheet (the rows are then not written; the files
// of the run are not affected).
int OpenQuantitySheet();
// True while a sheet is open.
bool QuantitySheetIsOpen();

// Writes a kilometre row (or the "合计" row) at g_ExcelRow: the start and end
// labels, then the sums in columns 3 to 17: surface layer, improved soil,
// fill (whole m³), rock classes 1 to 6 (whole m³), ditch earthwork |cut| +
// fill (whole m³), ditch lining, turf, retaining wall, shoulder layer,
// topsoil.
void FillExcelQuantityRow(const char* startLabel, const char* endLabel, const EarthworkSums& sums);
// Writes a structure row at g_ExcelRow: its start and end chainage texts and
// its name, the name's cell merged from column C to column Q.
void WriteStructureRow(const StructureRow& structure);

// Ends the run: with 1 the workbook is saved for the user at
// QuantitySheetPath() (a message when that fails), with 0 it is closed
// unsaved; every spreadsheet object is released. 1, or 0 when a save failed.
int SetExcelInteractive(int interactive);
