// The host's own drawing commands: LINE, PLINE, TEXT, ERASE, ZOOM, SAVEAS,
// and GRIPMOVE, which does what dragging a grip does.
// They work on the working drawing and take their answers from the script as
// the editor's prompts do (arx/edinput.h).
#include <strings.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dxffile.h"
#include "arx/edcmdline.h"
#include "arx/edcommand.h"
#include "arx/edinput.h"
#include "arx/edoutput.h"
#include "arx/selection.h"
#include "win/transcript.h"

namespace {

AcGePoint3d toPoint(const ads_point p) { return AcGePoint3d(p[0], p[1], p[2]); }

// Appends an entity to model space of the working drawing; false (entity
// deleted) when there is no drawing.
bool appendToModelSpace(AcDbEntity* e, AcDbObjectId* id = nullptr) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTableRecord* ms = nullptr;
  if (!db || acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) {
    delete e;
    return false;
  }
  AcDbObjectId made;
  Acad::ErrorStatus es = ms->appendAcDbEntity(made, e);
  ms->close();
  if (es != Acad::eOk) {
    delete e;
    return false;
  }
  e->close();
  if (id) *id = made;
  return true;
}

void eraseEntity(AcDbObjectId id) {
  AcDbEntity* e = nullptr;
  if (acdbOpenAcDbEntity(e, id, AcDb::kForWrite) != Acad::eOk) return;
  e->erase();
  e->close();
}

// LINE: a line from each point to the next until Enter; "Close" closes the
// figure, "Undo" takes the last line back.
void cmdLine() {
  ads_point first, last, next;
  if (acedGetPoint(nullptr, "\nSpecify first point: ", first) != RTNORM) return;
  std::memcpy(last, first, sizeof last);
  std::vector<AcDbObjectId> made;
  std::vector<std::vector<double>> points{{first[0], first[1], first[2]}};
  for (;;) {
    acedInitGet(0, made.size() >= 2 ? "Close Undo" : "Undo");
    int rc = acedGetPoint(last, "\nSpecify next point or [Undo]: ", next);
    if (rc == RTKWORD) {
      char kw[ACED_INPUT_BUFFER];
      acedGetInput(kw, sizeof kw);
      if (std::strcmp(kw, "Close") == 0) {
        AcDbObjectId id;
        appendToModelSpace(new AcDbLine(toPoint(last), toPoint(first)), &id);
        return;
      }
      if (!made.empty()) {  // Undo
        eraseEntity(made.back());
        made.pop_back();
        points.pop_back();
        const auto& p = points.back();
        last[0] = p[0];
        last[1] = p[1];
        last[2] = p[2];
      }
      continue;
    }
    if (rc != RTNORM) return;  // Enter ends the command
    AcDbObjectId id;
    if (appendToModelSpace(new AcDbLine(toPoint(last), toPoint(next)), &id)) made.push_back(id);
    points.push_back({next[0], next[1], next[2]});
    std::memcpy(last, next, sizeof last);
  }
}

// PLINE: a lightweight polyline through the points given until Enter;
// "Width" sets the width of the segments that follow, "Close" closes it.
void cmdPline() {
  ads_point start, last, next;
  if (acedGetPoint(nullptr, "\nSpecify start point: ", start) != RTNORM) return;
  auto* pl = new AcDbPolyline();
  double width = 0;
  pl->addVertexAt(0, AcGePoint2d(start[0], start[1]), 0, width, width);
  pl->setElevation(start[2]);
  std::memcpy(last, start, sizeof last);
  bool closed = false;
  for (;;) {
    acedInitGet(0, "Close Width");
    int rc = acedGetPoint(last, "\nSpecify next point or [Close/Width]: ", next);
    if (rc == RTKWORD) {
      char kw[ACED_INPUT_BUFFER];
      acedGetInput(kw, sizeof kw);
      if (std::strcmp(kw, "Close") == 0) {
        closed = true;
        break;
      }
      ads_real w = width;
      acedInitGet(4, nullptr);  // no negative width
      int wr = acedGetDist(last, "\nSpecify width <0>: ", &w);
      if (wr == RTNORM) width = w;
      else if (wr != RTNONE) break;
      pl->setWidthsAt(pl->numVerts() - 1, width, width);
      continue;
    }
    if (rc != RTNORM) break;
    pl->addVertexAt(pl->numVerts(), AcGePoint2d(next[0], next[1]), 0, width, width);
    std::memcpy(last, next, sizeof last);
  }
  if (pl->numVerts() < 2) {
    delete pl;
    return;
  }
  pl->setClosed(closed);
  appendToModelSpace(pl);
}

