"""Reads the roadbed quantity sheet that the earthwork command saved with
openpyxl, an independent reader, and checks the cells and merged ranges
that the test expects.

    /usr/bin/python3 qsheet_check_openpyxl.py <expectations.json>

The expectations file names the workbook, the sheet, the cells with their
values (null: empty; a number: any number equal to it) and the ranges that
must be merged. The template's header rows must still be there. Exit status
0 when everything holds; otherwise every fault is printed and the status is 1.
"""

import json
import sys

import openpyxl


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        exp = json.load(f)
    faults = []
    book = openpyxl.load_workbook(exp["workbook"])
    if exp["sheet"] not in book.sheetnames:
        print(f"no sheet {exp['sheet']!r} in {book.sheetnames}")
        return 1
    ws = book[exp["sheet"]]
    for ref, value in exp["cells"].items():
        got = ws[ref].value
        if value is None:
            ok = got is None or got == ""
        elif isinstance(value, str):
            ok = got == value
        else:
            ok = isinstance(got, (int, float)) and abs(got - value) < 1e-9
        if not ok:
            faults.append(f"{ref}: {got!r}, expected {value!r}")
    merged = {str(r) for r in ws.merged_cells.ranges}
    for r in exp["merged"]:
        if r not in merged:
            faults.append(f"{r} not merged (merged: {sorted(merged)})")
    # The template's header rows are kept.
    if ws["A1"].value != "起讫里程" or ws["C2"].value != "基床表层":
        faults.append(f"header rows changed: A1 {ws['A1'].value!r}, C2 {ws['C2'].value!r}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
