#pragma once
// Shared pieces of the earthwork, quantity-sheet, save and point-file tests:
// a project folder on a scratch drive (its data folder, scheme "S1"), the
// install folder of the build (for the quantity-sheet template), a designer
// whose break table runs DK0 .. DK10000 without a break (a DK chainage is its
// own mileage), hand-made sections, and reading the text files back.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "QuantitySheet.h"
#include "crt/paths.h"
#include "crt/textfile.h"
#include "fixtures/project_fixture.h"
#include "fixtures/run_command.h"
#include "project/ModulePath.h"
#include "project/ProjectLocation.h"
#include "corvane/engine/results_support.h"
#include "win/answers.h"
#include "win/transcript.h"

namespace earthwork_test {

using results_test::ReadText;

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The blank-separated words of a text.
inline std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

inline void SetDkBreaks(CrossSectionDesigner& d) {
  d.breakCount = 2;
  SetBreakPrefixes(d.breaks[0], "DK", "DK");
  SetBreakPrefixes(d.breaks[1], "DK", "DK");
  d.breaks[0].before = 0.0;
  d.breaks[1].before = 10000.0;
}

// A section at `mileage` with its DK label, a structure code and every area
// of the quantity files set from `base` (fill = base, cut = base + 1, the
// other totals base + 2 .. base + 10, rock classes base + 11 .. base + 16).
inline SectionRecord Section(double mileage, int code = 0, double base = 0.0) {
  SectionRecord s;
  s.mileage = mileage;
  s.leftCode = code;
  ChainageText3Decimals("DK", mileage, s.label, sizeof s.label);
  if (base != 0.0) {
    SectionAreas& a = s.areas;
    a.fill = base;
    a.cut = base + 1;
    a.improvedSoil = base + 2;
    a.surfaceLayer = base + 3;
    a.topsoil = base + 4;
    a.ditchFill = base + 5;
    a.ditchCut = base + 6;
    a.shoulderLayer = base + 7;
    a.ditchLining = base + 8;
    a.retainingWallLength = base + 9;
    a.turfLength = base + 10;
    for (int k = 0; k < 6; ++k) a.rockClass[k] = base + 11 + k;
  }
  return s;
}

inline void AddStructure(OwnedRowArray<StructureRow>& list, double start, double end, const char* name) {
  const int n = list.count;
  std::vector<StructureRow> keep(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    keep[static_cast<size_t>(i)] = list.rows[i];
  }
  list.Replace(n + 1);
  for (int i = 0; i < n; ++i) list.rows[i] = keep[static_cast<size_t>(i)];
  StructureRow& row = list.rows[n];
  row.startMileage = start;
  row.endMileage = end;
  ChainageText3Decimals("DK", start, row.startText, sizeof row.startText);
  ChainageText3Decimals("DK", end, row.endText, sizeof row.endText);
  row.name = name;
}

// A project "P" (scheme "S1") on drive D with its data folder, and an
// install folder on drive C holding the build's quantity-sheet template.
class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(m_install.linuxPath("lib"));
    std::filesystem::copy_file(std::string(RAIL_INSTALL_DIR) + "/lib/路基数量表.xlt",
                               m_install.linuxPath("lib/路基数量表.xlt"));
    m_previous = SetModulePathSource([this] { return CString(m_install.windowsPath("corvane.arx").c_str()); });
    fixtures::writeWorkdir(m_install.linuxPath(), m_projects.windowsPath("P"));
    fixtures::writeProjectFile(m_projects.linuxPath("P"), "S1");
    std::filesystem::create_directories(m_projects.linuxPath("P/data"));
    g_ProjectFolder = m_projects.windowsPath("P").c_str();
    g_SchemeName = "S1";
    g_ExcelRow = 3;
  }
  void TearDown() override {
    SetExcelInteractive(0);
    SetModulePathSource(m_previous);
    g_ProjectFolder.Empty();
    g_SchemeName.Empty();
  }

  // "<project>\data\<name>.S1" on disk.
  std::string DataFile(const std::string& name) const { return m_projects.linuxPath("P/data/" + name + ".S1"); }

  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
};

}  // namespace earthwork_test
