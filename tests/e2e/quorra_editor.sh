#!/usr/bin/env bash
# The navigator's table editor driven by cadhost:
#   1. over the sample project: TREE, 车站 of 方案1 opened from the tree, a
#      row added after the last and typed (a text that is no number refused
#      in a number column, then Esc), saved; the rows read back with
#      sqlite3: the new station after the sample's two, whose 车站类型 (not
#      shown by the editor) are kept, and a value with more decimals than the
#      editor shows kept to the last digit; a name changed, then 取消 (4)
#      asks whether to save it and 否 drops it;
#   2. a project with no scheme database (方案1.mdb moved away, project
#      naming 方案2): TREE copies the template to 方案2.mdb, the next TREE
#      lists it with its tables made, its 车站 gets one row, read back.
# Pictures of the dock bar and the editor (its preview showing the flag block
# of the first station) are kept in pictures/.
#   quorra_editor.sh BIN_DIR INSTALL_DIR SCRATCH_DIR
set -euo pipefail
bin=$1 install=$2 scratch=$3
. "$(dirname "$0")/sample_scratch.sh"

# More decimals than the editor shows (8).
sqlite3 "$data/方案1.mdb" "update 车站 set 终点里程数 = 26300.1234567891 where 车站名称 = '青山站'"
cat > "$scratch/sample.scr" <<'SCR'
TREE
> 2161 206:dbl=方案1/输入数据/插旗/基线/车站
> 8001 8003[2,1]
> 8001 8011
> 8001 8003[3,1]=白石站 8003[3,2]=DK 8003[3,3]=33100 8003[3,8]=中间站01
> 8001 8003[3,5]=abc
> 8001 {Esc}
> 8001 3
> 8001 8003[1,8]
PICTURES
> 8001 8003[1,1]=改名站
> 8001 4
@msg IDNO
SCR
"$bin/cadhost" --install "$scratch/install" --load tamsel --pictures "$scratch/pictures" \
  --script "$scratch/sample.scr" > "$scratch/sample-run.log" || { tail -20 "$scratch/sample-run.log"; fail "cadhost failed"; }
rows=$(sqlite3 -separator '|' "$data/方案1.mdb" \
  "select 车站名称, 站房中心里程冠号, 站房中心里程数, 车站类型, ifnull(插旗图块名, '') from 车站 order by ID")
expected="青山站|DK|25750.0|1|区段站01
柳河站|D1K|42400.0|0|中间站03
白石站|DK|33100.0||中间站01"
test "$rows" = "$expected" || fail "车站 of 方案1 holds
$rows"
grep -q '“起点里程数”列只能填数值，“abc”不是数值!' "$scratch/sample-run.log" || fail "abc was not refused"
grep -q '车站已修改，是否保存？ \[IDNO\]' "$scratch/sample-run.log" || fail "取消 did not ask about the changed name"
end=$(sqlite3 "$data/方案1.mdb" "select printf('%.10f', 终点里程数) from 车站 where 车站名称 = '青山站'")
test "$end" = "26300.1234567891" || fail "终点里程数 of 青山站 is $end after the save"
ls "$scratch/pictures"/*-8001-车站.png > /dev/null 2>&1 || fail "no picture of the editor"
ls "$scratch/pictures"/*-0-*.png > /dev/null 2>&1 || fail "no picture of the main window with the dock bar"

# A project without a scheme database: the template makes 方案2.
mv "$data/方案1.mdb" "$scratch/方案1.mdb.kept"
printf '方案2\r\n' > "$scratch/sample/project"
cat > "$scratch/new.scr" <<'SCR'
TREE
@msg IDOK
TREE
> 2161 206:dbl=方案2/输入数据/插旗/基线/车站
> 8001 8011
> 8001 8003[1,1]=新站 8003[1,2]=DK 8003[1,3]=100
> 8001 3
SCR
"$bin/cadhost" --install "$scratch/install" --load tamsel --script "$scratch/new.scr" > "$scratch/new-run.log" ||
  { tail -20 "$scratch/new-run.log"; fail "cadhost failed on the new scheme"; }
test -f "$data/方案2.mdb" || fail "no 方案2.mdb made from the template"
tables=$(sqlite3 "$data/方案2.mdb" "select count(*) from sqlite_master where type = 'table' and name in ('车站', '隧道', '右线绕行段填挖表')")
test "$tables" -eq 3 || fail "方案2.mdb lacks its tables ($tables of 3)"
rows=$(sqlite3 -separator '|' "$data/方案2.mdb" "select ID, 车站名称, 站房中心里程冠号, 站房中心里程数 from 车站 order by ID")
test "$rows" = "1|新站|DK|100.0" || fail "车站 of 方案2 holds
$rows"
echo "quorra editor: ok"
