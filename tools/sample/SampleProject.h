#pragma once
// Makes the sample project in a folder: the `project` file naming its scheme,
// data/<scheme>.mdb (a copy of the install folder's empty template holding the
// 36 tables of the scheme schema, filled with the sample scheme),
// data/jishucanshu.dat, the terrain model in PMAP/, a summary in
// sample-project.txt and, when asked, the install folder's `workdir`
// pointing at the folder.
//
// The folder must be absent or empty. A folder that holds a sample project
// made before (it has sample-project.txt) is made again only when `replace`
// is set: its project files, data/ and PMAP/ are removed first (results of
// earlier design runs in data/ go with them); other files stay. Any other
// folder with files in it is refused. A run that fails removes what it made.

#include <string>
#include <vector>

namespace sample {

struct ProjectOptions {
  std::string folder;         // the project folder (a Linux path)
  std::string scheme = "方案1";
  std::string installFolder;  // holds lib/标准.mdb; its workdir is written when setWorkdir
  bool setWorkdir = false;
  bool replace = false;
  double interval = 20.0;  // cross-sections every so many metres of chainage
};

// The marker and summary file the program leaves in the project folder.
inline constexpr const char* kSummaryFileName = "sample-project.txt";

// Makes the project. `summary` receives a few lines on what was made. False,
// with the reason, when the project cannot be made.
bool MakeSampleProject(const ProjectOptions& options, std::vector<std::string>& summary, std::string& error);

}  // namespace sample