// TEXT: start point, height, rotation angle in degrees, and the text.
void cmdText() {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (!db) return;
  ads_point at;
  if (acedGetPoint(nullptr, "\nSpecify start point of text: ", at) != RTNORM) return;
  char prompt[96];
  std::snprintf(prompt, sizeof prompt, "\nSpecify height <%g>: ", db->textsize());
  ads_real height = db->textsize();
  acedInitGet(2 | 4, nullptr);  // neither zero nor negative
  int rc = acedGetDist(at, prompt, &height);
  if (rc != RTNORM && rc != RTNONE) return;
  ads_real degrees = 0;
  rc = acedGetReal("\nSpecify rotation angle of text <0>: ", &degrees);
  if (rc != RTNORM && rc != RTNONE) return;
  char text[ACED_INPUT_BUFFER * 4];
  if (acedGetString(1, "\nEnter text: ", text, sizeof text) != RTNORM) return;
  if (!*text) return;
  db->setTextsize(height);
  auto* t = new AcDbText(toPoint(at), text, db->textstyle(), height, degrees * std::numbers::pi / 180.0);
  appendToModelSpace(t);
}

// ERASE: the objects selected (a selection set passed by acedCommand, entity
// names, handles "#2A", points, "ALL", "L") until Enter.
void cmdErase() {
  ads_name ss;
  int rc = acedSSGet(nullptr, nullptr, nullptr, nullptr, ss);
  if (rc != RTNORM) {
    if (rc == RTERROR) platform::transcriptWrite("\nNothing selected.\n");
    return;
  }
  AcDbObjectIdArray ids = platform::selectionSetIds(ss);
  acedSSFree(ss);
  for (const AcDbObjectId& id : ids) eraseEntity(id);
  acutPrintf("\n%d object(s) erased.\n", ids.length());
}

// ZOOM: Window (two corners), Extents or All; a point starts a window.
void setView(double x0, double y0, double x1, double y1) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbViewportTable* vt = nullptr;
  if (!db || db->getViewportTable(vt, AcDb::kForRead) != Acad::eOk) return;
  AcDbViewportTableRecord* active = nullptr;
  if (vt->getAt("*Active", active, AcDb::kForWrite) == Acad::eOk) {
    double w = std::fabs(x1 - x0), h = std::fabs(y1 - y0);
    active->setCenterPoint(AcGePoint2d((x0 + x1) / 2, (y0 + y1) / 2));
    if (h > 0) active->setHeight(h);
    if (w > 0) active->setWidth(w);
    active->close();
  }
  vt->close();
}

void cmdZoom() {
  ads_point a, b;
  acedInitGet(0, "All Extents Window");
  int rc = acedGetPoint(nullptr, "\nSpecify corner of window or [All/Extents/Window]: ", a);
  if (rc == RTKWORD) {
    char kw[ACED_INPUT_BUFFER];
    acedGetInput(kw, sizeof kw);
    if (std::strcmp(kw, "Window") != 0) {
      AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
      if (!db) return;
      db->updateExt();
      if (db->extmin().x <= db->extmax().x) setView(db->extmin().x, db->extmin().y, db->extmax().x, db->extmax().y);
      return;
    }
    if (acedGetPoint(nullptr, "\nSpecify first corner: ", a) != RTNORM) return;
  } else if (rc != RTNORM) {
    return;
  }
  if (acedGetPoint(a, "\nSpecify opposite corner: ", b) != RTNORM) return;
  setView(a[0], a[1], b[0], b[1]);
}

