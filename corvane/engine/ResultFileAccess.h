#pragma once
// Opening, closing and writing the result files of the project's data folder
// ("<project>\data\<Name>.<scheme>"); internal to the cross-section module.

#include <cstdio>

#include "mfc/cstring.h"

class CrossSectionDesigner;

// The result file `name` of the current project and scheme; null when it
// cannot be opened.
FILE* OpenResultFile(const char* name, const char* mode);
// The same, with the alert "无法打开<name>文件!" when it cannot be opened.
FILE* OpenResultFileOrAlert(const char* name, const char* mode);
// Opens the two result files of a pair ("w" each), `first` then `second`.
// When either cannot be opened the other is closed again, the alert
// "无法打开CRSFORM文件!" is shown and false returned.
bool OpenResultFilePair(const char* first, FILE*& firstFile, const char* second, FILE*& secondFile);
// Closes a result file; false, with an alert naming it, when what was
// written could not be stored.
bool CloseResultFile(FILE* fp, const char* name);

// The longest word a number of a result file may be: far more than the
// fixed formats write ("%0.3lf" of any length a design gives).
constexpr int kResultWordMax = 48;
// Reads the next number of a result file: a blank-separated word of at most
// kResultWordMax characters that is wholly a finite number (for an int, one
// within the int range). False for anything else, so that "nan", "inf", a
// number too long and a text all read as a damaged file; `value` is then
// left as it was.
bool ReadResultNumber(FILE* fp, double& value);
bool ReadResultInt(FILE* fp, int& value);
// The line kind ("单线", "双线" or "预留二线") that the last design wrote to
// ylex; false (lineKind untouched) when there is none, or when the file holds
// anything but one of the three line kinds (said on the command line: the
// quantities or drawings of another line kind would be wrong).
bool ReadLineKindFile(CString& lineKind);

// Reads a count of a result file in 0 .. room. `value` is set only when the
// count is read and within that room, so a damaged count never stands in a
// record.
bool ReadResultCount(FILE* fp, int& value, int room);

// ZdkData-like (landUse false) or PMZTT-like (landUse true) file `name` of
// one designer, and of every detour designer in use (headed by "L R").
// 1, or 0 when the file cannot be opened or written.
int WriteLandFile(const CrossSectionDesigner& designer, const char* name, bool landUse);
int WriteDetourLandFile(const char* name, bool landUse);
// HdmRXDResultData and HdmRXDDetailArea from every detour designer in use;
// with recomputeClasses set the excavation classes of each detour's own
// stretch are set again first. 1, or 0 after "无法打开CRSFORM文件!".
int WriteDetourResultPair(bool recomputeClasses);
