// AlignmentModel: the chainage marks of the base line and of the detour
// segments of the side lines.
//
// Break i of a line has the chainage V before it and A after it (L = A − V:
// positive a short chain, negative a long one). Break 0 lies at mileage A0
// on the base line, at 0 on a detour segment's own element list, and break
// i + 1 at M(i+1) = M(i) + V(i+1) − A(i); a chainage c between breaks i and
// i + 1 lies at M(i) + c − A(i). "Outward" is the side of the marks: the
// bearing plus side × π/2.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "PlanLayers.h"
#include "arx/edoutput.h"
#include "arx/rtos.h"
#include "geometry/ElementState.h"

namespace {

using plandraw::kPi;

// Above this interval the marks show kilometres only, with plain ticks at
// the kilometres between them.
constexpr double kKilometreStyle = 4999.0;
constexpr double kKilometre = 1000.0;
// Tick of a mark: this many text heights outward.
constexpr double kMarkTick = 0.4;
// The smallest interval the marks accept (the settings offer 100 and more).
constexpr double kSmallestInterval = 1.0;

// The hundreds round a break with chainage `before` and `after` that bound
// the box of the hectometre the break shortens or lengthens: B at or before
// the break, A after it (a value within 0.001 m of a hundred lies on it).
void HundredsRoundBreak(double before, double after, double& B, double& A) {
  auto offHundred = [](double v) { return std::fabs(v - 100.0 * std::floor(v / 100.0 + 0.0001)); };
  const double rB = offHundred(before);
  const double rA = offHundred(after);
  const double nextAfter = 100.0 * std::floor(after / 100.0 + 1.0001);
  if (rB < 0.001 && rA < 0.001) {
    B = before - 100.0;
    A = after;
  } else if (rB < 0.001 && rA > 0.001) {
    B = before;
    A = nextAfter;
  } else if (rB > 0.001 && rA < 0.001) {
    B = 100.0 * std::floor(before / 100.0 - 1.0 + 0.0001);
    A = nextAfter;
  } else {
    B = 100.0 * std::floor(before / 100.0 + 0.0001);
    A = nextAfter;
  }
}

// The label of a mark at chainage c: the hundreds digit, or at a whole
// kilometre the prefix and the kilometres (with the five-kilometre rule of
// the base line's 5000 m marks: "5" at the odd multiples of 5 km).
CString MarkLabel(double c, double interval, const CString& prefix, bool fiveKilometreRule) {
  char buffer[64];
  acdbRToS(c, 2, 0, buffer);
  std::string digits(buffer, std::min<size_t>(19, std::char_traits<char>::length(buffer)));
  if (interval >= 100.0) digits = digits.size() > 2 ? digits.substr(0, digits.size() - 2) : "0";
  if (digits.size() == 1) return CString(digits.c_str());
  const char hundreds = digits.back();
  if (hundreds != '0') return CString(std::string(1, hundreds).c_str());
  const std::string kilometres = digits.substr(0, digits.size() - 1);
  if (fiveKilometreRule && std::fabs(interval - 5000.0) < 0.001) {
    const double tens = c / 10000.0;
    if (tens - std::floor(tens) > 0.1) return CString("5");
    CString label;
    label.Format("%s%d", prefix.GetString(), std::atoi(kilometres.c_str()));
    return label;
  }
  return prefix + kilometres.c_str();
}

// The text of a break's length: " 短链 <L>" (a short chain) or " 长链 <|L|>".
CString ChainText(double length, const CString& number) { return CString(length > 0.0 ? " 短链 " : " 长链 ") + number; }

// The rotation of a text beside the line at bearing b: across the line,
// reading away from it on the side where it stands. A label mode of 1 or
// less turns it by a further −π/2, to read along the line.
double AcrossRotation(double bearing, int direction) {
  return plandraw::Normalized(direction >= 0 ? -bearing : kPi - bearing);
}

// The marking of one element list: where its points lie, which of them the
// drawing range takes, on which side and how far out the marks stand.
class Marker {
 public:
  Marker(const AlignmentModel& model, const ElementRecord* elements, int count, const DrawingRange& range,
         double rangeOffset, int side, double shift, const char* layer)
      : m_model(model),
        m_elements(elements),
        m_count(count),
        m_range(range),
        m_rangeOffset(rangeOffset),
        m_side(side),
        m_shift(shift),
        m_layer(layer) {}

