#include "project/ProjectLocation.h"

#include <cstdio>

#include "crt/textfile.h"
#include "mfc/app.h"
#include "project/ModulePath.h"

CString g_ProjectFolder;
CString g_SchemeName;

namespace {

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The first blank-delimited word of a text file (empty when it has none).
CString ReadFirstWord(FILE* file) {
  int c = std::fgetc(file);
  while (c != EOF && IsBlank(c)) c = std::fgetc(file);
  std::string word;
  while (c != EOF && !IsBlank(c)) {
    word += static_cast<char>(c);
    c = std::fgetc(file);
  }
  return CString(word);
}

}  // namespace

bool ReadWordOfFile(const CString& path, CString& word) {
  FILE* file = platform::openFile(path, "r");
  if (!file) return false;
  word = ReadFirstWord(file);
  std::fclose(file);
  return true;
}

void DollarToSpaceInProjectPath() { g_ProjectFolder.Replace('$', ' '); }

int ReadProjectAndScheme() {
  CString workdir;
  workdir.Format("%s\\workdir", InstallFolder().GetString());
  CString folder;
  if (!ReadWordOfFile(workdir, folder) || folder.IsEmpty()) {
    AfxMessageBox("您还没有设定项目名称!");
    g_ProjectFolder.Empty();
    return 0;
  }
  g_ProjectFolder = folder;
  DollarToSpaceInProjectPath();

  CString scheme;
  if (!ReadWordOfFile(g_ProjectFolder + "\\project", scheme) || scheme.IsEmpty()) {
    AfxMessageBox("您还没有指定设计方案名称!");
    return 0;
  }
  g_SchemeName = scheme;
  return 1;
}

CString SchemeDatabasePath() { return g_ProjectFolder + "\\data\\" + g_SchemeName + ".mdb"; }

CString ResultFilePath(const char* name) {
  return g_ProjectFolder + "\\data\\" + (name ? name : "") + "." + g_SchemeName;
}

CString TechParamsFilePath() { return g_ProjectFolder + "\\data\\jishucanshu.dat"; }
