#pragma once
// One line of a design scheme in plan: its intersection points (IPs) with
// their curves, the line elements built from them, the key points of every
// curve, its chainage-break table and a station list.
//
// Mileages are continuous mileages along the line; chainages go through the
// break table (MileageToChainage, ChainageToMileage). The model is filled
// either from a list of IP records (CreateFromRecords) or by the scheme import,
// which sets the break table (SetBreakTable) and builds the elements again.
//
// Limits: 200 IPs, 800 work slots (four per IP), 800 placed elements and 50
// breaks. Input beyond them is refused with a message on the command line;
// nothing is written past an array.

#include <cstddef>
#include <vector>

#include "geometry/BAS_DRAW_FUN.h"
#include "mfc/collections.h"
#include "mfc/cstring.h"
#include "project/BreakTable.h"

// An intersection point. In the start record (index 0) L1 holds the start
// continuous mileage of the line.
struct IpRecord {
  double number = 0.0;  // not used by the computations
  double x = 0.0;       // north
  double y = 0.0;       // east
  double L1 = 0.0;      // entry transition length
  double R = 0.0;       // radius, > 0 for a curve
  double L2 = 0.0;      // exit transition length
};

// The key points and elements of the curve at one IP. Record 0 holds the
// start mileage in all four key points; the record of the last IP holds the
// end mileage in all four.
struct CurveRecord {
  double ZH = 0.0;  // start of the entry transition
  double HY = 0.0;  // start of the circular part
  double YH = 0.0;  // end of the circular part
  double HZ = 0.0;  // end of the exit transition
  double alpha = 0.0;  // deflection (radians)
  double T1 = 0.0;     // entry tangent
  double T2 = 0.0;     // exit tangent
  double L = 0.0;      // total curve length
  double turn = 0.0;   // +1 the bearing grows along the curve, -1 it falls
};

// Kinds of the entries of a station list.
enum StationKind {
  kStationRegular = 0,  // a multiple of the interval, or the end of the range
  kStationBreak = -1,   // a chainage break (also the start of the line)
  kStationZH = 5,
  kStationHY = 6,
  kStationYH = 7,
  kStationHZ = 8,
  kStationBridgeStart = -3,
  kStationBridgeEnd = 3,
  kStationTunnelStart = -4,
  kStationTunnelEnd = 4,
  kStationStationStart = -9,
  kStationStationEnd = 9,
  kStationOtherStart = -10,
  kStationOtherEnd = 10,
};

// One entry of a station list.
struct StationPoint {
  int kind = kStationRegular;
  double mileage = 0.0;
};

// A structure's extent along the line, in continuous mileage.
struct MileageRange {
  double start = 0.0;
  double end = 0.0;
};

class AlignmentModel : public BAS_DRAW_FUN {
 public:
  static constexpr int kMaxIps = 200;
  static constexpr int kSlotsPerIp = 4;  // straight, entry clothoid, arc, exit clothoid
  static constexpr int kMaxWorkElements = kMaxIps * kSlotsPerIp;
  static constexpr int kMaxElements = 800;  // placed elements, the end record included
  static constexpr int kMaxBreaks = 50;

  // An empty name text and station list, then Reset.
  AlignmentModel();
  ~AlignmentModel() override;
  AlignmentModel(const AlignmentModel&) = delete;
  AlignmentModel& operator=(const AlignmentModel&) = delete;

  // Clears every IP, curve and break slot; no IPs, no elements; the default
  // break table {0, 0, "AK", "AK"}, {9000000, 0, "AK", "AK"}; IP prefix "JD";
  // reads the technical parameters and takes speed, name text and the second
  // parameter from them; empties the station list and the work buffers.
  // Returns 1.
  int Reset();

  // Stores break record `index` (0 .. breakCount-1; 0 otherwise, silently).
  // Record 0 also sets the start record's mileage (ips[0].L1) to
  // before + length. The elements are not rebuilt.
  int SetBreak(int index, double before, double length, const char* prefixBefore, const char* prefixAfter);