  bool PointAt(double mileage, LinePoint& p) const {
    p = LinePoint{};
    p.mileage = mileage;
    return m_count > 0 && m_model.PointAtDistance(m_elements, m_count, p) >= kElementStraight;
  }
  // The line's first and last mileage.
  double First() const { return m_elements[1].mileage; }
  double Last() const { return m_elements[m_count].mileage; }
  LinePoint EndPoint() const { return StartStateOf(m_elements[m_count]); }
  // The point at a mileage, on the line's end tangent beyond its ends.
  LinePoint Near(double mileage) const {
    LinePoint p;
    return PointAt(mileage, p) ? p : PointOnEndTangent(m_elements, m_count, mileage);
  }
  bool InRange(double mileage, double tolerance) const {
    const double m = mileage + m_rangeOffset;
    return m >= m_range.start - tolerance && m <= m_range.end + tolerance;
  }
  double Outward(double bearing) const { return bearing + m_side * kPi / 2.0; }
  // The point of the line moved out by the shift of the marks.
  AcGePoint3d Foot(const LinePoint& p) const { return plandraw::Polar(plandraw::At(p), m_shift, Outward(p.bearing)); }
  // A tick of `length` outward from the line's point at `mileage`, drawn when
  // the point is on the line and within the range (± 0.01).
  bool Tick(double mileage, double length) const {
    LinePoint p;
    if (!PointAt(mileage, p)) return false;
    if (InRange(mileage, 0.01)) {
      plandraw::Line(Foot(p), plandraw::Polar(Foot(p), length, Outward(p.bearing)), -1, m_layer);
    }
    return true;
  }
  // A labelled mark: its tick and its label `gap` + half its length out.
  bool Mark(double mileage, const CString& label, double h, double f, double gap, double rotationTurn,
            int direction) const {
    LinePoint p;
    if (!PointAt(mileage, p)) return false;
    if (!InRange(mileage, 0.01)) return true;
    const double out = Outward(p.bearing);
    plandraw::Line(Foot(p), plandraw::Polar(Foot(p), kMarkTick * h, out), -1, m_layer);
    const AcGePoint3d at = plandraw::Polar(Foot(p), gap + 0.5 * plandraw::Width(label) * f * h, out);
    const double rotation = plandraw::Normalized(AcrossRotation(p.bearing, direction) + rotationTurn);
    plandraw::Text(at, label, rotation, h, plandraw::kMiddle, m_layer);
    return true;
  }
  // A start or end label at `p`: a tick of (larger count + 8) × h outward,
  // its line-side end moved out by the shift, the two texts middle-aligned
  // at its middle, the first h × f back along the line, the second h × f on.
  void EndLabel(const LinePoint& p, const CString& first, const CString& second, double h, double f,
                double rotationTurn, int direction) const {
    const double out = Outward(p.bearing);
    const double length = (std::max(plandraw::Width(first), plandraw::Width(second)) + 8) * h;
    const AcGePoint3d p0 = Foot(p);
    const AcGePoint3d p1 = plandraw::Polar(plandraw::At(p), length, out);
    plandraw::Line(p0, p1, -1, m_layer);
    const AcGePoint3d middle = plandraw::Middle(p0, p1);
    const double rotation = plandraw::Normalized(AcrossRotation(p.bearing, direction) + rotationTurn);
    plandraw::Text(plandraw::Polar(middle, -h * f, p.bearing), first, rotation, h, plandraw::kMiddle, m_layer);
    plandraw::Text(plandraw::Polar(middle, h * f, p.bearing), second, rotation, h, plandraw::kMiddle, m_layer);
  }
  // The point of the line moved out by the shift along `bearing`.
  AcGePoint3d FootAlong(const LinePoint& p, double bearing) const {
    return plandraw::Polar(plandraw::At(p), m_shift, bearing);
  }
  const char* Layer() const { return m_layer; }
  int Side() const { return m_side; }

