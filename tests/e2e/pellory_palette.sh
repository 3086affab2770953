#!/usr/bin/env bash
# The ground-line input's palette driven by cadhost over the sample project,
# with Corvane loaded beside it in the same run:
#   reference: CALTWB (existing stations, ground lines interpolated) and
#   CALHDMDMX write 横断面地面线表 and data\方案1.dmx; HDMDES designs from
#   横断面地面线表 (no 横断面岩层线表 yet) and SAVEFILE keeps its areas;
#   then HDMDMX opens the palette; its dialog (template 6) chooses the
#   scheme's database, imports 方案1.dmx, shows station DK25+020.00 (a
#   picture of it is kept in pictures/), writes 用户横断面岩层线表 and
#   横断面岩层线表; HDMDES designs again, now from layer 0 of 横断面岩层线表.
# The fill and cut area of every section agree within what the file's three
# decimals can move them (0.0005 m on offsets, heights and the centre
# elevation, over at most 2 x 60 m of ground).
#   pellory_palette.sh BIN_DIR INSTALL_DIR SCRATCH_DIR
set -euo pipefail
bin=$1 install=$2 scratch=$3
. "$(dirname "$0")/sample_scratch.sh"
win_data=$(win "$data")

cat > "$scratch/reference.scr" <<SCR
CALTWB
@205 2052=1 2055=1 IDOK
CALHDMDMX
@206 IDOK
HDMDES
@2005 IDOK
SAVEFILE
SCR
"$bin/cadhost" --install "$scratch/install" --load corvane --script "$scratch/reference.scr" > "$scratch/reference.log" ||
  { tail -20 "$scratch/reference.log"; fail "the reference run failed"; }
test -s "$data/方案1.dmx" || fail "CALHDMDMX wrote no ground-line file"
rock=$(sqlite3 "$data/方案1.mdb" "select count(*) from 横断面岩层线表" 2>/dev/null || echo 0)
test "$rock" -eq 0 || fail "the reference run must read 横断面地面线表 alone ($rock rows of 横断面岩层线表)"
cp "$data/HdmDetailArea.方案1" "$scratch/reference.area"

cat > "$scratch/palette.scr" <<SCR
HDMDMX
> 6 67
@file "$win_data\\方案1.mdb"
> 6 66
@file "$win_data\\方案1.dmx"
@msg IDOK
> 6 26=DK25+020.00
PICTURES
> 6 53
@msg IDOK
HDMDES
@2005 IDOK
SAVEFILE
SCR
"$bin/cadhost" --install "$scratch/install" --load corvane --load pellory --pictures "$scratch/pictures" \
  --script "$scratch/palette.scr" > "$scratch/palette.log" || { tail -20 "$scratch/palette.log"; fail "cadhost failed"; }
log="$scratch/palette.log"
for text in "[cadhost] 成功导入文件 [IDOK]" "[cadhost] 成功写入数据库 [IDOK]" "> 6 26=DK25+020.00"; do
  grep -qF "$text" "$log" || fail "the transcript lacks \"$text\""
done
! grep -qx "没有横断面岩层线表记录" "$log" || fail "HDMDES found no 横断面岩层线表"
picture=$(ls "$scratch/pictures"/001-0-*.png 2>/dev/null | head -1)
test -s "$picture" || fail "no picture of the palette"

ground=$(sqlite3 "$data/方案1.mdb" "select count(*) from 横断面地面线表")
design=$(sqlite3 "$data/方案1.mdb" "select count(*) from 横断面岩层线表 where 层号=0")
user=$(sqlite3 "$data/方案1.mdb" "select count(*) from 用户横断面岩层线表 where 层号=0")
test "$ground" -gt 1000 && test "$design" -eq "$ground" && test "$user" -eq "$ground" ||
  fail "横断面地面线表 $ground, 横断面岩层线表 $design, 用户横断面岩层线表 $user"

/usr/bin/python3 - "$scratch/reference.area" "$data/HdmDetailArea.方案1" <<'PY'
import sys
def sections(path):
    # After the count, one record per section: "mileage code", the fill and
    # the cut (total first), then the parts; records end with an empty line.
    lines = open(path, encoding="gbk").read().split("\n")[1:]
    out, record = [], []
    for line in lines + [""]:
        if line.strip():
            record.append(line.split())
        elif record:
            out.append((float(record[0][0]), float(record[1][0]), float(record[2][0])))
            record = []
    return out
reference, imported = sections(sys.argv[1]), sections(sys.argv[2])
assert len(reference) > 500 and len(imported) == len(reference), (len(reference), len(imported))
tolerance = 2 * 60.0 * 0.0005 + 2 * 60.0 * 0.0005
worst = 0.0
for (m0, f0, c0), (m1, f1, c1) in zip(reference, imported):
    assert abs(m0 - m1) < 1e-6, (m0, m1)
    assert abs(f0 - f1) <= tolerance and abs(c0 - c1) <= tolerance, (m0, f0, f1, c0, c1)
    worst = max(worst, abs(f0 - f1), abs(c0 - c1))
assert sum(1 for _, f, c in reference if f + c > 1.0) > 500
print("largest area difference %.4f m2 over %d sections" % (worst, len(reference)))
PY
echo "pellory palette: ok"
