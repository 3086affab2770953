#!/usr/bin/python3
"""The files of the whole workflow (tools/workflow.scr), read by programs other than ours.

workflow_files.py check DATA_DIR PICTURES_DIR
    every file the workflow writes into the project's data folder, and the
    pictures of the dialogs and palettes it showed;
workflow_files.py same FIRST_PROJECT SECOND_PROJECT [--results]
    the two project folders hold the same files: text and result files byte
    for byte, drawings (.dxf) by their content less handles and times, the
    quantity sheet by its cells, scheme databases by their tables' rows.
    With --results only the files of data/ and the tables the workflow
    writes are compared (a scheme of another origin holds other tables).
"""
import math
import os
import re
import sqlite3
import sys

import ezdxf
import openpyxl

SCHEME = "方案1"
# The modules the workflow runs with, in the order cadhost loads them.
MODULES = ["tamsel", "brevell", "corvane", "pellory"]
RESULTS = ["ylex", "HdmResultData", "HdmRXDResultData", "HdmDetailArea", "HdmRXDDetailArea", "ZdkData",
           "RXDZdkData", "PMZTT", "RXDPMZTT", "BJPT", "RXDBJPT", "3DFW", "Hole", "tsfjsb", "rxdtsfjsb"]
# The tables the workflow writes (CALTWB, HDMDMX, HDMDES/SAVEFILE).
WRITTEN_TABLES = ["横断面地面线表", "用户横断面岩层线表", "横断面岩层线表", "横断面数量表"]
failures = []


def fail(message):
    failures.append(message)
    print("workflow files: " + message, flush=True)


def expect(condition, message):
    if not condition:
        fail(message)
    return condition


def numbers(path):
    with open(path, encoding="gbk") as f:
        return f.read().split()


def count(db, table, where=""):
    return db.execute(f'select count(*) from "{table}" {where}').fetchone()[0]


# --- check ------------------------------------------------------------------------------------------
def check_plan(data):
    doc = ezdxf.readfile(os.path.join(data, "平面.dxf"))
    expect(not doc.audit().has_errors, "平面.dxf fails ezdxf's audit")
    msp = list(doc.modelspace())
    by_layer = {}
    for e in msp:
        by_layer.setdefault(e.dxf.layer, []).append(e)
    print("平面.dxf: " + ", ".join(f"{k} {len(v)}" for k, v in sorted(by_layer.items())), flush=True)
    expect(len(msp) > 200, f"平面.dxf holds {len(msp)} entities")
    # The centre line and its kilometre marks (公里标): one text per whole
    # kilometre after the start of DK25+000 to D1K45+221.86, K26 to K45, each
    # once (neither chain break, DK28+356.42 = DK28+500 and DK40+318.55 =
    # D1K40+250, passes a whole kilometre twice or skips one).
    marks = [e for e in by_layer.get("里程", []) if e.dxftype() in ("TEXT", "MTEXT")
             and re.fullmatch(r"D?1?K\d+", text_of(e))]
    kms = sorted({int(re.search(r"K(\d+)", text_of(e)).group(1)) for e in marks})
    print(f"平面.dxf: kilometre marks {kms}", flush=True)
    expect(kms == list(range(26, 46)) and len(marks) == 20, f"平面.dxf: kilometre marks {kms}, {len(marks)} texts")
    # Each mark stands at the centre line (within two text heights of it:
    # the label beside its tick), and each tick on the layer starts on it.
    centre = [e for e in by_layer.get("线路中线", []) if e.dxftype() in ("LWPOLYLINE", "POLYLINE")]
    expect(centre, "平面.dxf has no centre line (layer 线路中线)")
    segments = []
    for e in centre:
        if e.dxftype() == "LWPOLYLINE":
            points = [(p[0], p[1]) for p in e.get_points("xy")]
        else:
            points = [(v.dxf.location.x, v.dxf.location.y) for v in e.vertices]
        segments += list(zip(points, points[1:]))

    def off_line(x, y):
        best = math.inf
        for (ax, ay), (bx, by) in segments:
            dx, dy = bx - ax, by - ay
            length = dx * dx + dy * dy
            t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
            best = min(best, math.hypot(x - ax - t * dx, y - ay - t * dy))
        return best

    far = [(text_of(m), round(off_line(m.dxf.insert.x, m.dxf.insert.y), 2)) for m in marks
           if off_line(m.dxf.insert.x, m.dxf.insert.y) > 2 * m.dxf.height]
    expect(not far, f"平面.dxf: kilometre marks off the centre line: {far[:5]}")
    ticks = [e for e in by_layer.get("里程", []) if e.dxftype() == "LINE"]
    on = [t for t in ticks if min(off_line(t.dxf.start.x, t.dxf.start.y), off_line(t.dxf.end.x, t.dxf.end.y)) < 0.01]
    expect(len(on) >= len(marks), f"平面.dxf: {len(on)} ticks on the centre line for {len(marks)} kilometre marks")
    for layer in ("大中桥", "隧道", "车站"):
        expect(any(layer in k for k in by_layer), f"平面.dxf lacks a layer of {layer}: {sorted(by_layer)}")
    # The SVG, plotted at 1:2000: a kilometre mark's text of height h (metres)
    # is h / 2 mm high, its font 1.4 times that; the degree signs of the curve
    # labels shown as such (no %%d left); the tunnels' centre lines dashed.
    svg = read_svg(os.path.join(data, "平面.svg"))
    if svg:
        mark = marks[0] if marks else None
        shown = [t for t in svg["texts"] if mark is not None and t["text"] == text_of(mark)]
        expect(shown and abs(shown[0]["font_mm"] - 1.4 * mark.dxf.height / 2) < 0.01,
               f"平面.svg: the mark {text_of(mark) if mark else None} drawn as {shown[:1]}, "
               f"its height {mark.dxf.height if mark else None}")
        expect(not any("%%" in t["text"] for t in svg["texts"]), "平面.svg shows a text control code")
        expect(any("°" in t["text"] for t in svg["texts"]), "平面.svg shows no degree sign")
        expect("stroke-dasharray" in svg["source"], "平面.svg draws no line type")


