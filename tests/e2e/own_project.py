#!/usr/bin/python3
"""A project of one's own, as the README's "Your own project" makes it, and the
checks of what the workflow wrote into it.

own_project.py points FILE
    the survey points, "x y z" a line: a valley given by a function, a few
    thousand points in a band along the line;
own_project.py alignment
    the SQL that enters the line into the scheme database as the README says:
    曲线表 (the intersection points), 断链表 (the start, one short chain, the end)
    and 坡度表 (the settings row and the grade points);
own_project.py check PROJECT_DIR
    the files the workflow wrote, against values worked out here from the same
    design by textbook formulas: the ground of each station from the valley's
    function, the design elevation from the grade points, the stations' places
    and the kilometre marks from the alignment, with its chain break.

The line: single track, about 3 km, start K12+400 at the start point, two
curves with transitions (right 28°, R 700, l0 70; left 36°, R 1000, l0 80) and
a short chain K13+700 = K13+785.40 on the straight between them, so that the
chainage K14 lies 85.40 m nearer the start than without the break.
"""
import math
import os
import random
import re
import sqlite3
import sys

import ezdxf
import openpyxl

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import workflow_files as wf  # noqa: E402  (the shared checks and their failure list)

SCHEME = "方案1"

# --- The design -----------------------------------------------------------------------------------
N0, E0 = 3381200.0, 506400.0  # the start point (x north, y east)
START_BEARING = 40.0  # degrees from north towards east
# Per intersection point: the leg before it, its deflection (degrees, + right), R, transition l0.
CURVES = [(800.0, 28.0, 700.0, 70.0), (1200.0, -36.0, 1000.0, 80.0)]
LAST_LEG = 1000.0
PREFIX = "K"
START_CHAINAGE = 12400.0
BREAK_BEFORE, BREAK_AFTER = 13700.0, 13785.40  # a short chain: the chainage jumps ahead
# Grade points: chainage, design elevation (at the formation shoulder), vertical curve radius.
GRADES = [(12400.0, 152.0, 0.0), (13300.0, 157.0, 10000.0), (14500.0, 168.0, 10000.0), (15500.0, 170.0, 0.0)]

# The valley: it falls towards the north-east, its floor 60 m right of a line
# through the start point at 50°.
VALLEY_BEARING = math.radians(50.0)


def valley(x, y):
    u = (x - N0) * math.cos(VALLEY_BEARING) + (y - E0) * math.sin(VALLEY_BEARING)
    v = -(x - N0) * math.sin(VALLEY_BEARING) + (y - E0) * math.cos(VALLEY_BEARING)
    return 150.0 + 0.006 * u + 0.0001 * (v - 60.0) ** 2


# --- The alignment, by the textbook -----------------------------------------------------------------
def ahead(p, distance, bearing):
    return (p[0] + distance * math.cos(bearing), p[1] + distance * math.sin(bearing))


def intersection_points():
    points, bearing = [(N0, E0)], math.radians(START_BEARING)
    for leg, deflection, _, _ in CURVES:
        points.append(ahead(points[-1], leg, bearing))
        bearing += math.radians(deflection)
    points.append(ahead(points[-1], LAST_LEG, bearing))
    return points


def curve_elements(R, l0, alpha):
    """Tangent length T and curve length L of a curve with two transitions."""
    p = l0 ** 2 / (24 * R) - l0 ** 4 / (2688 * R ** 3)
    q = l0 / 2 - l0 ** 3 / (240 * R ** 2)
    return (R + p) * math.tan(alpha / 2) + q, R * alpha + l0


