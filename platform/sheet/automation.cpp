#include "sheet/automation.h"

#include <functional>
#include <vector>

#include "sheet/model_internal.h"
#include "win/transcript.h"

namespace sheet {
namespace detail {

struct Book {
  std::unique_ptr<WorkbookModel> model;  // null once closed
  std::string name;
};

struct App {
  bool running = false;
  std::vector<std::shared_ptr<Book>> books;

  void closeAll() {
    for (const std::shared_ptr<Book>& b : books) b->model.reset();
    books.clear();
    running = false;
  }
};

}  // namespace detail

namespace {

// Setting more cells than this at once is taken for a mistaken address.
constexpr long long kMaxCellsSet = 1000000;

void report(const std::string& message) { platform::transcriptLine(message); }

// Sets every cell of `r` with `set`.
bool setCells(WorksheetModel* ws, const CellRange& r, const std::function<void(WorksheetModel*, CellRef)>& set) {
  if (!ws) return false;
  if (r.cellCount() > kMaxCellsSet) {
    report("工作表 \"" + ws->name() + "\": 区域 " + rangeName(r) + " 过大，未填写");
    return false;
  }
  for (int row = r.first.row; row <= r.last.row; ++row)
    for (int col = r.first.col; col <= r.last.col; ++col) set(ws, {row, col});
  return true;
}

bool isOpen(const std::shared_ptr<detail::Book>& b) { return b && b->model; }

// "路基数量表" for "D:\suite\lib\路基数量表.xlt".
std::string bookNameOf(std::string_view path) {
  size_t slash = path.find_last_of("\\/");
  std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  size_t dot = file.rfind('.');
  return std::string(dot == std::string_view::npos || dot == 0 ? file : file.substr(0, dot));
}

}  // namespace

// ---- Range ----

WorksheetModel* Range::sheet() const { return isOpen(m_book) ? m_sheet : nullptr; }

bool Range::IsValid() const { return sheet() != nullptr; }

bool Range::SetValue(const char* text) {
  std::string_view t = text ? text : "";
  return setCells(sheet(), m_range, [&](WorksheetModel* ws, CellRef c) { ws->setText(c, t); });
}

bool Range::SetValue(int value) {
  return setCells(sheet(), m_range, [&](WorksheetModel* ws, CellRef c) { ws->setInteger(c, value); });
}

bool Range::SetValue(double value) {
  return setCells(sheet(), m_range, [&](WorksheetModel* ws, CellRef c) { ws->setNumber(c, value); });
}

CellValue Range::GetValue() const {
  WorksheetModel* ws = sheet();
  return ws ? ws->value(m_range.first) : CellValue{};
}

bool Range::Merge() {
  WorksheetModel* ws = sheet();
  return ws && ws->merge(m_range);
}

std::string Range::GetAddress() const { return IsValid() ? rangeName(m_range) : std::string(); }

void Range::Release() { *this = Range(); }

// ---- Worksheet ----

WorksheetModel* Worksheet::sheet() const { return isOpen(m_book) ? m_sheet : nullptr; }

bool Worksheet::IsValid() const { return sheet() != nullptr; }

std::string Worksheet::GetName() const { return IsValid() ? m_sheet->name() : std::string(); }

Range Worksheet::rangeOf(const CellRange& r) const {
  Range range;
  range.m_book = m_book;
  range.m_sheet = m_sheet;
  range.m_range = r;
  return range;
}

Range Worksheet::GetRange(const char* address) const {
  if (!IsValid()) return {};
  std::optional<CellRange> r = address ? parseRange(address) : std::nullopt;
  if (!r) {
    report("工作表 \"" + m_sheet->name() + "\": 无效的单元格区域 \"" + std::string(address ? address : "") + "\"");
    return {};
  }
  return rangeOf(*r);
}

Range Worksheet::GetRange(const char* from, const char* to) const {
  if (!IsValid()) return {};
  std::optional<CellRef> a = from ? parseCellRef(from) : std::nullopt;
  std::optional<CellRef> b = to ? parseCellRef(to) : std::nullopt;
  if (!a || !b) {
    report("工作表 \"" + m_sheet->name() + "\": 无效的单元格区域 \"" + std::string(from ? from : "") + "\", \"" +
           std::string(to ? to : "") + "\"");
    return {};
  }
  return rangeOf(spanOf(*a, *b));
}

Range Worksheet::GetCell(int row, int col) const {
  if (!IsValid()) return {};
  if (row < 1 || row > kMaxRows || col < 1 || col > kMaxColumns) {
    report("工作表 \"" + m_sheet->name() + "\": 单元格 (" + std::to_string(row) + ", " + std::to_string(col) +
           ") 在表外");
    return {};
  }
  return rangeOf(CellRange{{row, col}, {row, col}});
}

Range Worksheet::GetLastMerged() const {
  if (!IsValid()) return {};
  std::optional<CellRange> r = m_sheet->lastMerged();
  return r ? rangeOf(*r) : Range();
}

void Worksheet::Release() { *this = Worksheet(); }

// ---- Worksheets ----

bool Worksheets::IsValid() const { return isOpen(m_book); }

int Worksheets::GetCount() const {
  return IsValid() ? static_cast<int>(m_book->model->sheetNames().size()) : 0;
}

Worksheet Worksheets::GetItem(const char* name) const {
  if (!IsValid()) return {};
  std::string error;
  WorksheetModel* ws = m_book->model->sheet(name ? name : "", &error);
  if (!ws) {
    report(error);
    return {};
  }
  Worksheet sheet;
  sheet.m_book = m_book;
  sheet.m_sheet = ws;
  return sheet;
}

void Worksheets::Release() { *this = Worksheets(); }

// ---- Workbook ----

bool Workbook::IsValid() const { return isOpen(m_book); }

std::string Workbook::GetName() const { return IsValid() ? m_book->name : std::string(); }

Worksheets Workbook::GetWorksheets() const {
  Worksheets sheets;
  if (IsValid()) sheets.m_book = m_book;
  return sheets;
}

bool Workbook::SaveAs(const char* path) {
  if (!IsValid()) return false;
  std::string error;
  if (!path || !*path) {
    report("无法保存工作簿 " + m_book->name + ": 没有文件名");
    return false;
  }
  if (!m_book->model->saveAs(path, &error)) {
    report(error);
    return false;
  }
  return true;
}

void Workbook::Close() {
  if (m_book) m_book->model.reset();
}

void Workbook::Release() { *this = Workbook(); }

// ---- Workbooks ----

bool Workbooks::IsValid() const { return m_app && m_app->running; }

int Workbooks::GetCount() const {
  if (!IsValid()) return 0;
  int n = 0;
  for (const std::shared_ptr<detail::Book>& b : m_app->books) n += isOpen(b) ? 1 : 0;
  return n;
}

Workbook Workbooks::Add(const char* templatePath) {
  if (!IsValid()) return {};
  std::string path = templatePath ? templatePath : "";
  std::string error;
  std::unique_ptr<WorkbookModel> model = path.empty() ? nullptr : WorkbookModel::open(path, &error);
  if (!model) {
    report(path.empty() ? std::string("无法打开工作簿模板: 没有文件名") : error);
    return {};
  }
  auto book = std::make_shared<detail::Book>();
  book->model = std::move(model);
  book->name = bookNameOf(path);
  m_app->books.push_back(book);
  Workbook wb;
  wb.m_book = book;
  return wb;
}

void Workbooks::Release() { *this = Workbooks(); }

// ---- Application ----

bool Application::Start() {
  if (!m_app) m_app = std::make_shared<detail::App>();
  m_app->running = true;
  return true;
}

bool Application::IsValid() const { return m_app && m_app->running; }

Workbooks Application::GetWorkbooks() const {
  Workbooks books;
  if (IsValid()) books.m_app = m_app;
  return books;
}

bool Application::HandToUser(const char* path) {
  if (!IsValid()) return false;
  std::shared_ptr<detail::Book> active;
  for (const std::shared_ptr<detail::Book>& b : m_app->books)
    if (isOpen(b)) active = b;
  bool saved = false;
  if (!active) {
    report("没有可交给用户的工作簿");
  } else {
    Workbook wb;
    wb.m_book = active;
    saved = wb.SaveAs(path);
    if (saved) report("工作簿 " + active->name + " 已保存到 " + describePath(path));
  }
  m_app->closeAll();
  return saved;
}

void Application::Quit() {
  if (m_app) m_app->closeAll();
}

void Application::Release() { m_app.reset(); }

}  // namespace sheet