def text_of(e):
    return e.dxf.text if e.dxftype() == "TEXT" else e.text


def read_svg(path):
    """An SVG the workflow wrote: its source, its pixels per millimetre (the
    root's width in mm over its viewBox) and its texts with their font size
    in mm; None, with a failure, when it is no such SVG."""
    source = open(path, encoding="utf-8").read()
    name = os.path.basename(path)
    root = re.search(r'<svg [^>]*width="([\d.]+)mm"[^>]*viewBox="0 0 ([\d.]+) [\d.]+"', source)
    if not expect(root, f"{name} is no SVG sized in millimetres"):
        return None
    expect("nan" not in source and "inf" not in source, f"{name} holds nan or inf")
    px_per_mm = float(root.group(2)) / float(root.group(1))
    texts = [{"font_mm": float(size) / px_per_mm, "text": re.sub(r"<[^>]*>", "", body)}
             for size, body in re.findall(r'<text [^>]*font-size="([\d.]+)"[^>]*>(.*?)</text>', source)]
    return {"source": source, "px_per_mm": px_per_mm, "texts": texts, "width_mm": float(root.group(1))}


def check_section_svg(data, name, sections):
    """The sheets plotted at paper size (1:1000, a drawing unit a millimetre):
    each formation width once per drawn section, 2 mm high (the font 1.4
    times that); the centre lines dashed (DASHDOTX2); the strip laid out in
    pages one below the other, 10 mm apart, none beside another. The number
    of pages."""
    svg = read_svg(os.path.join(data, name))
    if not svg:
        return 0
    widths = [t for t in svg["texts"] if t["text"].startswith("路基面宽 ")]
    expect(len(widths) == sections, f"{name}: {len(widths)} formation widths for {sections} drawn sections")
    expect(all(abs(t["font_mm"] - 1.4 * 2.0) < 0.01 for t in widths),
           f"{name}: formation widths not 2 mm high: {sorted({round(t['font_mm'], 3) for t in widths})}")
    expect("stroke-dasharray" in svg["source"], f"{name} draws no line type")
    pages = [tuple(float(v) / svg["px_per_mm"] for v in page) for page in re.findall(
        r'<rect class="page" x="([\d.]+)" y="([\d.]+)" width="([\d.]+)" height="([\d.]+)"', svg["source"])]
    expect(len(pages) > 1, f"{name}: {len(pages)} pages")
    below = all(abs(b[1] - (a[1] + a[3] + 10)) < 0.01 for a, b in zip(pages, pages[1:]))
    expect(below and all(p[0] == 0 for p in pages), f"{name}: pages not one below the other: {pages[:3]}")
    expect(abs(max((p[2] for p in pages), default=0) - svg["width_mm"]) < 0.01, f"{name}: pages beside each other")
    return len(pages)


