// Writes the roadbed quantity sheet template "路基数量表.xlt" of the install
// folder: an Office Open XML workbook template whose sheet "路基数量表" has
// its two header rows and the formats of the 17 columns that the earthwork
// command fills from row 3 on (one row per kilometre, a row per bridge, tunnel
// or station with its name across columns C to Q, and the closing "合计" row),
// and a sheet "说明" that tells how to replace the template.
//
//   quantity-template <output file>
//
// The layout is described here as data; the file is made at build time so
// that no binary is kept in the sources. The output is the same on every run.

#include <zip.h>

#include <cstdio>
#include <ctime>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Cell formats (indexes into cellXfs below).
enum Style { kDefault = 0, kHeader = 1, kLabel = 2, kDecimal = 3, kWhole = 4, kNote = 5 };

struct Column {
  const char* letter;
  double width;
  Style style;        // of the data cells from row 3 on
  const char* top;    // header row 1 (nullptr: covered by a merge)
  const char* below;  // header row 2 (nullptr: merged with row 1)
};

// The 17 columns of a kilometre row, in the order the command writes them.
const Column kColumns[] = {
    {"A", 16, kLabel, "起讫里程", "起点"},
    {"B", 16, kLabel, nullptr, "终点"},
    {"C", 10, kDecimal, "填方 (m³)", "基床表层"},
    {"D", 10, kDecimal, nullptr, "改良土"},
    {"E", 10, kWhole, nullptr, "填土"},
    {"F", 9, kWhole, "挖方 (m³)", "Ⅰ松土"},
    {"G", 9, kWhole, nullptr, "Ⅱ普通土"},
    {"H", 9, kWhole, nullptr, "Ⅲ硬土"},
    {"I", 9, kWhole, nullptr, "Ⅳ软石"},
    {"J", 9, kWhole, nullptr, "Ⅴ次坚石"},
    {"K", 9, kWhole, nullptr, "Ⅵ坚石"},
    {"L", 10, kWhole, "水沟土方 (m³)", nullptr},
    {"M", 10, kDecimal, "水沟浆砌 (m³)", nullptr},
    {"N", 10, kDecimal, "植草护坡 (m²)", nullptr},
    {"O", 10, kDecimal, "挡墙护坡 (m²)", nullptr},
    {"P", 10, kDecimal, "路肩封闭层 (m³)", nullptr},
    {"Q", 10, kDecimal, "清表土 (m³)", nullptr},
};

const char* const kHeaderMerges[] = {"A1:B1", "C1:E1", "F1:K1", "L1:L2", "M1:M2",
                                     "N1:N2", "O1:O2", "P1:P2", "Q1:Q2"};

const char* const kNotes[] = {
    "路基数量表模板",
    "第 1、2 行为表头；数量从第 3 行起逐行填写：每公里一行（起讫里程及各项数量），"
    "每座桥梁、隧道、车站一行（起讫里程，名称写在 C 至 Q 列合并的单元格中），最后一行为“合计”。",
    "填方、挖方各类及水沟土方取整数立方米，其余数量保留两位小数。",
    "可以用自己的格式替换本模板（Office Open XML 格式，扩展名仍为 .xlt）："
    "保留名为“路基数量表”的工作表，并从第 3 行起按本表 A 至 Q 列的顺序安排各列。",
};

const char* const kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char* const kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::string escape(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    switch (*p) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += *p;
    }
  }
  return out;
}

std::string number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

// The shared-string table, filled as the sheets are written.
struct Strings {
  std::vector<std::string> texts;
  int add(const char* text) {
    for (size_t i = 0; i < texts.size(); ++i)
      if (texts[i] == text) return static_cast<int>(i);
    texts.emplace_back(text);
    return static_cast<int>(texts.size() - 1);
  }
  std::string xml(int refs) const {
    std::string s = kXmlHead;
    s += "<sst xmlns=\"" + std::string(kMainNs) + "\" count=\"" + std::to_string(refs) + "\" uniqueCount=\"" +
         std::to_string(texts.size()) + "\">";
    for (const std::string& t : texts) s += "<si><t>" + escape(t.c_str()) + "</t></si>";
    return s + "</sst>";
  }
};

std::string textCell(Strings& strings, int& refs, const std::string& ref, Style style, const char* text) {
  std::string s = "<c r=\"" + ref + "\" s=\"" + std::to_string(style) + "\"";
  if (!text) return s + "/>";
  ++refs;
  return s + " t=\"s\"><v>" + std::to_string(strings.add(text)) + "</v></c>";
}

