#!/usr/bin/env bash
# Corvane's nine commands run by cadhost from a script over the sample
# project, every dialog answered by the script, checking the files each step
# writes:
#   SAVEFILE (before any design: a message, nothing written), CALTWB,
#   CALHDMDMX, HDMDES (drawing on), a grip drag that re-designs a section,
#   EDITBP (work point, formation width 25), a drawn design line erased (its
#   reactor is still on it when the module unloads), SAVEFILE, CALTSF,
#   PRINTHDM, FINDDM and a step of the section browser, SAVEFILE again; a
#   PNG of each dialog (left in SCRATCH_DIR/pictures).
#   corvane_commands.sh BIN_DIR INSTALL_DIR SCRATCH_DIR
set -euo pipefail
bin=$1 install=$2 scratch=$3
. "$(dirname "$0")/sample_scratch.sh"
results="ylex HdmResultData HdmDetailArea ZdkData PMZTT BJPT RXDBJPT 3DFW Hole tsfjsb rxdtsfjsb"

# SAVEFILE before HDMDES: the message, and no result file.
printf 'SAVEFILE\n' > "$scratch/first.scr"
"$bin/cadhost" --install "$scratch/install" --load corvane --script "$scratch/first.scr" > "$scratch/first.log"
grep -q "没有设计横断面" "$scratch/first.log" || fail "SAVEFILE before HDMDES said nothing"
for file in $results; do
  test ! -e "$data/$file.方案1" || fail "SAVEFILE before HDMDES wrote $file"
done

# Corvane's part of the whole workflow, made from tools/workflow.scr as it
# stands: from CALTWB on, with stations every 20 m generated, less the
# ground-line palette's step (Pellory's, HDMDMX to its PICTURES) and the
# SAVEAS lines and the ERASE ALL between the section sheets and the printing
# ones (cadhost --save writes one drawing with both here). Its lines
# are picked by points: the left design line of the first section that
# HDMDES draws has its slope start at 290.75,55 on the sheet (dragged to
# 289.75,55, where EDITBP picks it), the right one at 349.25,55; that one is
# erased after EDITBP, before PRINTHDM draws plain lines over it. A SAVEFILE
# at the end: the design CALTSF left behind still has its detour sections.
# Every dialog is saved as a picture. Each edit is checked to have happened,
# so a change of the workflow shows here instead of passing unseen.
awk '
  /^CALTWB$/ { on = 1 }
  !on { next }
  /^@205 / { print "@205 2053=1 2054=20 2055=1 IDOK"; fillcut++; next }
  /^HDMDMX$/ { palette = 1 }
  palette { if ($0 == "PICTURES") { palette = 0; dropped++ } next }
  /^SAVEAS / { saveas++; next }
  /^ERASE ALL$/ { erase_all++; getline; next }
  { print }
  /^@2532 / { print "ERASE 349.25,55"; print ""; erase++ }
  END {
    print "SAVEFILE"
    if (!on || fillcut != 1 || dropped != 1 || erase != 1 || saveas < 1 || erase_all != 1) {
      printf "on %d, @205 %d, palette step %d, ERASE %d, SAVEAS %d, ERASE ALL %d\n", on, fillcut, dropped, erase, saveas,
        erase_all > "/dev/stderr"
      exit 1
    }
  }' "$(dirname "$0")/../../tools/workflow.scr" > "$scratch/workflow.scr" ||
  fail "tools/workflow.scr no longer has the lines this script edits"
"$bin/cadhost" --install "$scratch/install" --load corvane --script "$scratch/workflow.scr" \
  --pictures "$scratch/pictures" --save "$scratch/workflow.dxf" > "$scratch/workflow.log" ||
  { tail -20 "$scratch/workflow.log"; fail "cadhost failed"; }
log="$scratch/workflow.log"
for text in "填挖表计算完毕" "的地面线已写入" "正在绘制横断面.... " "3D OK!" "路基数量表.方案1.xlsx" "横断面图绘制完成！" \
            "Enter script file name: c:\\tmp" "> 2222 2232"; do
  grep -qF "$text" "$log" || fail "the transcript lacks \"$text\""
done
for file in $results; do
  test -s "$data/$file.方案1" || fail "missing result file $file"
done
test -s "$data/方案1.dmx" || fail "no ground-line file"
test -s "$data/路基数量表.方案1.xlsx" || fail "no quantity sheet"
# The browser's zoom: the window of the section it shows.
grep -q "^ZOOM" "$scratch/drives/C/tmp.scr" || fail "the browser wrote no zoom"
stations=$(sqlite3 "$data/方案1.mdb" "select count(*) from 填挖表")
lines=$(sqlite3 "$data/方案1.mdb" "select count(*) from 横断面地面线表")
test "$stations" -gt 500 && test "$lines" -eq $((2 * stations)) || fail "填挖表 $stations, 横断面地面线表 $lines"