  // Replaces the break table by `count` records (1 .. 50). A count outside
  // that is refused with a message; the table stays as it was. Returns 1 or 0.
  // The elements are not rebuilt (the import builds them again afterwards).
  int SetBreakTable(int count, const BreakRecord* records);

  // Resets the model, then takes n IP records (2 .. 200) with the IP name
  // prefix `ipPrefix`, a break table {ips[0].L1, 0, prefix, prefix} and the
  // end record that BuildLineElements writes, and builds the elements.
  // Returns 1 when built; 0 when refused (too few or too many IPs, an inner IP
  // without a positive radius; a message names the fault), the model then
  // holds no elements.
  int CreateFromRecords(int n, const IpRecord* records, const char* prefix, const char* ipPrefix);

  // Builds the work elements, the curve records, the compact element list
  // with the start state of every element (and the end of the line in the
  // record after the last), the line length and the break table's end record.
  // Curve warnings go to the command line and never stop the build. Returns 1;
  // 0, with a message and an empty element list, when the IPs cannot make a
  // line (fewer than two, or an inner IP whose radius is not above 0).
  int BuildLineElements();

  // True when the element list holds a line (the last build succeeded).
  bool IsBuilt() const { return elementCount > 1; }
  double StartMileage() const { return curves[0].ZH; }
  double EndMileage() const { return ipCount > 0 ? curves[ipCount - 1].ZH : curves[0].ZH; }

  // ---- Chainage and continuous mileage through the model's own table -----
  // `count` records are used (bounded to the table's room).
  double MileageToChainage(double mileage, char* prefixOut, int count, size_t prefixOutSize = kChainPrefixSize) const;
  double ChainageToMileage(const char* chainageText, int count) const;

  // ---- The station list ---------------------------------------------------
  // Empties the list, then lists the breaks and the stations at every
  // multiple of `interval` of each chainage run between startMileage and
  // endMileage (with 0.001 allowance), and the end. Returns the number of
  // entries. An interval that is not above 0 is refused with a message (the
  // list is left empty, result 0).
  int BuildStationList(double interval, double startMileage, double endMileage);
  // Merges the key points ZH, HY, YH, HZ of every curve into the list. Returns 1.
  int InsertCurvePoints();
  // Merges the start and end of every range longer than 0.01 m, with the kinds
  // of `letter` ('B' bridge, 'T' tunnel, 'S' station, other letters).
  void InsertStructurePoints(int count, const MileageRange* ranges, char letter);

  // ---- State (read directly by the designer and the imports) -------------
  double lineLength = 0.0;  // end mileage - start mileage
  double speed = 0.0;       // design speed of the technical parameters
  CString nameText;         // name text of the technical parameters
  double param2 = 0.0;      // second parameter of the technical parameters

  IpRecord ips[kMaxIps];
  LineElement workElements[kMaxWorkElements];  // four slots per IP; slot 0 of IP 0: the start record
  PlacedElement elements[kMaxElements];        // start record, elements, then the end of the line
  CurveRecord curves[kMaxIps];

  int ipCount = 0;
  int elementCount = 0;  // records in `elements` before the end record, start record included
  int breakCount = 2;
  int curveNumberOffset = 0;  // added to the curve number in the ZH/ZY warning

  BreakRecord breaks[kMaxBreaks];
  char ipPrefix[kChainPrefixSize] = {};

  CArray<StationPoint, const StationPoint&> stations;
  int stationCount = 0;

  // Per-station work arrays that the fill/cut computations allocate and fill;
  // freed with the model and emptied by Reset.
  std::vector<double> stationWork[3];

 private:
  void ClearElements();
  bool CheckIps();
  void BuildCurves(const double* legBearing, const double* legLength);
  int CompactElements(const double* legBearing);
  void PlaceElementStarts(int count);
  void WriteEndBreak();
  void MergeIntoStations(std::vector<StationPoint>& points);
};
