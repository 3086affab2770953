"""Checks a workbook saved by the workbook model with openpyxl, an independent
reader: the values and merged ranges the test wrote, the template's formats
and layout kept, and every part the save had no reason to touch copied as it
was.

    /usr/bin/python3 sheet_openpyxl_check.py <expectations.json>

The expectations file names the template, the saved workbook, the sheet, the
cells with their values (null: empty), the merged ranges added, and the parts
the save rewrote. Exit status 0 when everything holds; otherwise every fault
is listed and the status is 1.
"""

import json
import sys
import zipfile

import openpyxl

SHEET_MAIN = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"
TEMPLATE_MAIN = "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml"

faults = []


def check(ok, what):
    if not ok:
        faults.append(what)


def workbook_type(path):
    with zipfile.ZipFile(path) as z:
        types = z.read("[Content_Types].xml").decode("utf-8")
    return SHEET_MAIN if SHEET_MAIN in types else TEMPLATE_MAIN if TEMPLATE_MAIN in types else None


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        exp = json.load(f)
    template, saved, name = exp["template"], exp["saved"], exp["sheet"]

    # The package: same parts in the same order; untouched ones byte for byte.
    with zipfile.ZipFile(template) as a, zipfile.ZipFile(saved) as b:
        check(a.namelist() == b.namelist(), f"parts differ: {a.namelist()} / {b.namelist()}")
        for part in a.namelist():
            if part in exp["changed_parts"] or part not in b.namelist():
                continue
            check(a.read(part) == b.read(part), f"{part} changed")
    check(workbook_type(template) == TEMPLATE_MAIN, "the template is not a template")
    check(workbook_type(saved) == SHEET_MAIN, "the saved file is not an ordinary workbook")

    # The template opens (through a file object: openpyxl judges names by
    # their extension, and ".xlt" is not one it knows).
    with open(template, "rb") as f:
        t_book = openpyxl.load_workbook(f)
    t_sheet = t_book[name]
    book = openpyxl.load_workbook(saved)
    check(book.sheetnames == t_book.sheetnames, f"sheets {book.sheetnames} / {t_book.sheetnames}")
    check(not book.template, "the saved workbook says it is a template")
    ws = book[name]

    for ref, value in exp["cells"].items():
        got = ws[ref].value
        if value is None:
            check(got is None, f"{ref}: {got!r}, expected empty")
        elif isinstance(value, str):
            check(got == value, f"{ref}: {got!r}, expected {value!r}")
        else:
            check(isinstance(got, (int, float)) and got == value, f"{ref}: {got!r}, expected {value!r}")

    merged = {str(r) for r in ws.merged_cells.ranges}
    t_merged = {str(r) for r in t_sheet.merged_cells.ranges}
    check(merged == t_merged | set(exp["merged"]), f"merged {sorted(merged)}, template {sorted(t_merged)}")

    # The template's formats: bold headers, column widths, number formats and
    # borders of the data columns, the frozen header rows, print titles.
    check(ws["A1"].font.b and ws["F2"].font.b, "header cells not bold")
    check(ws["A1"].border.left.style == "thin", "header cell without border")
    widths = {"A": 16, "B": 16, "C": 10, "E": 10, "F": 9, "K": 9, "L": 10, "Q": 10}
    for col, width in widths.items():
        got = ws.column_dimensions[col].width
        check(got == width == t_sheet.column_dimensions[col].width, f"column {col} width {got}, expected {width}")
    for ref, fmt in exp["formats"].items():
        check(ws[ref].number_format == fmt, f"{ref}: number format {ws[ref].number_format!r}, expected {fmt!r}")
        check(ws[ref].border.left.style == "thin", f"{ref}: no border")
    check(ws.freeze_panes == "A3", f"frozen at {ws.freeze_panes}")
    check(ws.row_dimensions[1].height == t_sheet.row_dimensions[1].height == 20, "header row height")
    check(str(ws.print_title_rows).replace("$", "") == "1:2", f"print titles {ws.print_title_rows}")

    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