 private:
  const AlignmentModel& m_model;
  const ElementRecord* m_elements;
  int m_count;
  const DrawingRange& m_range;
  double m_rangeOffset;
  int m_side;
  double m_shift;
  const char* m_layer;
};

// Whether marks can be set at this interval; a note on the command line when not.
bool UsableInterval(double interval) {
  const bool usable = std::isfinite(interval) && interval >= kSmallestInterval;
  if (!usable) acutPrintf("\n里程标间隔%.3f无效,未标注里程标!\n", interval);
  return usable;
}

// The first mark chainage of the stretch after a break, moved on to the
// first mark that can lie on the line when the stretch begins far before it
// (`lowest`: the chainage of the line's start in this stretch).
double FirstMark(double after, double interval, double tolerance, double lowest) {
  double c = interval * std::trunc(after / interval + 0.0001);
  if (c - after < tolerance) c += interval;
  const double jump = interval * std::floor(lowest / interval);
  return jump > c ? jump : c;
}

// The mileages mB and mA of the hundreds round a break: a box longer than
// 150 m or shorter than 50 m is one hectometre off, and mA moves by 100 m.
void CorrectBox(double mB, double& mA) {
  if (mA - mB > 150.0) mA -= 100.0;
  if (mA - mB < 50.0) mA += 100.0;
}

// The mileages of the two break texts: the chainage before stands before
// the break point and the chainage after beyond it, each 0.2h clear of it
// (a text's glyphs run h along the line, forward or back as the direction
// turns them).
void BreakTextMileages(double M, double h, int direction, double& before, double& after) {
  before = direction == -1 ? M - 0.2 * h : M - 1.2 * h;
  after = direction == -1 ? M + 1.2 * h : M + 0.2 * h;
}

// An inner break of the base line: its texts and tick, and (k < 29) the box
// of the hectometre it breaks with the hectometre's true length.
void DrawBaseBreak(AlignmentModel& model, const Marker& marker, const BreakRecord& r, double M) {
  const PlanSettings& s = model.settings;
  const char* layer = marker.Layer();
  const double h = s.textHeight;
  const double k = s.scaleFactor;
  const double after = r.before + r.length;

  double B, A;
  HundredsRoundBreak(r.before, after, B, A);
  char text[kChainageTextSize];
  BAS_DRAW_FUN::ChainageToText(CString(r.prefixBefore), B, text);
  const double mB = model.ChainageToMileage(text);
  BAS_DRAW_FUN::ChainageToText(CString(r.prefixAfter), A, text);
  double mA = model.ChainageToMileage(text);
  CorrectBox(mB, mA);

  const CString first =
      CString("  ") + model.FormatChainageWithPrecision(r.prefixBefore, r.before, s.chainageDigits, text);
  CString second = CString(" =") + model.FormatChainageWithPrecision(r.prefixAfter, after, s.chainageDigits, text);
  if (std::fabs(r.length) > 1e-5) {
    char number[400];
    model.FormatReal(std::fabs(r.length), s.chainageDigits, number);
    second += ChainText(r.length, number) + " m";
  }
  double firstAt, secondAt;
  BreakTextMileages(M, h, s.direction, firstAt, secondAt);
  LinePoint p1, p2, pb;
  const bool on1 = marker.PointAt(firstAt, p1);
  const bool on2 = marker.PointAt(secondAt, p2);
  const bool onBreak = marker.PointAt(M, pb);
  const double rotation = AcrossRotation(on1 ? p1.bearing : on2 ? p2.bearing : pb.bearing, s.direction);
  const int mode = marker.Side() * s.direction == 1 ? plandraw::kLeft : plandraw::kRight;
  if (on1 && marker.InRange(firstAt, 0.001)) {
    plandraw::Text(plandraw::Polar(plandraw::At(p1), 2.0 * k + h, marker.Outward(p1.bearing)), first, rotation, h, mode,
                   layer);
  }
  if (on2 && marker.InRange(secondAt, 0.001)) {
    plandraw::Text(plandraw::Polar(plandraw::At(p2), 2.0 * k + h, marker.Outward(p2.bearing)), second, rotation, h,
                   mode, layer);
  }
  if (!onBreak) return;
  model.settings.tickLength = plandraw::Width(second) * h * s.labelFactor;
  marker.Tick(M, s.tickLength);

  if (k >= AlignmentModel::kShortCurveLabels) return;
  const double t = plandraw::Width(second) * h * s.labelFactor * 1.2;
  model.settings.tickLength = t;
  const double out = marker.Outward(pb.bearing);
  LinePoint qB, qA;
  const bool onB = marker.PointAt(mB, qB);
  const bool onA = marker.PointAt(mA, qA);
  if (onB && marker.InRange(mB, 0.01)) {
    plandraw::Line(plandraw::At(qB), plandraw::Polar(plandraw::At(qB), t, out), -1, layer);
  }
  if (onA && marker.InRange(mA, 0.01)) {
    plandraw::Line(plandraw::At(qA), plandraw::Polar(plandraw::At(qA), t, out), -1, layer);
  }
  if (!onB || !onA || !marker.InRange(mA, 0.001)) return;
  const AcGePoint3d outerB = plandraw::Polar(plandraw::At(qB), t, out);
  const AcGePoint3d outerA = plandraw::Polar(plandraw::At(qA), t, out);
  const AcGePoint3d innerB = plandraw::Polar(plandraw::At(qB), t - 10.0 * k, out);
  const AcGePoint3d innerA = plandraw::Polar(plandraw::At(qA), t - 10.0 * k, out);
  plandraw::Line(outerB, outerA, -1, layer);
  plandraw::Line(innerB, innerA, -1, layer);
  double length = mA - mB;
  length -= kKilometre * std::floor(length / kKilometre + 0.0001);
  char number[400];
  model.FormatReal(length, s.chainageDigits, number);
  const AcGePoint3d centre((outerB.x + outerA.x + innerB.x + innerA.x) / 4.0,
                           (outerB.y + outerA.y + innerB.y + innerA.y) / 4.0, 0.0);
  const double along = plandraw::Normalized((s.direction < 0 ? 2.5 * kPi : 1.5 * kPi) - pb.bearing);
  plandraw::Text(centre, number, along, h, plandraw::kMiddle, layer);
}

// An inner break of a detour segment: its texts centred beside the line,
// its tick and ticks at the hundreds round it (no box).
void DrawSegmentBreak(AlignmentModel& model, const Marker& marker, const PlanBreakRecord& r, double M,
                      double rotationTurn) {
  const PlanSettings& s = model.settings;
  const char* layer = marker.Layer();
  const double h = s.textHeight;
  const double k = s.scaleFactor;
  const double L = r.after - r.before;

  double B, A;
  HundredsRoundBreak(r.before, r.after, B, A);
  const double mB = M - (r.before - B);
  double mA = M + (A - r.after);
  CorrectBox(mB, mA);

  char text[kChainageTextSize];
  const CString first =
      CString("  ") + model.FormatChainageWithPrecision(r.prefixBefore.GetString(), r.before, s.chainageDigits, text);
  CString second =
      CString(" =") + model.FormatChainageWithPrecision(r.prefixAfter.GetString(), r.after, s.chainageDigits, text);
  if (std::fabs(L) > 0.001) {
    char number[400];
    model.FormatReal(std::fabs(L), s.chainageDigits, number);
    second += ChainText(L, number) + " m";
  }
  double firstAt, secondAt;
  BreakTextMileages(M, h, s.direction, firstAt, secondAt);
  LinePoint p1, p2;
  const bool on1 = marker.PointAt(firstAt, p1);
  const bool on2 = marker.PointAt(secondAt, p2);
  const double rotation =
      plandraw::Normalized(AcrossRotation(on1 ? p1.bearing : p2.bearing, s.direction) + rotationTurn);
  auto place = [&](const LinePoint& p, const CString& label) {
    return plandraw::Polar(marker.Foot(p), 2.0 * k + 0.5 * plandraw::Width(label) * h, marker.Outward(p.bearing));
  };
  if (on1 && marker.InRange(firstAt, 0.0001))
    plandraw::Text(place(p1, first), first, rotation, h, plandraw::kCentre, layer);
  if (on2 && marker.InRange(secondAt, 0.01))
    plandraw::Text(place(p2, second), second, rotation, h, plandraw::kCentre, layer);

  model.settings.tickLength = plandraw::Width(second) * h;
  marker.Tick(M, s.tickLength);
  if (!on2) return;
  // The hundreds round the break, ticked outward as at the chainage-after text.
  const double t = plandraw::Width(second) * h * 0.7;
  const double out = marker.Outward(p2.bearing);
  for (double m : {mB, mA}) {
    LinePoint q;
    if (!marker.PointAt(m, q) || !marker.InRange(m, 0.01)) continue;
    plandraw::Line(marker.FootAlong(q, out), plandraw::Polar(marker.FootAlong(q, out), t, out), -1, layer);
  }
}

}  // namespace

