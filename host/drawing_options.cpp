// The drawing options of cadhost, on the working drawing of the platform.
#include "drawing_options.h"

#include "arx/dbdatabase.h"
#include "arx/dxffile.h"

bool openDrawing(const std::string& path, std::string& error) {
  auto* db = new AcDbDatabase(false);
  Acad::ErrorStatus es = db->readDwgFile(path.c_str());
  if (es != Acad::eOk) {
    delete db;
    error = "cannot open drawing " + path + " (" + acadErrorStatusText(es) + ")";
    return false;
  }
  platform::setCurrentDrawing(db);
  return true;
}

bool saveDrawing(const std::string& path, std::string& error) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (!db) {
    error = "cannot save " + path + ": no drawing is open";
    return false;
  }
  Acad::ErrorStatus es = db->saveAs(path.c_str());
  if (es != Acad::eOk) {
    error = "cannot save drawing " + path + " (" + acadErrorStatusText(es) + ")";
    return false;
  }
  return true;
}

bool exportSvg(const std::string& path, double scale, std::string& error) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (!db) {
    error = "cannot write " + path + ": no drawing is open";
    return false;
  }
  platform::SvgOptions options;
  options.plotScale = scale;
  Acad::ErrorStatus es = platform::exportSvg(*db, path, options);
  if (es != Acad::eOk) {
    error = "cannot write " + path + " (" + acadErrorStatusText(es) + ")";
    return false;
  }
  return true;
}
