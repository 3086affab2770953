#pragma once
// The technical parameters of a project of one's own (data\jishucanshu.dat):
// what make-techparams is asked for on its command line, and the file's fields
// that follow from it. The program that writes the file for the original users
// is outside this system; this one writes the fields the system reads, with
// values for a standard railway of that line kind.
//
//   make-techparams --line single|double [--name TEXT] [--speed KM/H]
//                   [--roadbed M] [--spacing M] FILE
//
// --line     single: a single-track line ("单线"); double: a double-track line
//            ("双线"), whose second track the scheme's 左线/右线 tables lay out
// --name     the line's name (at most 23 GBK bytes: 11 Chinese characters)
// --speed    the design speed in km/h (1 to 1000; default 120)
// --roadbed  the formation width of one track in metres (default 7.7)
// --spacing  the spacing of the two tracks of a double line in metres
//            (default 4.0)
//
// The fields: the line kind (1 single, 2 double), the speed and the name; the
// track spacing as the reference value; the single-line values the formation
// width of one track, the double-line values that width plus the spacing (so a
// track's half formation width is the same for both kinds); a subgrade surface
// layer of 0.6 m; the curve widening of the formation by radius (0.4 m below
// 1000 m, 0.3 below 2000, 0.2 below 3000, 0.15 below 5000, 0.1 below 10000,
// none from 10000 on).

#include <string>
#include <vector>

#include "ProjectFiles.h"

namespace techparams {

struct Choice {
  int lineKind = 0;  // 1 single, 2 double; 0 not chosen
  std::string name;  // UTF-8
  int speed = 120;
  double roadbed = 7.7;
  double spacing = 4.0;
  std::string file;  // where to write
};

// Reads the arguments that follow the program's name. False, with the reason
// in `error`, for an unknown option, a value that does not read or lies
// outside its range, a missing --line or file, or more than one file.
bool ParseArguments(const std::vector<std::string>& args, Choice& choice, std::string& error);

// The fields of the file for the choice.
project_files::TechParamsData TechParamsOf(const Choice& choice);

// The usage text.
const char* UsageText();

}  // namespace techparams
