// Text metrics: pango's, or fixed widths for tests.
#include "win/textmetrics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>

#include "crt/utf8.h"
#include "win/pangofonts.h"


namespace platform {

namespace {

// A LOGFONT as a map key (its bytes up to the end of the face name).
std::string fontKey(const LOGFONT& font) {
  std::string key(reinterpret_cast<const char*>(&font), offsetof(LOGFONT, lfFaceName));
  key.append(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
  return key;
}

int characterHeight(const LOGFONT& font) {
  if (font.lfHeight == 0) return 12;
  long h = std::labs(static_cast<long>(font.lfHeight));
  return static_cast<int>(std::min(h, 10000L));
}

// The characters of `text`: each valid UTF-8 sequence, or one stray byte.
template <typename F>
void forEachCharacter(std::string_view text, F f) {
  size_t i = 0;
  while (i < text.size()) {
    size_t start = i;
    long cp = decodeUtf8(text, i);
    f(start, i, cp);
  }
}

// The fields of a TEXTMETRIC that come from the LOGFONT alone.
void describeFont(TEXTMETRIC& tm, const LOGFONT& font) {
    tm.tmWeight = font.lfWeight ? font.lfWeight : FW_NORMAL;
    tm.tmItalic = font.lfItalic;
    tm.tmUnderlined = font.lfUnderline;
    tm.tmStruckOut = font.lfStrikeOut;
    tm.tmCharSet = font.lfCharSet;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = '?';
    tm.tmBreakChar = ' ';
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
}

class FixedMeasure : public TextMeasure {
 public:
  SIZE extent(const LOGFONT& font, std::string_view text) override {
    int h = characterHeight(font), n = std::max(1, h / 2);
    LONG width = 0;
    forEachCharacter(text, [&](size_t, size_t, long cp) { width += cp >= 0 && cp < 0x80 ? n : 2 * n; });
    return SIZE{width, h};
  }
  TEXTMETRIC metrics(const LOGFONT& font) override {
    int h = characterHeight(font), n = std::max(1, h / 2);
    TEXTMETRIC tm{};
    tm.tmHeight = h;
    tm.tmDescent = h / 5;
    tm.tmAscent = h - tm.tmDescent;
    tm.tmAveCharWidth = n;
    tm.tmMaxCharWidth = 2 * n;
    describeFont(tm, font);
    return tm;
  }
  bool placesEachCharacter() const override { return true; }
};

class PangoMeasure : public TextMeasure {
 public:
  SIZE extent(const LOGFONT& font, std::string_view text) override {
    return SIZE{width(font, text), metrics(font).tmHeight};
  }

  TEXTMETRIC metrics(const LOGFONT& font) override {
    std::string key = fontKey(font);
    auto it = m_metrics.find(key);
    if (it != m_metrics.end()) return it->second;
    PangoFontMetrics* m = pango_context_get_metrics(pangofonts::context(), pangofonts::description(font),
                                                    pango_language_from_string("zh-cn"));
    TEXTMETRIC tm{};
    tm.tmAscent = (pango_font_metrics_get_ascent(m) + PANGO_SCALE - 1) / PANGO_SCALE;
    tm.tmDescent = (pango_font_metrics_get_descent(m) + PANGO_SCALE - 1) / PANGO_SCALE;
    pango_font_metrics_unref(m);
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    double em = pango_font_description_get_size(pangofonts::description(font)) / double(PANGO_SCALE);
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - static_cast<LONG>(std::lround(em)));
    tm.tmAveCharWidth = width(font, "x");
    tm.tmMaxCharWidth = std::max(tm.tmAveCharWidth, width(font, "\xE5\x9B\xBD"));  // 国
    describeFont(tm, font);
    m_metrics.emplace(key, tm);
    return tm;
  }

 private:
  static LONG width(const LOGFONT& font, std::string_view text) {
    if (text.empty()) return 0;
    PangoRectangle logical;
    pango_layout_get_pixel_extents(pangofonts::sharedLayout(font, text), nullptr, &logical);
    return logical.width;
  }

  std::map<std::string, TEXTMETRIC> m_metrics;
};

bool fixedFromEnvironment() {
  const char* v = std::getenv("CADHOST_FIXED_TEXT_METRICS");
  return v && *v && std::strcmp(v, "0") != 0;
}

bool& fixedFlag() {
  static bool fixed = fixedFromEnvironment();
  return fixed;
}

TextMeasure*& measureInForce() {
  static TextMeasure* measure = nullptr;
  return measure;
}

// The end of the character that starts at or before byte `pos` and covers it
// (pos itself when it is a character's start).
size_t characterStartAtOrBefore(std::string_view text, size_t pos) {
  while (pos > 0 && pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) --pos;
  return pos;
}

size_t nextCharacter(std::string_view text, size_t pos) {
  if (pos >= text.size()) return text.size();
  decodeUtf8(text, pos);
  return pos;
}

}  // namespace

TextMeasure& fixedTextMeasure() {
  static FixedMeasure fixed;
  return fixed;
}

TextMeasure& textMeasure() {
  static PangoMeasure pango;
  if (TextMeasure* m = measureInForce()) return *m;
  if (fixedFlag()) return fixedTextMeasure();
  return pango;
}

TextMeasureScope::TextMeasureScope(TextMeasure& measure) : m_previous(measureInForce()) { measureInForce() = &measure; }
TextMeasureScope::~TextMeasureScope() { measureInForce() = m_previous; }

size_t longestFittingPrefix(std::string_view text, const std::function<bool(std::string_view)>& fits) {
  // `good` bytes are known to fit; `bad` bytes (a character boundary, or past
  // the text) are known not to.
  size_t good = 0, bad = text.size() + 1;
  size_t step = 16;
  while (true) {
    size_t end = characterStartAtOrBefore(text, std::min(text.size(), good + step));
    if (end <= good) end = nextCharacter(text, good);
    if (fits(text.substr(0, end))) {
      good = end;
      if (good == text.size()) return good;
      step *= 2;
    } else {
      bad = end;
      break;
    }
  }
  // Between the two: halve the gap on character boundaries.
  while (true) {
    size_t mid = characterStartAtOrBefore(text, good + (bad - good) / 2);
    if (mid <= good) mid = nextCharacter(text, good);
    if (mid >= bad) return good;
    if (fits(text.substr(0, mid)))
      good = mid;
    else
      bad = mid;
  }
}

std::string_view coveringPrefix(const LOGFONT& font, std::string_view text, int width) {
  TextMeasure& measure = textMeasure();
  size_t fit = longestFittingPrefix(text, [&](std::string_view p) { return measure.extent(font, p).cx <= width; });
  return text.substr(0, nextCharacter(text, fit));
}

void useFixedTextMetrics(bool fixed) { fixedFlag() = fixed; }
bool fixedTextMetrics() { return fixedFlag(); }

FixedTextMetricsScope::FixedTextMetricsScope() : m_previous(fixedFlag()) { fixedFlag() = true; }
FixedTextMetricsScope::~FixedTextMetricsScope() { fixedFlag() = m_previous; }

std::vector<int> characterAdvances(const LOGFONT& font, std::string_view text) {
  std::vector<int> out;
  TextMeasure& measure = textMeasure();
  if (measure.placesEachCharacter()) {
    forEachCharacter(text, [&](size_t a, size_t b, long) { out.push_back(measure.extent(font, text.substr(a, b - a)).cx); });
    return out;
  }
  if (text.empty()) return out;
  // One layout; each character's advance is the distance to the next one's
  // start (the last one's to the end of the line).
  PangoLayout* l = pangofonts::layout(font, text);
  std::vector<size_t> starts;
  forEachCharacter(text, [&](size_t a, size_t, long) { starts.push_back(a); });
  // The layout holds the text with stray bytes replaced; positions are taken
  // by the index of each character's start in the layout's own text.
  const char* laid = pango_layout_get_text(l);
  std::string_view laidText(laid ? laid : "");
  std::vector<int> xs;
  size_t i = 0;
  while (i < laidText.size()) {
    PangoRectangle pos;
    pango_layout_index_to_pos(l, static_cast<int>(i), &pos);
    xs.push_back(PANGO_PIXELS(pos.x));
    decodeUtf8(laidText, i);
  }
  PangoRectangle logical;
  pango_layout_get_pixel_extents(l, nullptr, &logical);
  g_object_unref(l);
  for (size_t k = 0; k < starts.size(); ++k) {
    int x = k < xs.size() ? xs[k] : logical.width;
    int next = k + 1 < xs.size() ? xs[k + 1] : logical.width;
    out.push_back(std::max(0, next - x));
  }
  return out;
}

int unknownGlyphCount(const LOGFONT& font, std::string_view text) {
  if (text.empty()) return 0;
  PangoLayout* l = pangofonts::layout(font, text);
  int n = pango_layout_get_unknown_glyphs_count(l);
  g_object_unref(l);
  return n;
}

std::string pangoFamilies(const LOGFONT& font) {
  std::string face(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
  // A comma would split the face into two families.
  for (char& c : face)
    if (c == ',') c = ' ';
  std::string families;
  if (!face.empty()) families = face + ",";
  families += "WenQuanYi Micro Hei,Noto Sans CJK SC,";
  families += (font.lfPitchAndFamily & 0x3) == FIXED_PITCH ? "monospace" : "sans-serif";
  return families;
}

namespace pangofonts {

namespace {

PangoContext*& contextSlot() {
  static PangoContext* ctx = nullptr;
  return ctx;
}

std::map<std::string, PangoFontDescription*>& descriptions() {
  static auto* cache = new std::map<std::string, PangoFontDescription*>;
  return *cache;
}

// Gives back the fonts and the context this process made at its end. The
// caches of cairo and fontconfig stay: tearing them down while pango's font
// loading thread may still hold them aborts the process (their own assertions),
// and the few blocks fontconfig leaks are named in the tests' leak suppressions.
void releaseFonts() {
  for (auto& [key, d] : descriptions()) pango_font_description_free(d);
  descriptions().clear();
  if (contextSlot()) g_object_unref(contextSlot());
  contextSlot() = nullptr;
}

}  // namespace

PangoContext* context() {
  static PangoContext* ctx = [] {
    PangoFontMap* map = pango_cairo_font_map_new();
    PangoContext* c = pango_font_map_create_context(map);
    g_object_unref(map);  // the context keeps it
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(c, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(c, 96);
    pango_context_set_language(c, pango_language_from_string("zh-cn"));
    contextSlot() = c;
    std::atexit(releaseFonts);
    return c;
  }();
  return contextSlot() ? contextSlot() : ctx;
}

const PangoFontDescription* description(const LOGFONT& font) {
  auto& cache = descriptions();
  std::string key = fontKey(font);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  PangoFontDescription* d = pango_font_description_new();
  std::string families = pangoFamilies(font);
  pango_font_description_set_family(d, families.c_str());
  LONG weight = font.lfWeight == 0 ? FW_NORMAL : std::clamp<LONG>(font.lfWeight, 100, 1000);
  pango_font_description_set_weight(d, static_cast<PangoWeight>(weight));
  pango_font_description_set_style(d, font.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  double em = characterHeight(font);
  pango_font_description_set_absolute_size(d, em * PANGO_SCALE);
  if (font.lfHeight > 0) {
    // A positive height is the cell height: the em is that much smaller.
    PangoFontMetrics* m = pango_context_get_metrics(context(), d, nullptr);
    double cell = (pango_font_metrics_get_ascent(m) + pango_font_metrics_get_descent(m)) / double(PANGO_SCALE);
    pango_font_metrics_unref(m);
    if (cell > 0) pango_font_description_set_absolute_size(d, std::max(1.0, em * em / cell) * PANGO_SCALE);
  }
  cache.emplace(key, d);
  return d;
}

PangoLayout* layout(const LOGFONT& font, std::string_view text) {
  PangoLayout* l = pango_layout_new(context());
  pango_layout_set_font_description(l, description(font));
  pango_layout_set_single_paragraph_mode(l, TRUE);
  // Pango wants valid UTF-8: stray bytes are shown as U+FFFD.
  std::string valid;
  size_t i = 0;
  while (i < text.size()) appendUtf8(valid, decodeUtf8(text, i));
  pango_layout_set_text(l, valid.data(), static_cast<int>(valid.size()));
  if (font.lfUnderline || font.lfStrikeOut) {
    PangoAttrList* attrs = pango_attr_list_new();
    if (font.lfUnderline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.lfStrikeOut) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(l, attrs);
    pango_attr_list_unref(attrs);
  }
  return l;
}

namespace {

// Two generations of layouts: a lookup takes from the current one, or moves
// an entry up from the previous one; when the current one is full it becomes
// the previous one and the old previous one is let go. What a screen of text
// uses stays, whatever was drawn long ago goes.
constexpr size_t kLayoutGeneration = 2048;
// A generation also ends once its texts add up to this many bytes, so that a
// few long texts (and the many prefixes of one measured while it was typed)
// never hold more than a few megabytes of layouts.
constexpr size_t kLayoutGenerationBytes = 256 * 1024;

struct LayoutCache {
  std::unordered_map<std::string, PangoLayout*> current, previous;
  size_t currentBytes = 0;
  static void release(std::unordered_map<std::string, PangoLayout*>& m) {
    for (auto& [key, l] : m) g_object_unref(l);
    m.clear();
  }
  ~LayoutCache() {
    release(current);
    release(previous);
  }
};

LayoutCache& layoutCache() {
  static LayoutCache cache;
  return cache;
}

}  // namespace

PangoLayout* sharedLayout(const LOGFONT& font, std::string_view text) {
  LayoutCache& cache = layoutCache();
  // The font's bytes, a NUL that ends its face name, then the text.
  std::string key = fontKey(font);
  key += '\0';
  key.append(text);
  auto it = cache.current.find(key);
  if (it != cache.current.end()) return it->second;
  PangoLayout* l = nullptr;
  auto old = cache.previous.find(key);
  if (old != cache.previous.end()) {
    l = old->second;
    cache.previous.erase(old);
  } else {
    l = layout(font, text);
  }
  if (cache.current.size() >= kLayoutGeneration || cache.currentBytes >= kLayoutGenerationBytes) {
    LayoutCache::release(cache.previous);
    cache.previous.swap(cache.current);
    cache.currentBytes = 0;
  }
  cache.currentBytes += key.size();
  cache.current.emplace(std::move(key), l);
  return l;
}

}  // namespace pangofonts

}  // namespace platform