// SAVEAS: an optional file format or plot scale, and the file name. A name
// ending in .svg draws model space as SVG (the drawing keeps its file name),
// at the plot scale "1:N" given before it, if any; any other is written as
// DXF.
void cmdSaveAs() {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (!db) return;
  char name[1024];
  int rc = acedGetString(1, "\nSave drawing as: ", name, sizeof name);
  platform::SvgOptions svg;
  const bool scaleGiven = rc == RTNORM && std::strncmp(name, "1:", 2) == 0;
  if (scaleGiven && !platform::parsePlotScale(name, false, svg.plotScale)) {
    platform::endRunWithError(std::string("SAVEAS: ") + name + " is no plot scale (1:N, N a positive number)");
    return;
  }
  if (rc == RTNORM && (scaleGiven || strcasecmp(name, "DXF") == 0 || std::strcmp(name, "2000") == 0 ||
                       strcasecmp(name, "R2000") == 0))
    rc = acedGetString(1, "\nSave drawing as: ", name, sizeof name);
  if (rc == RTNONE || (rc == RTNORM && !*name)) {
    // An empty name saves nothing: the script must not go on as if it had.
    platform::endRunWithError("SAVEAS: no file name given: nothing was saved");
    return;
  }
  if (rc != RTNORM) return;
  const size_t length = std::strlen(name);
  const bool isSvg = length > 4 && strcasecmp(name + length - 4, ".svg") == 0;
  if (scaleGiven && !isSvg) {
    platform::endRunWithError(std::string("SAVEAS: a plot scale is for an SVG, not for ") + name);
    return;
  }
  if (isSvg) {
    const Acad::ErrorStatus es = platform::exportSvg(*db, name, svg);
    if (es == Acad::eOk) {
      acutPrintf("\nSaved %s\n", name);
      return;
    }
    platform::endRunWithError(std::string("SAVEAS: cannot write drawing ") + name + " (" + acadErrorStatusText(es) + ")");
    return;
  }
  Acad::ErrorStatus es = db->saveAs(name);
  if (es == Acad::eOk) {
    acutPrintf("\nSaved %s\n", db->filename());
    return;
  }
  // A drawing that could not be written ends the script: what follows may
  // rely on the file.
  platform::endRunWithError(std::string("SAVEAS: cannot write drawing ") + name + " (" + acadErrorStatusText(es) + ")");
}

// GRIPMOVE: what dragging one grip of an entity does. The entity (a pick or
// "#handle"), the grip (a point: the entity's grip nearest to it) and the
// point it is dragged to ("@dx,dy" is taken from the grip). The entity is
// opened for write, moves that grip and is closed, so that its reactors hear
// of the change as they do of a user's drag.
void cmdGripMove() {
  ads_name picked;
  ads_point where;
  if (acedEntSel("\nSelect object: ", picked, where) != RTNORM) {
    platform::transcriptWrite("\nNothing selected.\n");
    return;
  }
  AcDbObjectId id;
  acdbGetObjectId(id, picked);
  AcDbEntity* e = nullptr;
  Acad::ErrorStatus es = acdbOpenAcDbEntity(e, id, AcDb::kForRead);
  if (es != Acad::eOk) {
    acutPrintf("\nThe object cannot be opened (error %d).\n", static_cast<int>(es));
    return;
  }
  AcGePoint3dArray grips;
  AcDbIntArray osnapModes, geomIds;
  e->getGripPoints(grips, osnapModes, geomIds);
  e->close();
  if (grips.isEmpty()) {
    platform::transcriptWrite("\nThe object has no grips.\n");
    return;
  }
  ads_point near;
  if (acedGetPoint(nullptr, "\nSpecify grip: ", near) != RTNORM) return;
  int grip = 0;
  for (int i = 1; i < grips.length(); ++i)
    if (grips[i].distanceTo(toPoint(near)) < grips[grip].distanceTo(toPoint(near))) grip = i;
  ads_point from = {grips[grip].x, grips[grip].y, grips[grip].z}, to;
  platform::setLastPoint(from);
  if (acedGetPoint(from, "\nSpecify stretch point: ", to) != RTNORM) return;
  es = acdbOpenAcDbEntity(e, id, AcDb::kForWrite);
  if (es != Acad::eOk) {
    acutPrintf("\nThe object cannot be opened for write (error %d).\n", static_cast<int>(es));
    return;
  }
  AcDbIntArray moved;
  moved.append(grip);
  es = e->moveGripPointsAt(moved, toPoint(to) - grips[grip]);
  e->close();
  if (es != Acad::eOk) acutPrintf("\nThe grip cannot be moved (error %d).\n", static_cast<int>(es));
}

const platform::BuiltinCommand g_line("LINE", &cmdLine);
const platform::BuiltinCommand g_pline("PLINE", &cmdPline);
const platform::BuiltinCommand g_text("TEXT", &cmdText);
const platform::BuiltinCommand g_erase("ERASE", &cmdErase);
const platform::BuiltinCommand g_zoom("ZOOM", &cmdZoom);
const platform::BuiltinCommand g_saveas("SAVEAS", &cmdSaveAs);
const platform::BuiltinCommand g_gripmove("GRIPMOVE", &cmdGripMove);

}  // namespace
