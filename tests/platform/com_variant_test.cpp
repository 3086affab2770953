#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "com/comutil.h"
#include "com/variant.h"

namespace {

_variant_t text(const char* s) { return _variant_t(s); }

struct TextToNumber {
  const char* text;
  VARTYPE to;
  HRESULT hr;
  double value;  // the converted value, read as a double
};

double asDouble(const VARIANT& v) {
  switch (v.vt) {
    case VT_I2: return v.iVal;
    case VT_I4: return v.lVal;
    case VT_UI1: return v.bVal;
    case VT_R4: return v.fltVal;
    case VT_R8: return v.dblVal;
    case VT_BOOL: return v.boolVal;
    case VT_CY: return static_cast<double>(v.cyVal.int64);
    default: return -999999;
  }
}

TEST(ComVariantTest, TextBecomesANumberAsTheAutomationRulesSay) {
  const TextToNumber cases[] = {
      {"1.5", VT_R8, S_OK, 1.5},
      {"1.50000000", VT_R8, S_OK, 1.5},
      {" 12 ", VT_I4, S_OK, 12},
      {"-0.5", VT_R8, S_OK, -0.5},
      {"1e3", VT_R8, S_OK, 1000},
      {"2.5E-2", VT_R8, S_OK, 0.025},
      {"1,234.5", VT_R8, S_OK, 1234.5},
      {"3.7", VT_I4, S_OK, 4},     // rounds to nearest
      {"2.5", VT_I4, S_OK, 2},     // ties go to the even neighbour
      {"3.5", VT_I4, S_OK, 4},
      {"-2.5", VT_I4, S_OK, -2},
      {"-5", VT_I2, S_OK, -5},
      {"255", VT_UI1, S_OK, 255},
      {"1.5", VT_R4, S_OK, 1.5},
      {"1.23456", VT_CY, S_OK, 12346},  // ten-thousandths, rounded
      {"True", VT_BOOL, S_OK, -1},
      {"0", VT_BOOL, S_OK, 0},
      {"", VT_R8, DISP_E_TYPEMISMATCH, 0},
      {"   ", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {"abc", VT_R8, DISP_E_TYPEMISMATCH, 0},
      {"12abc", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {"1.2.3", VT_R8, DISP_E_TYPEMISMATCH, 0},
      {",5", VT_R8, DISP_E_TYPEMISMATCH, 0},
      {"1e", VT_R8, DISP_E_TYPEMISMATCH, 0},
      {"1e10", VT_I4, DISP_E_OVERFLOW, 0},
      {"256", VT_UI1, DISP_E_OVERFLOW, 0},
      {"-1", VT_UI1, DISP_E_OVERFLOW, 0},
      {"40000", VT_I2, DISP_E_OVERFLOW, 0},
  };
  for (const TextToNumber& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " -> vt " + std::to_string(c.to));
    _variant_t src = text(c.text);
    VARIANT out;
    VariantInit(&out);
    HRESULT hr = VariantChangeType(&out, &src, 0, c.to);
    EXPECT_EQ(hr, c.hr);
    if (SUCCEEDED(c.hr)) {
      EXPECT_EQ(out.vt, c.to);
      EXPECT_DOUBLE_EQ(asDouble(out), c.value);
    } else {
      EXPECT_EQ(out.vt, VT_EMPTY);  // the destination is left as it was
    }
    VariantClear(&out);
  }
}

TEST(ComVariantTest, NumbersBecomeTheirShortestText) {
  struct Case {
    _variant_t value;
    USHORT flags;
    const char* text;
  };
  const Case cases[] = {
      {_variant_t(1.0), 0, "1"},
      {_variant_t(1.5), 0, "1.5"},
      {_variant_t(0.1), 0, "0.1"},
      {_variant_t(-0.25), 0, "-0.25"},
      {_variant_t(123456789.125), 0, "123456789.125"},
      {_variant_t(1e20), 0, "1E+20"},
      {_variant_t(0.1 + 0.2), 0, "0.3"},  // 15 significant digits
      {_variant_t(1.1f), 0, "1.1"},       // a float keeps 7
      {_variant_t(42), 0, "42"},
      {_variant_t(static_cast<short>(-7)), 0, "-7"},
      {_variant_t(true), VARIANT_ALPHABOOL, "True"},
      {_variant_t(false), 0, "0"},
      {_variant_t(45351.5, VT_DATE), 0, "2024-02-29 12:00:00"},
      {_variant_t(45351.0, VT_DATE), 0, "2024-02-29"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    VARIANT out;
    VariantInit(&out);
    ASSERT_EQ(VariantChangeType(&out, &c.value, c.flags, VT_BSTR), S_OK);
    ASSERT_EQ(out.vt, VT_BSTR);
    EXPECT_STREQ(out.bstrVal, c.text);
    VariantClear(&out);
  }
}

TEST(ComVariantTest, NullConvertsToNothingButNull) {
  VARIANT null;
  VariantInit(&null);
  null.vt = VT_NULL;
  VARIANT out;
  VariantInit(&out);
  EXPECT_EQ(VariantChangeType(&out, &null, 0, VT_R8), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VariantChangeType(&out, &null, 0, VT_BSTR), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VariantChangeType(&out, &null, 0, VT_NULL), S_OK);
  // Empty is 0, "" or false.
  VARIANT empty;
  VariantInit(&empty);
  ASSERT_EQ(VariantChangeType(&out, &empty, 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, 0);
}

TEST(ComVariantTest, BstrKeepsItsByteLengthAndCopiesAreIndependent) {
  BSTR s = SysAllocStringLen("左线\0x", 8);  // embedded zero byte
  EXPECT_EQ(SysStringByteLen(s), 8u);
  EXPECT_EQ(s[8], '\0');
  EXPECT_EQ(SysStringLen(nullptr), 0u);

  _variant_t a(s);
  SysFreeString(s);
  _variant_t b = a;
  ASSERT_EQ(b.vt, VT_BSTR);
  EXPECT_NE(a.bstrVal, b.bstrVal);
  EXPECT_EQ(std::memcmp(b.bstrVal, "左线", 6), 0);

  _bstr_t t("abc");
  _bstr_t u = t;
  EXPECT_STREQ(static_cast<const char*>(u), "abc");
  EXPECT_EQ(u.length(), 3u);
  EXPECT_TRUE(_bstr_t() == "");
}

TEST(ComVariantTest, VariantConversionOperatorsThrowTheComErrorWhenImpossible) {
  _variant_t v("2.5");
  EXPECT_DOUBLE_EQ(static_cast<double>(v), 2.5);
  EXPECT_EQ(static_cast<long>(_variant_t("7")), 7);
  bool thrown = false;
  try {
    (void)static_cast<double>(_variant_t("x"));
  } catch (const _com_error& e) {
    thrown = true;
    EXPECT_EQ(e.Error(), DISP_E_TYPEMISMATCH);
  }
  EXPECT_TRUE(thrown);
}

TEST(ComVariantTest, DatesCountDaysFrom1899December30) {
  struct Case {
    WORD y, mo, d, h, mi, s;
    double date;
  };
  const Case cases[] = {
      {1899, 12, 30, 0, 0, 0, 0.0},
      {1900, 1, 1, 0, 0, 0, 2.0},
      {2024, 2, 29, 12, 0, 0, 45351.5},  // 2024-01-01 is day 45292, plus 31 + 28
      {1899, 12, 29, 6, 0, 0, -1.25},    // before day 0 the fraction still counts forward
      {100, 1, 1, 0, 0, 0, -657434.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date);
    SYSTEMTIME st{c.y, c.mo, 0, c.d, c.h, c.mi, c.s, 0};
    DATE date = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&st, &date));
    EXPECT_DOUBLE_EQ(date, c.date);
    SYSTEMTIME back{};
    ASSERT_TRUE(VariantTimeToSystemTime(c.date, &back));
    EXPECT_EQ(back.wYear, c.y);
    EXPECT_EQ(back.wMonth, c.mo);
    EXPECT_EQ(back.wDay, c.d);
    EXPECT_EQ(back.wHour, c.h);
  }
  SYSTEMTIME st{};
  EXPECT_FALSE(VariantTimeToSystemTime(1e7, &st));
  EXPECT_FALSE(VariantTimeToSystemTime(-7e5, &st));
}

TEST(ComVariantTest, DecimalHoldsTheDigitsAndTheScale) {
  DECIMAL d{};
  ASSERT_EQ(VarDecFromR8(-123.456, &d), S_OK);
  EXPECT_EQ(d.scale, 3);
  EXPECT_EQ(d.Lo64, 123456u);
  EXPECT_EQ(d.Hi32, 0u);
  EXPECT_EQ(d.sign, DECIMAL_NEG);
  double back = 0;
  ASSERT_EQ(VarR8FromDec(&d, &back), S_OK);
  EXPECT_DOUBLE_EQ(back, -123.456);
  EXPECT_EQ(VarDecFromR8(1e30, &d), DISP_E_OVERFLOW);
}

}  // namespace
