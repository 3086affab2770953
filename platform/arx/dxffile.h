#pragma once
// Drawings as DXF files: version AC1015 (R2000), code page ANSI_936, text in
// GBK (characters GBK lacks are written as \U+XXXX), CRLF line ends.
//
// The file holds HEADER, CLASSES, TABLES (VPORT, LTYPE, LAYER, STYLE, VIEW,
// UCS, APPID, DIMSTYLE, BLOCK_RECORD), BLOCKS, ENTITIES and OBJECTS (the
// named-object dictionary, the group dictionary with its groups, the layouts).
// Every object keeps its handle through save and open.
//
// Custom entities. An entity of a class that a module registered is written
// under the class's DXF name with the common entity groups (layer 8, colour
// 62, line type 6, line-type scale 48, line weight 370, visibility 60), then
// the subclass marker "100 <class name>" and then, in filing order, the
// fields its dwgOutFields files, one group per value by the rule of
// dbfiler.h (90 for a 32-bit integer, 40 for a double, 10/20/30 for a point,
// 1 for a string, ...). A string longer than 250 bytes is written as groups 3
// of 250 bytes followed by a group 1 with the rest.
//
// A registered DXF name that cannot stand as an entity type (it must start
// with a letter and hold only upper-case letters, digits and '_', and must not
// be the name of a plain entity such as LINE) is written under a safe name:
// the class name in upper case with every other character turned into '_'
// (and "_<n>" added while that is taken). The CLASSES section names every
// custom class: group 1 the name used in the file, 2 the class name, 3 the
// application name, 90 the proxy flags, 91 the number of its entities in the
// file, 280 0 and 281 1; when the file name differs from the registered DXF
// name, a group 4 after group 3 keeps the registered name. Reading maps an
// entity type back to its class by the CLASSES entry's class name, so an
// entity returns to the same class; an entity whose class is not registered
// becomes a proxy (dbproxy.h) that keeps its fields.
//
// Strings of every kind may hold any character: control characters are
// written with a caret (^J for a line feed, "^ " for a caret).

#include <string>
#include <string_view>

#include "arx/dbdatabase.h"

namespace platform {

struct DxfWriteOptions {
  // Replace every custom entity (and proxy) by the plain entities its
  // worldDraw draws (export for viewing); no CLASSES entries are written.
  bool explodeCustom = false;
};

// Writes the database to `path` (through the path resolver).
PLATFORM_API Acad::ErrorStatus writeDxf(AcDbDatabase& db, const std::string& path,
                                        const DxfWriteOptions& options = {});
PLATFORM_API std::string writeDxfToString(AcDbDatabase& db, const DxfWriteOptions& options = {});
// Reads a DXF file into an empty database; `error` names what went wrong.
PLATFORM_API Acad::ErrorStatus readDxf(AcDbDatabase& db, const std::string& path, std::string& error);
PLATFORM_API Acad::ErrorStatus readDxfFromString(AcDbDatabase& db, std::string_view data, std::string& error);

// A DXF for viewing: every custom entity replaced by the plain entities it draws.
PLATFORM_API Acad::ErrorStatus exportViewDxf(AcDbDatabase& db, const std::string& path);
// An SVG of model space: what every entity draws, as a plot of the drawing
// (svgexport.cpp says how lines, line types, texts and pages are drawn).
struct SvgOptions {
  // The plot scale 1:N: one drawing unit is 1000 / N mm on the page, and a
  // drawing wider than a page is laid out page by page. 0: no scale, the
  // drawing fitted into 1000 pixels on its longer side.
  double plotScale = 0;
};
PLATFORM_API Acad::ErrorStatus exportSvg(AcDbDatabase& db, const std::string& path, const SvgOptions& options = {});
PLATFORM_API std::string svgOfModelSpace(AcDbDatabase& db, const SvgOptions& options = {});
// A plot scale as typed: "1:N" or, where `bare` allows it, "N"; N a number
// from 1e-6 to 1e18. False for anything else.
PLATFORM_API bool parsePlotScale(const std::string& text, bool bare, double& scale);

// The RGB colour of a colour index 1..255 (7 is drawn black on white).
PLATFORM_API unsigned colorIndexToRgb(int index);

// UTF-8 to the GBK of drawing files and back: characters GBK lacks become
// \U+XXXX (DXF's escape; a character beyond U+FFFF as two of them), which is
// read back, so every text survives a save and an open.
PLATFORM_API std::string utf8ToDxfGbk(std::string_view text);
PLATFORM_API std::string dxfGbkToUtf8(std::string_view text);

}  // namespace platform
