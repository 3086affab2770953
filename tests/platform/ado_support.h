#pragma once
// A scratch database for the ADO tests: a copy of the empty template in a
// fresh folder, with an open connection.

#include <filesystem>
#include <string>
#include <vector>

#include "com/ado.h"
#include "fixtures/scheme_db.h"

namespace ado_test {

inline std::string errorText(HRESULT hr) {
  _com_error e(hr);
  return e.Description();
}

struct TestDb {
  std::string dir;
  std::string path;
  _ConnectionPtr conn;

  explicit TestDb(const char* file = "方案.mdb") {
    dir = fixtures::MakeTempFolder("ado");
    path = dir + "/" + file;
    std::filesystem::copy_file(fixtures::TemplateDatabasePath(), path);
    conn.CreateInstance("ADODB.Connection");
    conn->Open(_bstr_t(fixtures::ConnectionString(path)), _bstr_t(""), _bstr_t(""), -1);
  }
  ~TestDb() {
    conn.Release();
    fixtures::RemoveFolder(dir);
  }
  TestDb(const TestDb&) = delete;
  TestDb& operator=(const TestDb&) = delete;

  HRESULT exec(const std::string& sql, LONG* affected = nullptr) {
    _variant_t count;
    _RecordsetPtr rows;
    HRESULT hr = conn->Execute(_bstr_t(sql), &count, adCmdText, &rows);
    if (affected) *affected = count.vt == VT_I4 ? count.lVal : -1;
    return hr;
  }
  // An updatable recordset on `sql`; null when the open fails.
  _RecordsetPtr open(const std::string& sql, LockTypeEnum lock = adLockOptimistic, HRESULT* result = nullptr) {
    _RecordsetPtr rs;
    rs.CreateInstance("ADODB.Recordset");
    HRESULT hr = rs->Open(_variant_t(sql), _variant_t(static_cast<IDispatch*>(conn)), adOpenDynamic, lock, adCmdText);
    if (result) *result = hr;
    return SUCCEEDED(hr) ? rs : nullptr;
  }
  // What another connection sees: the committed rows, as text.
  std::vector<std::vector<std::string>> committed(const std::string& sql) {
    return fixtures::QueryRows(path, sql);
  }
};

inline _variant_t cell(_Recordset* rs, long index) {
  _variant_t v;
  rs->get_Collect(_variant_t(index), &v);
  return v;
}

inline _variant_t cell(_Recordset* rs, const char* name) {
  _variant_t v;
  rs->get_Collect(_variant_t(name), &v);
  return v;
}

inline bool eof(_Recordset* rs) {
  VARIANT_BOOL b = VARIANT_TRUE;
  rs->get_EOF(&b);
  return b != 0;
}

inline HRESULT put(_Recordset* rs, long index, const _variant_t& value) { return rs->put_Collect(_variant_t(index), value); }
inline HRESULT addNew(_Recordset* rs) { return rs->AddNew(vtMissingValue(), vtMissingValue()); }
inline HRESULT update(_Recordset* rs) { return rs->Update(vtMissingValue(), vtMissingValue()); }

// Column `col` of every row of `rows`, in order.
inline std::vector<std::string> column(const std::vector<std::vector<std::string>>& rows, size_t col) {
  std::vector<std::string> out;
  for (const auto& r : rows) out.push_back(col < r.size() ? r[col] : "?");
  return out;
}

}  // namespace ado_test
