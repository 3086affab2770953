// cadhost's pictures of a run (--pictures DIR and the PICTURES command) and
// a script's clipboard (CLIPTEXT, then {Ctrl+V} in an edit).
#include <cairo.h>

#include <algorithm>
#include <vector>

#include "cadhost_run.h"

namespace {

using cadhostrun::Outcome;

class Pictures : public cadhostrun::CadhostTest {
 protected:
  Outcome runWith(const std::vector<std::string>& extra, const std::string& script) {
    std::vector<std::string> args{"--install", testModules, "--load", "tm_dialogs"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back("--script");
    args.push_back(file("s.scr", script));
    return run(args);
  }
  std::vector<std::string> pictures() const {
    std::vector<std::string> names;
    if (!std::filesystem::is_directory(m_dir / "pics")) return names;
    for (const auto& e : std::filesystem::directory_iterator(m_dir / "pics")) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The size of a PNG file read back with cairo (0 x 0 when it is none).
  std::pair<int, int> pngSize(const std::string& name) const {
    cairo_surface_t* s = cairo_image_surface_create_from_png((m_dir / "pics" / name).c_str());
    std::pair<int, int> size{0, 0};
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS)
      size = {cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)};
    cairo_surface_destroy(s);
    return size;
  }
};

TEST_F(Pictures, EachDialogIsSavedAsItClosesAndPicturesSavesTheWindowsOpenNow) {
  Outcome r = runWith({"--pictures", (m_dir / "pics").string()},
                      "DLG_ASK\n"
                      "@900 901=张三 IDOK\n"
                      "DLG_OPEN\n"
                      "PICTURES\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("1 picture(s) saved in"), std::string::npos) << r.out;
  // The modal dialog as it closed, the modeless one open at PICTURES, and
  // again as the module's unload closes it.
  EXPECT_EQ(pictures(), (std::vector<std::string>{"001-900-测试对话框.png", "002-910-无模式.png", "003-910-无模式.png"}));
  // Dialog 900 is 180 x 100 dialog units of 宋体 9 (6 x 12 base units: 270 x
  // 150 pixels), in a 3-pixel frame under a 22-pixel caption bar.
  EXPECT_EQ(pngSize("001-900-测试对话框.png"), (std::pair<int, int>{270 + 6, 150 + 6 + 22}));
}

TEST_F(Pictures, WithoutTheOptionNothingIsSavedOnClosing) {
  Outcome r = runWith({}, "DLG_ASK\n@900 IDOK\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(pictures().empty());
}

TEST_F(Pictures, AScriptsClipboardTextIsPastedByCtrlV) {
  Outcome r = runWith({}, "DLG_OPEN\n"
                          "CLIPTEXT \"甲\\t12.5\"\n"
                          "> 910 911 {Ctrl+V}\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("dlg: modeless text [甲\t12.5]"), std::string::npos) << r.out;
}

}  // namespace