def check_sections(data, sections):
    """横断面.dxf: the sections as the module's own entities, drawn once;
    横断面打印.dxf: the same sections drawn once more, alone, for printing."""
    doc = ezdxf.readfile(os.path.join(data, "横断面.dxf"))
    expect(not doc.audit().has_errors, "横断面.dxf fails ezdxf's audit")
    msp = list(doc.modelspace())
    kinds = {}
    for e in msp:
        kinds[e.dxftype()] = kinds.get(e.dxftype(), 0) + 1
    print("横断面.dxf: " + ", ".join(f"{k} {v}" for k, v in sorted(kinds.items())), flush=True)
    # Plain entities on layer "Hdm" (ezdxf reads the module's own entities,
    # DESIGNLINE and the rest, as unknown ones, without their layer).
    layers = {e.dxf.layer for e in msp if e.dxftype() in ("LINE", "LWPOLYLINE", "TEXT")}
    expect(layers == {"Hdm"}, f"横断面.dxf layers {sorted(layers)}")
    # HDMDES drew every section outside bridges and tunnels, the baseline's
    # and the detours', each with its note (HDMTEXT) and its formation width
    # under it, once: no plain design lines of a printing run over them.
    notes = kinds.get("HDMTEXT", 0)
    widths = [e for e in msp if e.dxftype() == "TEXT" and e.dxf.text.startswith("路基面宽 ")]
    expect(sections // 2 < notes <= sections + 40, f"横断面.dxf: {notes} drawn sections for {sections} designed")
    expect(len(widths) == notes, f"横断面.dxf: {len(widths)} formation widths for {notes} drawn sections")
    expect(kinds.get("DESIGNLINE", 0) >= 2 * notes, f"横断面.dxf: too few design lines for {notes} sections")
    red = [e for e in msp if e.dxftype() == "LWPOLYLINE" and e.dxf.color == 1]
    expect(not red, f"横断面.dxf: {len(red)} plain red design lines of a printing run")
    pages = check_section_svg(data, "横断面.svg", notes)

    # The printing sheets: plain entities only, on layer "Hdm", the same
    # sections (a formation width under each, once), a red design line on
    # each side of each.
    doc = ezdxf.readfile(os.path.join(data, "横断面打印.dxf"))
    expect(not doc.audit().has_errors, "横断面打印.dxf fails ezdxf's audit")
    msp = list(doc.modelspace())
    kinds = {}
    for e in msp:
        kinds[e.dxftype()] = kinds.get(e.dxftype(), 0) + 1
    print("横断面打印.dxf: " + ", ".join(f"{k} {v}" for k, v in sorted(kinds.items())), flush=True)
    plain = {"LINE", "LWPOLYLINE", "TEXT", "DIMENSION", "INSERT"}
    expect(set(kinds) <= plain, f"横断面打印.dxf holds other entities: {sorted(set(kinds) - plain)}")
    layers = {e.dxf.layer for e in msp if e.dxftype() in ("LINE", "LWPOLYLINE", "TEXT")}
    expect(layers == {"Hdm"}, f"横断面打印.dxf layers {sorted(layers)}")
    printed = [e for e in msp if e.dxftype() == "TEXT" and e.dxf.text.startswith("路基面宽 ")]
    places = {(round(e.dxf.insert.x, 3), round(e.dxf.insert.y, 3)) for e in printed}
    expect(len(printed) == notes == len(places), f"横断面打印.dxf: {len(printed)} formation widths at {len(places)} "
                                                 f"places for {notes} drawn sections")
    red = [e for e in msp if e.dxftype() == "LWPOLYLINE" and e.dxf.color == 1]
    expect(len(red) >= 2 * notes, f"横断面打印.dxf: {len(red)} red design lines for {notes} sections")
    expect(check_section_svg(data, "横断面打印.svg", notes) == pages, "横断面打印.svg: other pages than 横断面.svg's")


def check_areas(data, n):
    """Each section's areas add up (HdmDetailArea): each total to its left, middle and right parts, the cut
    to its split by rock class (the sample's ground and rock lines all have a class), the edited section's
    among them; and in tsfjsb each section's cut volume to its volumes by rock class."""
    words = numbers(os.path.join(data, "HdmDetailArea." + SCHEME))
    record = 2 + 48
    expect(len(words) == 1 + n * record, f"HdmDetailArea: {len(words)} numbers for {n} sections")
    wrong = []
    for i in range(n):
        a = [0.0] + [float(w) for w in words[1 + i * record + 2:1 + (i + 1) * record]]  # a[1..48]: A1 .. A48
        parts = [(1, 2, 3, 4), (5, 6, 7, 8), (15, 16, 17, 18), (19, 20, 21, 22), (23, 24, 25, 26), (27, 28, 29, 30),
                 (31, 32, 33, 34), (35, 36, 37, 38), (39, 40, 41, 42)]
        sums = [(t, a[t], sum(a[k] for k in rest)) for t, *rest in parts]
        sums += [(43, a[43], a[44] + a[45]), (46, a[46], a[47] + a[48]), (5, a[5], sum(a[9:15]))]
        wrong += [(words[1 + i * record], f"A{t}", total, got) for t, total, got in sums if abs(total - got) > 0.004]
    expect(not wrong, f"HdmDetailArea: totals that are not the sums of their parts: {wrong[:3]}")
    words = numbers(os.path.join(data, "tsfjsb." + SCHEME))
    record = 25 + 23
    k = int(words[2])
    expect(len(words) == 3 + k * record, f"tsfjsb: {len(words)} numbers for {k} sections")
    wrong = []
    for i in range(k):
        v = [float(w) for w in words[3 + i * record:3 + (i + 1) * record]]
        classes = sum(v[25 + 5 + 2 * c] for c in range(6))
        if abs(v[25 + 4] - classes) > 0.035:
            wrong.append((v[0], v[25 + 4], classes))
    expect(not wrong, f"tsfjsb: cut volumes that are not the sums of their rock classes: {wrong[:3]}")


def check(data, pictures):
    db = sqlite3.connect(os.path.join(data, SCHEME + ".mdb"))
    expect(db.execute("PRAGMA integrity_check").fetchall() == [("ok",)], "the scheme database fails integrity_check")
    stations = count(db, "填挖表")
    ground = count(db, "横断面地面线表")
    print(f"{SCHEME}.mdb: 填挖表 {stations}, 横断面地面线表 {ground}", flush=True)
    expect(stations >= 50, f"填挖表 {stations} stations")
    expect(ground == 2 * stations, f"横断面地面线表 {ground} rows for {stations} stations")
    # The palette wrote every station of the baseline's .dmx as entered and converted.
    for table in ("横断面岩层线表", "用户横断面岩层线表"):
        layer0 = count(db, table, "where 层号=0")
        expect(layer0 == ground, f"{table} {layer0} rows of layer 0 for {ground} of 横断面地面线表")

    # The result files: the baseline's section count heads HdmResultData and
    # HdmDetailArea, one per station of the fill/cut table.
    for name in RESULTS:
        expect(os.path.getsize(os.path.join(data, f"{name}.{SCHEME}")) > 0, f"result file {name} missing or empty")
    n = int(numbers(os.path.join(data, "HdmResultData." + SCHEME))[0])
    # A section more where a detour's transition begins or ends.
    expect(stations <= n <= stations + 8, f"HdmResultData: {n} sections for {stations} stations")
    expect(int(numbers(os.path.join(data, "HdmDetailArea." + SCHEME))[0]) == n, "HdmDetailArea's count")
    check_areas(data, n)
    expect(int(numbers(os.path.join(data, "PMZTT." + SCHEME))[0]) == n, "PMZTT's count")
    expect(count(db, "横断面数量表") == n, f"横断面数量表 {count(db, '横断面数量表')} rows for {n} sections")
    # A consistency check between two files the run writes, not a check of
    # the widths' values: the land take stands at the crown's offset plus the
    # design's distance, so each section's head line in HdmResultData (after
    # an empty line: mileage, relation, kind, ..., the left and right
    # land-take distances 10th and 11th, the two crown offsets 12th and 13th)
    # must agree with 左用地宽 and 右用地宽 of 横断面数量表. The widths
    # themselves are checked against hand-worked values by the unit tests of
    # the land files.
    lines = open(os.path.join(data, "HdmResultData." + SCHEME), encoding="gbk").read().splitlines()
    heads = [lines[i + 1].split() for i in range(len(lines) - 1) if not lines[i].strip() and lines[i + 1].strip()]
    widths = db.execute("select 左用地宽, 右用地宽 from 横断面数量表 order by 序号").fetchall()
    expect(len(heads) == n == len(widths), f"{len(heads)} head lines, {len(widths)} rows of 横断面数量表, {n} sections")
    wrong = []
    for h, (left, right) in zip(heads, widths):
        kind, left_take, right_take, crown1, crown2 = int(h[2]), float(h[9]), float(h[10]), float(h[11]), float(h[12])
        want = (left_take - crown1, right_take + (crown2 if kind == 2 else crown1))
        if abs(left - want[0]) > 0.0015 or abs(right - want[1]) > 0.0015:
            wrong.append((h[0], (left, right), want))
    expect(not wrong, f"横断面数量表's land widths not from the crown: {wrong[:3]}")
    # ... and off the line by more than the distance where a crown is off it
    # (double track designed as one roadbed, detour transitions).
    expect(any(abs(float(h[11])) > 1.0 for h in heads), "no section has its crown off the line")

    # ZdkData: two blocks, each its count and that many lines of five words.
    lines = open(os.path.join(data, "ZdkData." + SCHEME), encoding="gbk").read().splitlines()
    at = 0
    for block in ("left", "right"):
        k = int(lines[at])
        body = lines[at + 1:at + 1 + k]
        expect(len(body) == k and all(len(l.split()) == 5 for l in body), f"ZdkData's {block} block")
        expect(0 < k <= n, f"ZdkData's {block} block of {k} lines for {n} sections")
        at += 1 + k
    expect(at == len(lines), "ZdkData has lines after its blocks")
    # The .dmx: one station record per station of the fill/cut table.
    dmx = open(os.path.join(data, SCHEME + ".dmx"), encoding="gbk").read()
    records = len(re.findall(r"^\s*D?\d*K\d+\+[\d.]+", dmx, re.M))
    expect(records == stations, f"{SCHEME}.dmx: {records} stations for {stations}")

    # The quantity sheet: a block per line (the baseline and the two
    # detours), the baseline's total the sum of its rows.
    sheet = openpyxl.load_workbook(os.path.join(data, f"路基数量表.{SCHEME}.xlsx"))["路基数量表"]
    rows = list(sheet.iter_rows(values_only=True))
    totals = [r for r in rows if r[0] == "合计"]
    expect(len(totals) == 3, f"路基数量表: {len(totals)} totals")
    if totals:
        first = rows.index(totals[0])
        body = [r for r in rows[2:first] if isinstance(r[2], (int, float))]
        expect(body and abs(sum(r[2] for r in body) - totals[0][2]) < 0.01 * max(1.0, totals[0][2]),
               f"路基数量表: the baseline's fill total {totals[0][2]}")

    check_plan(data)
    check_sections(data, n)

    # The pictures: the dialogs as they closed, the navigator's bar and the
    # palette with the frame (PICTURES), all PNGs.
    names = sorted(os.listdir(pictures))
    for part in ("-2001-", "-205-", "-206-", "-2005-", "-2532-", "-2484-", "-2463-", "-2222-", "-0-"):
        expect(any(part in name for name in names), f"no picture {part}: {names}")
    for name in names:
        with open(os.path.join(pictures, name), "rb") as f:
            expect(f.read(8) == b"\x89PNG\r\n\x1a\n", f"{name} is no PNG")


# --- same -------------------------------------------------------------------------------------------
# Header variables that hold times or the next handle.
VOLATILE = {"$TDCREATE", "$TDUCREATE", "$TDUPDATE", "$TDUUPDATE", "$TDINDWG", "$TDUSRTIMER", "$HANDSEED",
            "$FINGERPRINTGUID", "$VERSIONGUID"}
# Group codes that hold handles: the entity's own and its owner and object references.
HANDLE_CODES = {"5", "105", "330", "340", "350", "360", "390", "1005"}


def dxf_content(path):
    with open(path, "rb") as f:
        raw = f.read().decode("gbk", errors="replace").splitlines()
    tags = [(raw[i].strip(), raw[i + 1]) for i in range(0, len(raw) - 1, 2)]
    out, skip = [], False
    for code, value in tags:
        if code == "9":
            skip = value in VOLATILE
            if skip:
                continue
        elif skip and code != "0":
            continue
        else:
            skip = False
        if code in HANDLE_CODES:
            continue
        out.append((code, value))
    return out


def xlsx_content(path):
    book = openpyxl.load_workbook(path)
    return [(ws.title, [list(r) for r in ws.iter_rows(values_only=True)]) for ws in book.worksheets]


def db_content(path, tables=None):
    """The rows of its tables (all, or those of `tables` it holds), sorted."""
    db = sqlite3.connect("file:" + path + "?mode=ro", uri=True)
    try:
        names = [r[0] for r in db.execute("select name from sqlite_master where type='table'")]
        if tables is not None:
            names = [t for t in tables if t in names]
        return {t: sorted(repr(row) for row in db.execute(f'select * from "{t}"')) for t in names}
    finally:
        db.close()


def same(first, second, results_only):
    root_a = os.path.join(first, "data") if results_only else first
    root_b = os.path.join(second, "data") if results_only else second
    files_a = {os.path.relpath(os.path.join(r, f), root_a) for r, _, fs in os.walk(root_a) for f in fs}
    files_b = {os.path.relpath(os.path.join(r, f), root_b) for r, _, fs in os.walk(root_b) for f in fs}
    if results_only:
        files_a = {f for f in files_a if "/" not in f}
        files_b = {f for f in files_b if "/" not in f}
    expect(files_a == files_b, f"other files: only in the first {sorted(files_a - files_b)}, "
                               f"only in the second {sorted(files_b - files_a)}")
    for rel in sorted(files_a & files_b):
        a, b = os.path.join(root_a, rel), os.path.join(root_b, rel)
        if rel.endswith(".dxf"):
            equal = dxf_content(a) == dxf_content(b)
        elif rel.endswith(".xlsx"):
            equal = xlsx_content(a) == xlsx_content(b)
        elif rel.endswith(".mdb"):
            tables = WRITTEN_TABLES if results_only else None
            ca, cb = db_content(a, tables), db_content(b, tables)
            equal = ca == cb
            if not equal:
                fail(f"{rel}: tables differ: {sorted(t for t in set(ca) | set(cb) if ca.get(t) != cb.get(t))}")
                continue
        elif rel.endswith(".log"):
            continue
        else:
            with open(a, "rb") as fa, open(b, "rb") as fb:
                equal = fa.read() == fb.read()
        expect(equal, f"{rel} differs")


if __name__ == "__main__":
    if sys.argv[1] == "check":
        check(sys.argv[2], sys.argv[3])
    else:
        same(sys.argv[2], sys.argv[3], "--results" in sys.argv[4:])
    sys.exit(1 if failures else 0)