class Alignment:
    """The centre line as elements (straight, transition, arc, transition),
    each from its start mileage, with its start point and bearing; the point
    at a mileage by integrating the bearing along the element."""

    def __init__(self):
        ips = intersection_points()
        bearing = math.radians(START_BEARING)
        self.elements = []  # (start mileage, length, start point, start bearing, kind, R, l0, turn)
        mileage, point = 0.0, ips[0]
        for i, (leg, deflection, R, l0) in enumerate(CURVES):
            alpha = math.radians(abs(deflection))
            T, L = curve_elements(R, l0, alpha)
            zh = ahead(ips[i + 1], -T, bearing)
            straight = math.dist(point, zh)
            self.elements.append((mileage, straight, point, bearing, "straight", 0, 0, 0))
            mileage += straight
            self.elements.append((mileage, L, zh, bearing, "curve", R, l0, 1 if deflection > 0 else -1))
            mileage += L
            bearing += math.radians(deflection)
            point = ahead(ips[i + 1], T, bearing)  # HZ
        end = ips[-1]
        self.elements.append((mileage, math.dist(point, end), point, bearing, "straight", 0, 0, 0))
        self.length = mileage + math.dist(point, end)
        # The transitions' p and q fit the integrated curve: it ends on the
        # leg after its intersection point, T from it.
        for start, length, _, _, kind, _, _, _ in self.elements:
            if kind == "curve":
                after = self.at(start + length)
                following = [e for e in self.elements if abs(e[0] - start - length) < 1e-9][0]
                assert math.dist(after[:2], following[2]) < 0.002, (after, following[2])

    @staticmethod
    def _turned(s, R, l0, L):
        """The bearing change after s metres of a curve of length L."""
        if s <= l0:
            return s * s / (2 * R * l0)
        if s <= L - l0:
            return l0 / (2 * R) + (s - l0) / R
        r = L - s
        return (L - l0) / R - r * r / (2 * R * l0)

    def at(self, m):
        """(x, y, bearing) at mileage m (past the end: on the last straight)."""
        for start, length, p, bearing, kind, R, l0, turn in self.elements:
            if m > start + length + 1e-9 and start != self.elements[-1][0]:
                continue
            s = m - start
            if kind == "straight":
                return (*ahead(p, s, bearing), bearing)
            # Simpson's rule over the bearing, in steps of at most 0.5 m.
            n = max(2, 2 * math.ceil(s))
            h = s / n
            x, y = p
            for k in range(n + 1):
                w = 1 if k in (0, n) else (4 if k % 2 else 2)
                b = bearing + turn * self._turned(k * h, R, l0, length)
                x += w * h / 3 * math.cos(b)
                y += w * h / 3 * math.sin(b)
            return x, y, bearing + turn * self._turned(s, R, l0, length)
        raise ValueError(m)


def mileage_of(chainage):
    """The distance from the start along the line of a chainage (all share the prefix K)."""
    if chainage <= BREAK_BEFORE:
        return chainage - START_CHAINAGE
    if chainage < BREAK_AFTER:
        raise ValueError(f"K{chainage} lies in the short chain")
    return chainage - BREAK_AFTER + BREAK_BEFORE - START_CHAINAGE


def end_chainage(alignment):
    return START_CHAINAGE + alignment.length + (BREAK_AFTER - BREAK_BEFORE)


def design_elevation(m):
    """The grade line through the grade points, with a parabolic vertical curve
    of radius R at each inner point: y = x² / 2R within T = R·|i2 − i1| / 2."""
    points = [(mileage_of(c), z, R) for c, z, R in GRADES]
    grades = [(b[1] - a[1]) / (b[0] - a[0]) for a, b in zip(points, points[1:])]
    for i in range(len(points) - 1):
        if points[i][0] - 1e-6 <= m <= points[i + 1][0] + 1e-6:
            z = points[i][1] + (m - points[i][0]) * grades[i]
            break
    else:
        raise ValueError(m)
    for i in range(1, len(points) - 1):
        mp, _, R = points[i]
        T = R * abs(grades[i] - grades[i - 1]) / 2
        if R > 0 and abs(m - mp) < T:
            z += math.copysign((T - abs(m - mp)) ** 2 / (2 * R), grades[i] - grades[i - 1])
    return z


