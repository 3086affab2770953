#!/usr/bin/env bash
# The plan's table editor driven by cadhost over the sample project:
# DEZERORUR draws the plan and the bridges and shows the project tree; the
# tree opens 大中桥, the first bridge's 终点里程数 is typed 20 m further and
# 刷新图形 saves the table and sends INBMBR, which runs once the button's
# handler has returned. The saved drawing's 大中桥 layer must differ from the
# one before the edit and equal the one a separate run draws from the
# database changed by hand (sqlite3), and the database must hold the new
# value with every other row and column as it was, to the last digit (the
# bridges are given more decimals than the editor shows). Then a name is
# changed and the window closed: asked whether to save, 否 drops it. A
# picture of the editor is kept in pictures/.
#   brevell_table_editor.sh BIN_DIR INSTALL_DIR SCRATCH_DIR
set -euo pipefail
bin=$1 install=$2 scratch=$3
. "$(dirname "$0")/sample_scratch.sh"
db="$data/方案1.mdb"

# More decimals than the editor shows (3), which a save must keep.
sqlite3 "$db" "update 大中桥 set 中心里程数 = 中心里程数 + 0.00049, 桥全长 = 桥全长 + 0.12345678"
old_end=$(sqlite3 "$db" "select 终点里程数 from 大中桥 order by ID limit 1")
new_end=$(awk -v v="$old_end" 'BEGIN { printf "%.2f", v + 20 }')
sqlite3 "$db" "select * from 大中桥 order by ID" > "$scratch/bridges-before.txt"
cp "$db" "$scratch/reference.mdb"

cat > "$scratch/editor.scr" <<SCR
DEZERORUR
@2001 233=1 2261=1 IDOK
SAVEAS "$(win "$scratch/before.dxf")"
> 2163 2062:dbl=方案名称：方案1/基线/插旗/大中桥
> 2251 2003[1,7]=$new_end
PICTURES
> 2251 232
> 2251 2003[2,1]=临时桥名
> 2251 close
@msg IDNO
SCR
"$bin/cadhost" --install "$scratch/install" --load brevell --pictures "$scratch/pictures" \
  --script "$scratch/editor.scr" --save "$scratch/after.dxf" > "$scratch/editor.log" ||
  { tail -20 "$scratch/editor.log"; fail "the editor run failed"; }
log="$scratch/editor.log"
# 刷新图形 sends INBMBR to the command line: it runs after the '>' line.
awk '/^> 2251 232/ { seen = 1 } seen && /^Command: INBMBR/ { found = 1 } END { exit !found }' "$log" ||
  fail "INBMBR did not run after 刷新图形"
grep -q '大中桥已修改，是否保存？ \[IDNO\]' "$log" || fail "closing the changed editor did not ask"
picture=$(ls "$scratch/pictures"/*2251*.png 2>/dev/null | head -1)
test -s "$picture" || fail "no picture of the editor"

# The database: the new end, everything else as it was.
test "$(sqlite3 "$db" "select printf('%.2f', 终点里程数) from 大中桥 order by ID limit 1")" = "$new_end" ||
  fail "终点里程数 was not saved"
sqlite3 "$scratch/reference.mdb" "update 大中桥 set 终点里程数 = $new_end where ID = (select min(ID) from 大中桥)"
sqlite3 "$db" "select * from 大中桥 order by ID" > "$scratch/bridges-after.txt"
sqlite3 "$scratch/reference.mdb" "select * from 大中桥 order by ID" > "$scratch/bridges-reference.txt"
cmp -s "$scratch/bridges-after.txt" "$scratch/bridges-reference.txt" ||
  { diff "$scratch/bridges-after.txt" "$scratch/bridges-reference.txt" | head; fail "the save changed more than the cell"; }
grep -q '白水河特大桥|DK|37850.00049|' "$scratch/bridges-after.txt" ||
  { head -2 "$scratch/bridges-after.txt"; fail "中心里程数 lost its decimals"; }

# The reference drawing: the bridges drawn from the database changed by hand.
cp "$scratch/reference.mdb" "$db"
cat > "$scratch/reference.scr" <<SCR
DEZERORUR
@2001 2261=1 IDOK
SCR
"$bin/cadhost" --install "$scratch/install" --load brevell --script "$scratch/reference.scr" \
  --save "$scratch/reference.dxf" > "$scratch/reference.log" || { tail -20 "$scratch/reference.log"; fail "the reference run failed"; }

/usr/bin/python3 - "$scratch/before.dxf" "$scratch/after.dxf" "$scratch/reference.dxf" <<'PY' || fail "the bridge outline is not the new one"
import sys, ezdxf

def layer(path):
    doc = ezdxf.readfile(path)
    assert len(doc.audit().errors) == 0, path
    items = []
    for e in doc.modelspace():
        if e.dxf.layer != "大中桥":
            continue
        if e.dxftype() == "LINE":
            pts = [e.dxf.start, e.dxf.end]
        elif e.dxftype() == "LWPOLYLINE":
            pts = [(p[0], p[1]) for p in e.get_points()]
        elif e.dxftype() == "TEXT":
            pts = [e.dxf.insert]
        else:
            continue
        items.append((e.dxftype(), tuple((round(p[0], 3), round(p[1], 3)) for p in pts)))
    return sorted(items)

before, after, reference = (layer(p) for p in sys.argv[1:4])
assert after, "no bridge drawn after the redraw"
assert after != before, "the bridges were not redrawn"
assert after == reference, "the redraw differs from the bridges drawn from the database"
# Every bridge but the first is as before: the outline of one bridge changed.
changed = [i for i in after if i not in before]
assert 0 < len(changed) < len(after), (len(changed), len(after))
print("bridge outline ok:", len(changed), "of", len(after), "items new")
PY
echo "brevell table editor: ok"
