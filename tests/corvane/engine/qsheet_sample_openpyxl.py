"""Checks the roadbed quantity sheet of a whole-line earthwork run against
the quantity files of the same run, reading the workbook with openpyxl (an
independent reader) and the files as plain text.

    /usr/bin/python3 qsheet_sample_openpyxl.py <expectations.json>

The expectations file names the workbook, the sheet, tsfjsb, rxdtsfjsb and
the names of the structures whose rows the baseline's part of the sheet must
hold, in line order.

The sheet holds one part per line (the baseline's, then one per detour
section in the order of rxdtsfjsb), each a run of kilometre rows and
structure rows closed by the row "合计", with one empty row after it. Checked:
- the template's header rows are kept;
- a kilometre row has its start and end chainage texts and numbers in the
  columns C to Q; a structure row its two chainage texts and its name in C,
  merged over C:Q, and the kilometre row after it starts at the structure's
  end text;
- every "合计" row holds the sums of its part's kilometre rows (the whole
  cubic metres within the rounding of each row);
- the fill (column E) of every "合计" row equals the fill volumes of its line
  in the quantity file, summed here from the file;
- the baseline part's structure rows name the expected structures in order.
Exit status 0 when everything holds; otherwise every fault is printed and the
status is 1.
"""

import json
import sys

import openpyxl

WHOLE = [5, 6, 7, 8, 9, 10, 11, 12]  # columns of whole cubic metres
REAL = [3, 4, 13, 14, 15, 16, 17]  # columns of real values


def file_lines(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return [line.split() for line in f.read().splitlines() if line.strip()]


def tsfjsb_fill(path):
    """The fill volumes of the sections of tsfjsb (first word of each
    section's second line) and the section count of its header."""
    lines = file_lines(path)
    count = int(lines[0][2])
    body = lines[1:]
    if len(body) != 2 * count:
        raise ValueError(f"{path}: {len(body)} lines for {count} sections")
    return [float(body[2 * i + 1][0]) for i in range(count)], count


def rxdtsfjsb_fill(path):
    """Per detour block (side, index): the fill volumes of its sections."""
    lines = file_lines(path)
    blocks = []
    i = 1  # after the counts "L R"
    while i < len(lines):
        if len(lines[i]) != 2 or len(lines[i + 1]) != 2:
            raise ValueError(f"{path}: no block head at line {i + 1}: {lines[i]}")
        fills = []
        i += 2
        while i < len(lines) and len(lines[i]) == 26:
            if len(lines[i + 1]) != 23:
                raise ValueError(f"{path}: volume line of {len(lines[i + 1])} words")
            fills.append(float(lines[i + 1][0]))
            i += 2
        blocks.append(fills)
    return blocks


def is_number(v):
    return isinstance(v, (int, float)) and not isinstance(v, bool)


def read_parts(ws, faults):
    """The parts of the sheet: lists of ("km", row) / ("structure", row) and
    the row of "合计"."""
    parts = []
    row = 3
    while ws.cell(row, 1).value not in (None, ""):
        rows = []
        while ws.cell(row, 1).value != "合计":
            if ws.cell(row, 1).value in (None, ""):
                faults.append(f"row {row}: empty before the part's 合计")
                return parts
            rows.append(row)
            row += 1
        parts.append((rows, row))
        row += 1
        if ws.cell(row, 1).value not in (None, ""):
            faults.append(f"row {row}: not empty after 合计")
        row += 1
    return parts


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        exp = json.load(f)
    faults = []
    ws = openpyxl.load_workbook(exp["workbook"])[exp["sheet"]]
    if ws["A1"].value != "起讫里程" or ws["C2"].value != "基床表层":
        faults.append(f"header rows changed: A1 {ws['A1'].value!r}, C2 {ws['C2'].value!r}")
    merged = {str(r) for r in ws.merged_cells.ranges}

    base_fill, base_count = tsfjsb_fill(exp["tsfjsb"])
    line_fills = [base_fill] + [b for b in rxdtsfjsb_fill(exp["rxdtsfjsb"]) if b]
    parts = read_parts(ws, faults)
    if len(parts) != len(line_fills):
        faults.append(f"{len(parts)} parts in the sheet, {len(line_fills)} lines in the files")

    for p, (rows, total_row) in enumerate(parts):
        kilometre_rows = []
        structures = []
        after_structure = None
        for r in rows:
            a, b, c = ws.cell(r, 1).value, ws.cell(r, 2).value, ws.cell(r, 3).value
            if not isinstance(a, str) or not isinstance(b, str) or "+" not in a or "+" not in b:
                faults.append(f"row {r}: chainage texts {a!r} {b!r}")
            if isinstance(c, str):
                structures.append(c)
                if f"C{r}:Q{r}" not in merged:
                    faults.append(f"row {r}: structure {c} not merged over C:Q")
                after_structure = b
                continue
            for col in WHOLE + REAL:
                if not is_number(ws.cell(r, col).value):
                    faults.append(f"row {r} column {col}: {ws.cell(r, col).value!r}")
            for col in WHOLE:
                v = ws.cell(r, col).value
                if is_number(v) and v != int(v):
                    faults.append(f"row {r} column {col}: {v} not whole")
            if after_structure is not None and a != after_structure:
                faults.append(f"row {r}: starts at {a}, the structure before ends at {after_structure}")
            after_structure = None
            kilometre_rows.append(r)
        if not kilometre_rows:
            faults.append(f"part {p}: no kilometre rows")
            continue
        if ws.cell(total_row, 2).value not in (None, ""):
            faults.append(f"row {total_row}: cell B {ws.cell(total_row, 2).value!r}")
        for col in REAL:
            s = sum(ws.cell(r, col).value or 0 for r in kilometre_rows)
            t = ws.cell(total_row, col).value
            if not is_number(t) or abs(t - s) > 1e-6 * max(1.0, abs(s)):
                faults.append(f"part {p} column {col}: 合计 {t!r}, rows sum to {s}")
        for col in WHOLE:
            s = sum(ws.cell(r, col).value or 0 for r in kilometre_rows)
            t = ws.cell(total_row, col).value
            if not is_number(t) or abs(t - s) > 0.5 * len(kilometre_rows) + 1:
                faults.append(f"part {p} column {col}: 合计 {t!r}, rows sum to {s}")
        if p < len(line_fills):
            fills = line_fills[p]
            s = sum(fills)
            t = ws.cell(total_row, 5).value
            if not is_number(t) or abs(t - s) > 0.005 * len(fills) + 1:
                faults.append(f"part {p}: 合计 fill {t!r}, the quantity file sums to {s}")
            if s <= 0:
                faults.append(f"part {p}: no fill in the quantity file")
        if p == 0 and structures != exp["structures"]:
            faults.append(f"baseline structure rows {structures}, expected {exp['structures']}")

    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