// ---- The base line --------------------------------------------------------------

void AlignmentModel::DrawMainChainageMarks(double interval, int side, int labelMode, int /*reserved*/) {
  const PlanLine& base = Line(kBaseLine);
  const char* layer = PlanLayerOf(kLayerChainage, kBaseLine);
  const int n = BaseBreakCount();
  if (n < 1 || !base.HasElements()) {
    acutPrintf("\n断链表没有记录,未标注%s!\n", layer);
    return;
  }
  const bool marks = UsableInterval(interval);
  const double h = settings.textHeight;
  const double k = settings.scaleFactor;
  const double f = settings.labelFactor;
  const int digits = settings.chainageDigits;
  const double turn = labelMode <= 1 ? -kPi / 2.0 : 0.0;
  const Marker marker(*this, base.Elements(), base.elementCount, base.range, 0.0, side, 0.0, layer);

  double M = m_baseBreaks[0].before + m_baseBreaks[0].length;
  for (int i = 0; i < n; ++i) {
    const BreakRecord& r = m_baseBreaks[i];
    if (i > 0 && i < n - 1) DrawBaseBreak(*this, marker, r, M);
    if (i == n - 1) break;
    const double A = r.before + r.length;
    const double V = m_baseBreaks[i + 1].before;
    if (marks) {
      // The walk keeps to the chainages that can lie on the line.
      const double highest = std::min(V + 1e-6, A + marker.Last() - M + 1.0);
      const bool kilometres = interval > kKilometreStyle;
      const CString prefix = r.prefixAfter;
      auto mileageOf = [&](double c) { return M + c - A; };
      double c = FirstMark(A, interval, 1e-5, A + marker.First() - M - 1.0);
      for (; c < highest; c += interval) {
        if (kilometres) {
          const double p = c - interval < A ? kKilometre * std::floor(A / kKilometre) : c - interval;
          const int ticks = static_cast<int>(std::trunc((c - p) / kKilometre + 0.0001)) - 1;
          for (int j = 1; j <= ticks; ++j) marker.Tick(mileageOf(p + kKilometre * j), kMarkTick * h);
        }
        marker.Mark(mileageOf(c), MarkLabel(c, interval, prefix, true), h, f, 1.5 * k, turn, settings.direction);
      }
      if (kilometres) {
        const double p = c - interval;
        for (double t = p + kKilometre; t <= std::min(V, highest) + 1e-9; t += kKilometre) {
          if (t > A) marker.Tick(mileageOf(t), kMarkTick * h);
        }
      }
    }
    M += V - A;
  }

  // The start and end of the line.
  const BreakRecord& first = m_baseBreaks[0];
  const BreakRecord& last = m_baseBreaks[n - 1];
  char text[kChainageTextSize];
  auto chainage = [&](const char* prefix, double value) {
    return CString(FormatChainageWithPrecision(prefix, value, digits, text));
  };
  auto lengthText = [&](double L) {
    return std::fabs(L) > 0.0001 ? ChainText(L > 0.0001 ? 1.0 : -1.0, plandraw::RToS(std::fabs(L), digits)) + " m"
                                 : CString();
  };
  marker.EndLabel(
      marker.Near(marker.First()), CString("  ") + chainage(first.prefixBefore, first.before),
      CString("= QD ") + chainage(first.prefixAfter, first.before + first.length) + lengthText(first.length), h, f, 0.0,
      settings.direction);
  marker.EndLabel(marker.EndPoint(), CString("ZD ") + chainage(last.prefixAfter, last.before),
                  CString("= ") + chainage(last.prefixBefore, last.before + last.length) + lengthText(last.length), h,
                  f, 0.0, settings.direction);
}

