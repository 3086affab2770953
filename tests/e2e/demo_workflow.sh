#!/usr/bin/env bash
# The demo's workflow end to end, as scripts/demo runs it: a sample project in
# a scratch folder with its own copy of the install folder, the demo over it,
# then the files it leaves opened by programs other than ours (openpyxl for
# the quantity sheet, ezdxf for the plan drawing and the section sheets,
# sqlite3 for the scheme database).
#   demo_workflow.sh BIN_DIR INSTALL_DIR SCRATCH_DIR
set -euo pipefail
bin=$1 install=$2 scratch=$3
rm -rf "$scratch"
mkdir -p "$scratch"
cp -r "$install" "$scratch/install"
"$bin/sample-project" --install "$scratch/install" --workdir "$scratch/sample" > "$scratch/sample.log"
"$bin/demo" "$scratch/install" > "$scratch/demo.log"
data="$scratch/sample/data"
for step in CALTWB CALHDMDMX HDMDES SAVEFILE PRINTHDM PLAN CALTSF; do
  grep -q "^$step 完成" "$scratch/demo.log" || { echo "demo: $step did not finish"; exit 1; }
done
for file in HdmResultData ZdkData tsfjsb rxdtsfjsb BJPT; do
  test -s "$data/$file.方案1" || { echo "missing result file $file"; exit 1; }
done
test -s "$data/方案1.dmx"
# Every station of the fill/cut table has its left and right ground line.
stations=$(sqlite3 "$data/方案1.mdb" "select count(*) from 填挖表")
lines=$(sqlite3 "$data/方案1.mdb" "select count(*) from 横断面地面线表")
test "$stations" -gt 500 && test "$lines" -eq $((2 * stations)) || {
  echo "填挖表 $stations stations, 横断面地面线表 $lines rows"; exit 1; }
/usr/bin/python3 - "$data" <<'PY'
import sys, ezdxf, openpyxl
data = sys.argv[1]
sheet = openpyxl.load_workbook(data + "/路基数量表.方案1.xlsx")["路基数量表"]
rows = [r for r in sheet.iter_rows(values_only=True)]
totals = [r for r in rows if r[0] == "合计"]
# One block per line: the baseline and the two detour sections.
assert len(totals) == 3, totals
# The baseline's total is the sum of its kilometre rows (structure rows carry
# a name in the fill column instead of a number).
first = rows.index(totals[0])
body = [r for r in rows[2:first] if isinstance(r[2], (int, float))]
assert body and abs(sum(r[2] for r in body) - totals[0][2]) < 0.01 * max(1.0, totals[0][2]), totals[0]
doc = ezdxf.readfile(data + "/平面.dxf")
layers = {e.dxf.layer for e in doc.modelspace()}
assert {"中线", "绕行线", "用地界", "里程"} <= layers, layers
assert not doc.audit().has_errors
# The section sheets: plain entities on layer "Hdm", every drawn section with
# its chainage, formation width and note.
doc = ezdxf.readfile(data + "/横断面.dxf")
assert not doc.audit().has_errors
entities = list(doc.modelspace())
assert {e.dxf.layer for e in entities} == {"Hdm"}
assert {e.dxftype() for e in entities} <= {"LWPOLYLINE", "LINE", "TEXT"}, {e.dxftype() for e in entities}
widths = [e for e in entities if e.dxftype() == "TEXT" and e.dxf.text.startswith("路基面宽 ")]
assert len(widths) > 500, len(widths)
PY
echo "demo workflow: OK"