std::string quantitySheet(Strings& strings, int& refs) {
  std::string s = kXmlHead;
  s += "<worksheet xmlns=\"" + std::string(kMainNs) + "\" xmlns:r=\"" + kRelNs + "\">";
  s += "<sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr>";
  s += "<dimension ref=\"A1:Q2\"/>";
  // The header rows stay in view while the rows below scroll.
  s += "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\">"
       "<pane ySplit=\"2\" topLeftCell=\"A3\" activePane=\"bottomLeft\" state=\"frozen\"/>"
       "<selection pane=\"bottomLeft\" activeCell=\"A3\" sqref=\"A3\"/></sheetView></sheetViews>";
  s += "<sheetFormatPr defaultRowHeight=\"14.25\"/>";
  s += "<cols>";
  int index = 1;
  for (const Column& c : kColumns) {
    std::string n = std::to_string(index++);
    s += "<col min=\"" + n + "\" max=\"" + n + "\" width=\"" + number(c.width) + "\" style=\"" +
         std::to_string(c.style) + "\" customWidth=\"1\"/>";
  }
  s += "</cols><sheetData>";
  s += "<row r=\"1\" spans=\"1:17\" ht=\"20\" customHeight=\"1\">";
  for (const Column& c : kColumns) s += textCell(strings, refs, std::string(c.letter) + "1", kHeader, c.top);
  s += "</row><row r=\"2\" spans=\"1:17\" ht=\"30\" customHeight=\"1\">";
  for (const Column& c : kColumns) s += textCell(strings, refs, std::string(c.letter) + "2", kHeader, c.below);
  s += "</row></sheetData>";
  s += "<mergeCells count=\"" + std::to_string(std::size(kHeaderMerges)) + "\">";
  for (const char* m : kHeaderMerges) s += "<mergeCell ref=\"" + std::string(m) + "\"/>";
  s += "</mergeCells>";
  s += "<pageMargins left=\"0.5\" right=\"0.5\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>";
  // A3 landscape, all columns on the width of one page.
  s += "<pageSetup paperSize=\"8\" orientation=\"landscape\" fitToHeight=\"0\"/>";
  return s + "</worksheet>";
}

std::string notesSheet(Strings& strings, int& refs) {
  std::string s = kXmlHead;
  s += "<worksheet xmlns=\"" + std::string(kMainNs) + "\" xmlns:r=\"" + kRelNs + "\">";
  s += "<dimension ref=\"A1:A" + std::to_string(std::size(kNotes)) + "\"/>";
  s += "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>";
  s += "<sheetFormatPr defaultRowHeight=\"14.25\"/>";
  s += "<cols><col min=\"1\" max=\"1\" width=\"90\" customWidth=\"1\"/></cols><sheetData>";
  int row = 0;
  for (const char* note : kNotes) {
    std::string r = std::to_string(++row);
    Style style = row == 1 ? kHeader : kNote;  // the first line is the title
    s += "<row r=\"" + r + "\">" + textCell(strings, refs, "A" + r, style, note) + "</row>";
  }
  s += "</sheetData>";
  s += "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>";
  return s + "</worksheet>";
}

std::string styles() {
  std::string font = "<sz val=\"10\"/><name val=\"宋体\"/><family val=\"3\"/><charset val=\"134\"/>";
  std::string thin = "<left style=\"thin\"><color indexed=\"64\"/></left><right style=\"thin\"><color "
                     "indexed=\"64\"/></right><top style=\"thin\"><color indexed=\"64\"/></top><bottom "
                     "style=\"thin\"><color indexed=\"64\"/></bottom><diagonal/>";
  std::string s = kXmlHead;
  s += "<styleSheet xmlns=\"" + std::string(kMainNs) + "\">";
  s += "<fonts count=\"2\"><font>" + font + "</font><font><b/>" + font + "</font></fonts>";
  s += "<fills count=\"3\"><fill><patternFill patternType=\"none\"/></fill>"
       "<fill><patternFill patternType=\"gray125\"/></fill>"
       "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FFD9D9D9\"/><bgColor indexed=\"64\"/>"
       "</patternFill></fill></fills>";
  s += "<borders count=\"2\"><border><left/><right/><top/><bottom/><diagonal/></border><border>" + thin +
       "</border></borders>";
  s += "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>";
  // Built-in number formats: 49 text "@", 2 "0.00", 1 "0".
  s += "<cellXfs count=\"6\">"
       "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
       "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"2\" borderId=\"1\" xfId=\"0\" applyFont=\"1\" applyFill=\"1\" "
       "applyBorder=\"1\" applyAlignment=\"1\"><alignment horizontal=\"center\" vertical=\"center\" "
       "wrapText=\"1\"/></xf>"
       "<xf numFmtId=\"49\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" "
       "applyBorder=\"1\" applyAlignment=\"1\"><alignment horizontal=\"center\" vertical=\"center\"/></xf>"
       "<xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" "
       "applyBorder=\"1\" applyAlignment=\"1\"><alignment vertical=\"center\"/></xf>"
       "<xf numFmtId=\"1\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" "
       "applyBorder=\"1\" applyAlignment=\"1\"><alignment vertical=\"center\"/></xf>"
       "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyAlignment=\"1\">"
       "<alignment vertical=\"top\" wrapText=\"1\"/></xf>"
       "</cellXfs>";
  s += "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>";
  s += "<dxfs count=\"0\"/><tableStyles count=\"0\"/>";
  return s + "</styleSheet>";
}