# --- points and alignment ---------------------------------------------------------------------------
def write_points(path):
    """A jittered 20 m grid, kept within 160 m of the legs."""
    ips = intersection_points()
    legs = list(zip(ips, ips[1:]))

    def off_legs(p):
        best = math.inf
        for a, b in legs:
            dx, dy = b[0] - a[0], b[1] - a[1]
            t = max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / (dx * dx + dy * dy)))
            best = min(best, math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy))
        return best

    rnd = random.Random(7)
    xs, ys = [p[0] for p in ips], [p[1] for p in ips]
    count = 0
    with open(path, "w") as f:
        x = min(xs) - 200.0
        while x <= max(xs) + 200.0:
            y = min(ys) - 200.0
            while y <= max(ys) + 200.0:
                p = (x + rnd.uniform(-4, 4), y + rnd.uniform(-4, 4))
                if off_legs(p) <= 160.0:
                    f.write(f"{p[0]:.3f} {p[1]:.3f} {valley(*p):.3f}\n")
                    count += 1
                y += 20.0
            x += 20.0
    print(f"own project: {count} survey points in {path}")


def alignment_sql():
    """曲线表, 断链表 and 坡度表 as the README enters them."""
    ips = intersection_points()
    end = end_chainage(Alignment())
    rows = [f"  ('0', {ips[0][0]:.3f}, {ips[0][1]:.3f}, 0, {START_CHAINAGE:.0f}, 0, '起点')"]
    for i, (_, deflection, R, l0) in enumerate(CURVES, start=1):
        rows.append(f"  ('{i}', {ips[i][0]:.3f}, {ips[i][1]:.3f}, {R:g}, {l0:g}, {l0:g}, "
                    f"'{'右偏' if deflection > 0 else '左偏'}')")
    rows.append(f"  ('{len(ips) - 1}', {ips[-1][0]:.3f}, {ips[-1][1]:.3f}, 0, 0, 0, '终点')")
    sql = ["begin;",
           "insert into 曲线表 (交点号, 坐标N, 坐标E, 曲线半径, 前缓和曲线, 后缓和曲线, 附注) values",
           ",\n".join(rows) + ";",
           "insert into 断链表 (等号左里程冠号, 等号左里程数, 等号右里程冠号, 等号右里程数, 断链长度, 附注) values",
           f"  ('{PREFIX}', {START_CHAINAGE:.3f}, '{PREFIX}', {START_CHAINAGE:.3f}, 0, '起点'),",
           f"  ('{PREFIX}', {BREAK_BEFORE:.3f}, '{PREFIX}', {BREAK_AFTER:.3f}, {BREAK_AFTER - BREAK_BEFORE:.3f}, '短链'),",
           f"  ('{PREFIX}', {end:.3f}, '{PREFIX}', {end:.3f}, 0, '终点');",
           "insert into 坡度表 (变坡点里程冠号, 变坡点里程数, 设计高程, 竖曲线半径, 竖曲线长度, 附注) values"]
    grade_rows = [f"  ('{PREFIX}', {GRADES[0][0]:.3f}, {GRADES[0][1]:.3f}, 2, 0, '1')"]
    grade_rows += [f"  ('{PREFIX}', {c:.3f}, {z:.3f}, {R:g}, NULL, NULL)" for c, z, R in GRADES[1:]]
    sql += [",\n".join(grade_rows) + ";", "commit;"]
    print("\n".join(sql))


