// Result buffers and how LISP values are shown on the command line.
#include <gtest/gtest.h>

#include "arx/arx.h"

namespace {

struct ValueCase {
  const char* name;
  resbuf* list;
  const char* text;
};

TEST(LispValues, AreShownAsTheCommandLineShowsThem) {
  const ads_point p = {1, 2, 0};
  const ads_name e = {0x2a, 0};
  ValueCase cases[] = {
      {"nothing", nullptr, "nil"},
      {"nil", acutBuildList(RTNIL, RTNONE), "nil"},
      {"T", acutBuildList(RTT, RTNONE), "T"},
      {"short", acutBuildList(RTSHORT, 5, RTNONE), "5"},
      {"long", acutBuildList(RTLONG, 70000L, RTNONE), "70000"},
      {"real with fraction", acutBuildList(RTREAL, 1.5, RTNONE), "1.5"},
      {"whole real", acutBuildList(RTREAL, 2.0, RTNONE), "2.0"},
      {"large real", acutBuildList(RTREAL, 1234567.0, RTNONE), "1.23457e+06"},
      {"string with quote and backslash", acutBuildList(RTSTR, "a\"b\\c", RTNONE), "\"a\\\"b\\\\c\""},
      {"3D point", acutBuildList(RT3DPOINT, p, RTNONE), "(1.0 2.0 0.0)"},
      {"2D point", acutBuildList(RTPOINT, p, RTNONE), "(1.0 2.0)"},
      {"entity name", acutBuildList(RTENAME, e, RTNONE), "<Entity name: 2a>"},
      {"plain list", acutBuildList(RTSHORT, 1, RTSTR, "x", RTNONE), "(1 \"x\")"},
      {"nested list", acutBuildList(RTLB, RTSHORT, 1, RTLB, RTSHORT, 2, RTLE, RTLE, RTNONE), "(1 (2))"},
      {"dotted pair", acutBuildList(RTLB, RTSHORT, 1, RTDOTE, RTSHORT, 2, RTLE, RTNONE), "(1 . 2)"},
  };
  for (ValueCase& c : cases) {
    EXPECT_EQ(platform::lispValueText(c.list), c.text) << c.name;
    acutRelRb(c.list);
  }
}

TEST(LispValues, BuildListCopiesStringsAndRefusesUnknownTypes) {
  char text[] = "layer";
  resbuf* filter = acutBuildList(RTDXF0, "LINE", 8, text, 62, 1, RTNONE);
  text[0] = 'X';
  ASSERT_NE(filter, nullptr);
  EXPECT_EQ(filter->restype, RTDXF0);
  EXPECT_STREQ(filter->resval.rstring, "LINE");
  ASSERT_NE(filter->rbnext, nullptr);
  EXPECT_EQ(filter->rbnext->restype, 8);
  EXPECT_STREQ(filter->rbnext->resval.rstring, "layer");  // a copy
  EXPECT_EQ(filter->rbnext->rbnext->resval.rint, 1);
  EXPECT_EQ(filter->rbnext->rbnext->rbnext, nullptr);

  resbuf* copy = platform::copyResbufList(filter);
  acutRelRb(filter);
  EXPECT_STREQ(copy->rbnext->resval.rstring, "layer");
  acutRelRb(copy);

  EXPECT_EQ(acutBuildList(RTSHORT, 1, 20000, 2, RTNONE), nullptr);  // 20000 is no value type
}

TEST(LispValues, ResultSettersNeedAnInvocation) {
  EXPECT_EQ(acedRetInt(3), RTERROR);
  EXPECT_EQ(acedRetStr("x"), RTERROR);
  EXPECT_EQ(acedGetFunCode(), RTERROR);
  EXPECT_EQ(acedGetArgs(), nullptr);
  EXPECT_EQ(acedDefun("", 0), RTERROR);
  EXPECT_EQ(acedUndef("never-defined", 0), RTERROR);
}

TEST(LispValues, AHandlerRegisteredOutsideAModuleIsCalledDirectly) {
  static int calls = 0;
  auto handler = []() -> int {
    ++calls;
    resbuf* args = acedGetArgs();
    acedRetReal(args && args->restype == RTREAL ? args->resval.rreal * 2 : -1);
    return RSRSLT;
  };
  ASSERT_EQ(acedDefun("c:twice", 3), RTNORM);
  ASSERT_EQ(acedRegFunc(handler, 3), RTNORM);
  resbuf* args = acutBuildList(RTREAL, 1.25, RTNONE);
  std::string result, error;
  EXPECT_TRUE(platform::invokeLispFunction("C:TWICE", args, &result, &error)) << error;
  EXPECT_EQ(result, "2.5");
  EXPECT_EQ(calls, 1);
  acutRelRb(args);
  EXPECT_EQ(acedUndef("c:twice", 3), RTNORM);
  EXPECT_EQ(acedRegFunc(nullptr, 3), RTNORM);
  EXPECT_FALSE(platform::isLispFunctionDefined("c:twice"));
}

TEST(DocumentManager, OneDocumentWithNestedLocksAndResourceHandles) {
  AcApDocManager* mgr = acDocManagerPtr();
  ASSERT_NE(mgr, nullptr);
  AcApDocument* doc = mgr->curDocument();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(mgr->mdiActiveDocument(), doc);
  EXPECT_EQ(curDoc(), doc);
  EXPECT_EQ(mgr->documentCount(), 1);
  EXPECT_STREQ(doc->docTitle(), "Drawing1.dwg");

  EXPECT_EQ(doc->myLockMode(), AcAp::kNotLocked);
  EXPECT_EQ(mgr->lockDocument(doc), Acad::eOk);
  EXPECT_EQ(mgr->lockDocument(doc, AcAp::kRead), Acad::eOk);
  EXPECT_EQ(doc->myLockMode(), AcAp::kWrite);  // the outer lock's mode
  EXPECT_EQ(mgr->unlockDocument(doc), Acad::eOk);
  EXPECT_EQ(doc->lockCount(), 1);
  EXPECT_EQ(mgr->unlockDocument(doc), Acad::eOk);
  EXPECT_EQ(doc->myLockMode(), AcAp::kNotLocked);
  EXPECT_EQ(mgr->unlockDocument(doc), Acad::eNotLocked);
  EXPECT_EQ(mgr->lockDocument(nullptr), Acad::eInvalidInput);
  EXPECT_EQ(mgr->activateDocument(doc), Acad::eOk);

  HINSTANCE a = reinterpret_cast<HINSTANCE>(0x10), b = reinterpret_cast<HINSTANCE>(0x20);
  mgr->pushResourceHandle(a);
  mgr->pushResourceHandle(b);
  EXPECT_EQ(mgr->currentResourceHandle(), b);
  mgr->popResourceHandle();
  EXPECT_EQ(mgr->currentResourceHandle(), a);
  mgr->popResourceHandle();
  mgr->popResourceHandle();  // one pop too many changes nothing
  EXPECT_EQ(mgr->currentResourceHandle(), nullptr);
}

}  // namespace