std::string workbook() {
  std::string s = kXmlHead;
  s += "<workbook xmlns=\"" + std::string(kMainNs) + "\" xmlns:r=\"" + kRelNs + "\">";
  s += "<bookViews><workbookView activeTab=\"0\"/></bookViews>";
  s += "<sheets><sheet name=\"路基数量表\" sheetId=\"1\" r:id=\"rId1\"/>"
       "<sheet name=\"说明\" sheetId=\"2\" r:id=\"rId2\"/></sheets>";
  // The header rows are printed on every page.
  s += "<definedNames><definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">"
       "'路基数量表'!$1:$2</definedName></definedNames>";
  return s + "</workbook>";
}

std::string workbookRels() {
  std::string type = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  std::string s = kXmlHead;
  s += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  s += "<Relationship Id=\"rId1\" Type=\"" + type + "worksheet\" Target=\"worksheets/sheet1.xml\"/>";
  s += "<Relationship Id=\"rId2\" Type=\"" + type + "worksheet\" Target=\"worksheets/sheet2.xml\"/>";
  s += "<Relationship Id=\"rId3\" Type=\"" + type + "styles\" Target=\"styles.xml\"/>";
  s += "<Relationship Id=\"rId4\" Type=\"" + type + "sharedStrings\" Target=\"sharedStrings.xml\"/>";
  return s + "</Relationships>";
}

std::string packageRels() {
  std::string s = kXmlHead;
  s += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  s += "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
       "officeDocument\" Target=\"xl/workbook.xml\"/>";
  s += "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
       "core-properties\" Target=\"docProps/core.xml\"/>";
  return s + "</Relationships>";
}

std::string coreProperties() {
  std::string s = kXmlHead;
  s += "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
       "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
       "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">";
  s += "<dc:title>路基数量表</dc:title><dc:creator>railsuite</dc:creator>";
  return s + "</cp:coreProperties>";
}

std::string contentTypes() {
  std::string sml = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
  std::string s = kXmlHead;
  s += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">";
  s += "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>";
  s += "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
  s += "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" + sml + "template.main+xml\"/>";
  s += "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" + sml + "worksheet+xml\"/>";
  s += "<Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"" + sml + "worksheet+xml\"/>";
  s += "<Override PartName=\"/xl/styles.xml\" ContentType=\"" + sml + "styles+xml\"/>";
  s += "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"" + sml + "sharedStrings+xml\"/>";
  s += "<Override PartName=\"/docProps/core.xml\" "
       "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>";
  return s + "</Types>";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quantity-template <output file>\n");
    return 2;
  }
  Strings strings;
  int refs = 0;
  std::string sheet1 = quantitySheet(strings, refs);
  std::string sheet2 = notesSheet(strings, refs);
  const std::pair<const char*, std::string> parts[] = {
      {"[Content_Types].xml", contentTypes()},
      {"_rels/.rels", packageRels()},
      {"docProps/core.xml", coreProperties()},
      {"xl/workbook.xml", workbook()},
      {"xl/_rels/workbook.xml.rels", workbookRels()},
      {"xl/styles.xml", styles()},
      {"xl/sharedStrings.xml", strings.xml(refs)},
      {"xl/worksheets/sheet1.xml", sheet1},
      {"xl/worksheets/sheet2.xml", sheet2},
  };

  int err = 0;
  zip_t* za = zip_open(argv[1], ZIP_CREATE | ZIP_TRUNCATE, &err);
  if (!za) {
    std::fprintf(stderr, "quantity-template: cannot create %s\n", argv[1]);
    return 1;
  }
  // A fixed time stamp, so that every build makes the same file.
  std::tm stamp{};
  stamp.tm_year = 2024 - 1900;
  stamp.tm_mon = 0;
  stamp.tm_mday = 1;
  stamp.tm_isdst = -1;
  time_t when = std::mktime(&stamp);
  for (const auto& [name, content] : parts) {
    zip_source_t* src = zip_source_buffer(za, content.data(), content.size(), 0);
    zip_int64_t index = src ? zip_file_add(za, name, src, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      if (src) zip_source_free(src);
      std::fprintf(stderr, "quantity-template: %s: %s\n", name, zip_strerror(za));
      zip_discard(za);
      return 1;
    }
    zip_set_file_compression(za, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
    zip_file_set_mtime(za, static_cast<zip_uint64_t>(index), when, 0);
  }
  if (zip_close(za) != 0) {
    std::fprintf(stderr, "quantity-template: cannot write %s: %s\n", argv[1], zip_strerror(za));
    zip_discard(za);
    return 1;
  }
  return 0;
}