# --- check ------------------------------------------------------------------------------------------
def check(project):
    data = os.path.join(project, "data")
    expect = wf.expect
    line = Alignment()
    end = end_chainage(line)
    db = sqlite3.connect(os.path.join(data, SCHEME + ".mdb"))
    expect(db.execute("PRAGMA integrity_check").fetchall() == [("ok",)], "the scheme database fails integrity_check")

    # 填挖表: the stations CALTWB made from the alignment, each with the
    # ground of the valley under it and the fill or cut against the grade.
    rows = db.execute("select 加桩里程冠号, 加桩里程数, 地面高程, 路肩设计高程, 中心填挖高度 from 填挖表 order by ID").fetchall()
    print(f"{SCHEME}.mdb: 填挖表 {len(rows)} stations, K{rows[0][1] if rows else '?'} to K{rows[-1][1] if rows else '?'}",
          flush=True)
    expect(25 <= len(rows) <= 60, f"填挖表 {len(rows)} stations for {line.length:.0f} m every 100 m")
    expect(rows and abs(rows[0][1] - START_CHAINAGE) < 0.001 and abs(rows[-1][1] - end) < 0.01,
           f"填挖表 runs from K{rows[0][1]} to K{rows[-1][1]}, not K{START_CHAINAGE} to K{end:.3f}")
    expect(not [r for r in rows if BREAK_BEFORE + 0.001 < r[1] < BREAK_AFTER - 0.001],
           "填挖表 has a station inside the short chain")
    ground_off, fill_off, design_off = [], [], []
    stations = {}
    for prefix, chainage, ground, design, fill in rows:
        expect(prefix == PREFIX, f"填挖表: the prefix {prefix!r} at {chainage}")
        m = mileage_of(chainage)
        x, y, bearing = line.at(m)
        stations[round(chainage, 3)] = (x, y, bearing, ground)
        if abs(ground - valley(x, y)) > 0.05:
            ground_off.append((chainage, ground, round(valley(x, y), 3)))
        want = design_elevation(m)
        if abs(design - want) > 0.005 + 1e-6:
            design_off.append((chainage, design, round(want, 4)))
        if abs(fill - (want - ground)) > 0.01 + 1e-6:
            fill_off.append((chainage, fill, round(want - ground, 4)))
    expect(not ground_off, f"填挖表: 地面高程 off the valley by more than 0.05 m: {ground_off[:4]}")
    expect(not design_off, f"填挖表: 路肩设计高程 off the grade line: {design_off[:4]}")
    expect(not fill_off, f"填挖表: 中心填挖高度 is not the design elevation less the ground: {fill_off[:4]}")
    expect(any(r[4] > 1.0 for r in rows) and any(r[4] < -0.5 for r in rows), "the line has no fill or no cut")

    # 横断面地面线表: each station's two ground lines across the valley.
    lines = db.execute("select * from 横断面地面线表 order by ID").fetchall()
    names = [d[1] for d in db.execute("pragma table_info(横断面地面线表)")]
    expect(len(lines) == 2 * len(rows), f"横断面地面线表 {len(lines)} rows for {len(rows)} stations")
    at = {n: i for i, n in enumerate(names)}
    off, checked = [], 0
    for r in lines:
        x, y, bearing, ground = stations.get(round(r[at["中桩里程数"]], 3), (None,) * 4)
        if x is None:
            off.append(("no station", r[at["中桩里程数"]]))
            continue
        side = -1 if r[at["左或右"]] == "左" else 1
        normal = bearing + side * math.pi / 2
        for j in range(1, r[at["地面点数"]]):
            d, dz = r[at[f"点{j + 1}距中桩距离"]], r[at[f"点{j + 1}与中桩高程差"]]
            want = valley(x + d * math.cos(normal), y + d * math.sin(normal)) - ground
            checked += 1
            if abs(dz - want) > 0.05:
                off.append((r[at["中桩里程数"]], r[at["左或右"]], d, dz, round(want, 3)))
    print(f"{SCHEME}.mdb: 横断面地面线表 {len(lines)} ground lines, {checked} points off the centre", flush=True)
    expect(checked > 4 * len(lines), f"横断面地面线表: {checked} points off the centre in {len(lines)} ground lines")
    expect(not off, f"横断面地面线表: ground points off the valley by more than 0.05 m: {off[:4]}")

    # The line kind of the technical parameters: a single track.
    with open(os.path.join(data, "ylex." + SCHEME), encoding="gbk") as f:
        expect(f.read().split() == ["单线"], "ylex: the sections were not designed for a single track")
    n = int(wf.numbers(os.path.join(data, "HdmResultData." + SCHEME))[0])
    expect(n == len(rows), f"HdmResultData: {n} sections for {len(rows)} stations")
    expect(wf.count(db, "横断面数量表") == n, f"横断面数量表 {wf.count(db, '横断面数量表')} rows for {n} sections")

    check_plan(data, line)
    wf.check_sections(data, n)
    sheet = openpyxl.load_workbook(os.path.join(data, f"路基数量表.{SCHEME}.xlsx"))["路基数量表"]
    totals = [r for r in sheet.iter_rows(values_only=True) if r[0] == "合计"]
    expect(len(totals) == 1 and isinstance(totals[0][2], (int, float)) and totals[0][2] > 0,
           f"路基数量表: {len(totals)} totals, the first {totals[0][:4] if totals else None}")