// ---- A detour segment --------------------------------------------------------------

void AlignmentModel::DrawDetourChainageMarks(double interval, int side, int labelMode, int /*reserved*/,
                                             const ElementRecord* elements, int& count, const PlanBreakRecord* breaks,
                                             int breakCount, int line) {
  const char* layer = PlanLayerOf(kLayerChainage, line);
  if (elements == nullptr || count < 2 || breaks == nullptr || breakCount < 1) {
    acutPrintf("\n绕行段没有线元或断链,未标注%s!\n", layer);
    return;
  }
  const double h = settings.textHeight;
  const double k = settings.scaleFactor;
  const double f = settings.labelFactor;
  const int digits = settings.chainageDigits;
  const double turn = labelMode <= 1 ? -kPi / 2.0 : 0.0;
  const double shift = k > kSideLinesApart ? DetourShift() : 0.0;
  const Marker marker(*this, elements, count, Line(line).range, breaks[0].mileage, side, shift, layer);
  const bool marks = UsableInterval(interval);

  double M = 0.0;
  for (int i = 0; i + 1 < breakCount; ++i) {
    const PlanBreakRecord& r = breaks[i];
    if (i > 0) DrawSegmentBreak(*this, marker, r, M, turn);
    const double V = breaks[i + 1].before;
    if (marks) {
      const double highest = std::min(V, r.after + marker.Last() - M + 1.0);
      auto mileageOf = [&](double c) { return M + c - r.after; };
      for (double c = FirstMark(r.after, interval, 0.0001, r.after + marker.First() - M - 1.0); c <= highest;
           c += interval) {
        if (!marker.Mark(mileageOf(c), MarkLabel(c, interval, r.prefixAfter, false), h, f, 2.0 * k, turn,
                         settings.direction)) {
          break;
        }
      }
    }
    M += V - r.after;
  }

  // Where the segment leaves the base line and where it rejoins it.
  const PlanBreakRecord& first = breaks[0];
  const PlanBreakRecord& last = breaks[breakCount - 1];
  char text[kChainageTextSize];
  auto chainage = [&](const CString& prefix, double value) {
    return CString(FormatChainageWithPrecision(prefix.GetString(), value, digits, text));
  };
  auto lengthText = [&](double L, double threshold) {
    return std::fabs(L) > threshold ? ChainText(L, plandraw::RToS(std::fabs(L), digits)) + " m" : CString();
  };
  const char* sideName = line < 0 ? "左线" : "右线";
  CString leave;
  leave.Format("%s %s绕行起点 ", first.text.GetString(), sideName);
  marker.EndLabel(marker.Near(0.0), CString("  ") + chainage(first.prefixBefore, first.before),
                  CString(" = ") + leave + chainage(first.prefixAfter, first.after) +
                      lengthText(first.after - first.before, 0.0001),
                  h, f, turn, settings.direction);
  if (breakCount < 2) {
    acutPrintf("\n%s绕行段断链只有一条,未标注绕行终点!\n", sideName);
    return;
  }
  const PlanBreakRecord& beforeLast = breaks[breakCount - 2];
  CString join;
  join.Format("%.1lf %s绕行终点 ", first.before / 1000.0, sideName);
  marker.EndLabel(
      marker.Near(M), CString("  ") + join + chainage(beforeLast.prefixAfter, last.before),
      CString(" = ") + chainage(beforeLast.prefixBefore, last.after) + lengthText(last.after - last.before, 0.001), h,
      f, turn, settings.direction);
}