# CALTSF twice in a row: each run starts from a designer of its own, so the
# files of the second are those of the first.
cp "$data/tsfjsb.方案1" "$scratch/tsfjsb.once"
cp "$data/rxdtsfjsb.方案1" "$scratch/rxdtsfjsb.once"
printf 'CALTSF\n@2484 IDOK\nCALTSF\n@2484 IDOK\n' > "$scratch/twice.scr"
"$bin/cadhost" --install "$scratch/install" --load corvane --script "$scratch/twice.scr" > "$scratch/twice.log" ||
  fail "CALTSF twice failed"
test "$(grep -c '^Command: CALTSF' "$scratch/twice.log")" -eq 2 || fail "CALTSF did not run twice"
cmp -s "$data/tsfjsb.方案1" "$scratch/tsfjsb.once" || fail "the second CALTSF wrote another tsfjsb"
cmp -s "$data/rxdtsfjsb.方案1" "$scratch/rxdtsfjsb.once" || fail "the second CALTSF wrote another rxdtsfjsb"

# The last SAVEFILE found the detour sections (CALTSF left the design alone).
grep -qF "绕行段没有设计横断面" "$log" && fail "the design lost its detour sections after CALTSF"
# A picture of each dialog, its caption bar drawn.
/usr/bin/python3 "$(dirname "$0")/dialog_pictures.py" "$scratch/pictures" 205 206 2005 2532 2484 2463 2222 ||
  fail "the dialogs' pictures"

/usr/bin/python3 - "$scratch/workflow.dxf" "$data" <<'PY'
import math, sys, ezdxf, openpyxl
doc = ezdxf.readfile(sys.argv[1])
msp = doc.modelspace()
def data(line):
    tags = list(line.xtags.subclasses[-1])
    n = tags[1].value
    return [t.value for t in tags[2:2 + n]], [t.value for t in tags[2 + n:12 + n]]
# The design lines of the first section: point A at (320, 56.17), the left
# one's slope start left of it; the right one was erased before the unload.
first = [e for e in msp if e.dxftype() == "DESIGNLINE" and (round(data(e)[1][0], 3), round(data(e)[1][1], 3)) == (320.0, 56.17)]
assert not [e for e in first if data(e)[1][2] > 320.0], "the right design line was not erased"
left = [e for e in first if data(e)[1][2] < 320.0]
assert len(left) == 1, len(left)
vertices, g = data(left[0])
# EDITBP: the slope start is 25 from point A, on the line from A through the
# start the grip drag left (A = (320, 56.17), dragged start (289.75, 55)).
ax, ay = g[0], g[1]
assert (round(ax, 3), round(ay, 3)) == (320.0, 56.17), (ax, ay)
assert abs(math.hypot(g[2] - ax, g[3] - ay) - 25.0) < 1e-5, g
t = 25.0 / math.hypot(289.75 - 320.0, 55.0 - 56.17)
expected = (320.0 + (289.75 - 320.0) * t, 56.17 + (55.0 - 56.17) * t)
for k in (2, 4, 6):
    assert abs(g[k] - expected[0]) < 1e-5 and abs(g[k + 1] - expected[1]) < 1e-5, (g, expected)
# The fifth vertex is the slope start; the grip drag moved vertices 2 and 3.
assert abs(vertices[4][0] - expected[0]) < 1e-5 and abs(vertices[4][1] - expected[1]) < 1e-5, vertices
assert abs(vertices[2][0] - 289.75) < 1e-5, vertices
# PRINTHDM drew plain polylines on layer "Hdm" beside the custom entities.
plain = [e for e in msp if e.dxftype() == "LWPOLYLINE" and e.dxf.layer == "Hdm"]
assert len(plain) > 1000, len(plain)
# ... every section of the design, detours included, after CALTSF: each
# design line drawn by HDMDES has a red polyline starting where it starts.
key = lambda p: (round(p[0], 3), round(p[1], 3))
red = {key(next(iter(e.get_points("xy")))) for e in plain if e.dxf.color == 1}
missing = [key(data(e)[0][0]) for e in msp if e.dxftype() == "DESIGNLINE" and key(data(e)[0][0]) not in red]
assert not missing, ("PRINTHDM left out sections", len(missing), missing[:5])
sheet = openpyxl.load_workbook(sys.argv[2] + "/路基数量表.方案1.xlsx")["路基数量表"]
assert any(r[0] == "合计" for r in sheet.iter_rows(values_only=True))
PY
echo "corvane commands: OK"