def check_plan(data, line):
    """The plan: its centre line from the start point to the end point, and
    the kilometre marks where the chainage is a whole kilometre: K13, and K14
    and K15 85.40 m nearer the start than without the break."""
    doc = ezdxf.readfile(os.path.join(data, "平面.dxf"))
    wf.expect(not doc.audit().has_errors, "平面.dxf fails ezdxf's audit")
    msp = list(doc.modelspace())
    # Drawing X is east (y), drawing Y north (x).
    centre = [e for e in msp if e.dxf.layer == "线路中线" and e.dxftype() == "LWPOLYLINE"]
    wf.expect(len(centre) == 1, f"平面.dxf: {len(centre)} centre lines")
    if centre:
        points = [(p[1], p[0]) for p in centre[0].get_points("xy")]
        length = sum(math.dist(a, b) for a, b in zip(points, points[1:]))
        start, finish = line.at(0.0), line.at(line.length)
        wf.expect(math.dist(points[0], start[:2]) < 0.01 and math.dist(points[-1], finish[:2]) < 0.01,
                  f"平面.dxf: the centre line runs from {points[0]} to {points[-1]}")
        wf.expect(abs(length - line.length) < 0.05, f"平面.dxf: the centre line is {length:.2f} m, not {line.length:.2f}")
    texts = [e for e in msp if e.dxf.layer == "里程" and e.dxftype() == "TEXT"]
    marks = sorted(wf.text_of(e) for e in texts if re.fullmatch(r"K\d+", wf.text_of(e)))
    wf.expect(marks == ["K13", "K14", "K15"], f"平面.dxf: kilometre marks {marks}")
    ticks = [e for e in msp if e.dxf.layer == "里程" and e.dxftype() == "LINE"]
    for km in (13, 14, 15):
        x, y, _ = line.at(mileage_of(km * 1000.0))
        near = [t for t in ticks if min(math.dist((t.dxf.start.y, t.dxf.start.x), (x, y)),
                                        math.dist((t.dxf.end.y, t.dxf.end.x), (x, y))) < 0.05]
        wf.expect(near, f"平面.dxf: no kilometre tick at K{km} ({x:.3f}, {y:.3f}), mileage {mileage_of(km * 1000.0):.2f}")
        label = [e for e in texts if wf.text_of(e) == f"K{km}"]
        wf.expect(label and math.dist((label[0].dxf.insert.y, label[0].dxf.insert.x), (x, y)) < 10.0,
                  f"平面.dxf: the label K{km} stands away from its tick")
    # The end's label: the chainage entered in 断链表's last row.
    end = end_chainage(line)
    label = f"ZD K{int(end // 1000)}+{end % 1000:06.2f}"
    ends = [wf.text_of(e) for e in texts if "ZD" in wf.text_of(e)]
    wf.expect(ends == [label], f"平面.dxf: the end is labelled {ends}, not {label}")
    svg = open(os.path.join(data, "平面.svg"), encoding="utf-8").read()
    wf.expect("nan" not in svg and "inf" not in svg, "平面.svg holds nan or inf")


if __name__ == "__main__":
    if sys.argv[1] == "points":
        write_points(sys.argv[2])
    elif sys.argv[1] == "alignment":
        alignment_sql()
    else:
        check(sys.argv[2])
    sys.exit(1 if wf.failures else 0)
