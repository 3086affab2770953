#!/usr/bin/env bash
# A project of one's own, made step by step as the README's "Your own
# project" says, and the own-project workflow (tools/own_workflow.scr) over it:
#   1. survey points of a valley (own_project.py points) and make-terrain;
#   2. make-techparams for a single-track line, the scheme's name in project;
#   3. the install folder's workdir pointed at the project;
#   4. TREE twice: the scheme database made from the template;
#   5. the alignment entered with sqlite3 (曲线表, 断链表 with a chain break,
#      坡度表), 填挖表 left empty;
#   6. the workflow, its stations every 100 m (the README's 2054=20 changed).
# Then own_project.py checks what it wrote against the design it entered.
#   own_project.sh BIN_DIR INSTALL_DIR SCRATCH_DIR
set -euo pipefail
bin=$(cd "$1" && pwd) install=$2 scratch=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$here/scratch.sh"
export CADHOST_FIXED_TEXT_METRICS=1
py=/usr/bin/python3
project="$scratch/myproject"

# 1. The terrain model from the survey points.
"$py" "$here/own_project.py" points "$scratch/points.xyz"
"$bin/make-terrain" "$scratch/points.xyz" "$project/PMAP" > "$scratch/make-terrain.log"

# 2. The technical parameters of a single-track line; the scheme's name.
"$bin/make-techparams" --line single "$project/data/jishucanshu.dat" > "$scratch/make-techparams.log"
echo 方案1 > "$project/project"

# 3. The install folder names the project.
echo "$(win "$project")" > "$scratch/install/workdir"

# 4. The navigator makes the scheme database from the template and its tables.
"$bin/cadhost" --install "$scratch/install" --load tamsel --run TREE --run TREE > "$scratch/navigator.log" 2>&1 ||
  { tail -5 "$scratch/navigator.log"; fail "TREE failed"; }
test -s "$project/data/方案1.mdb" || fail "TREE made no data/方案1.mdb"

# 5. The alignment, entered with sqlite3.
"$py" "$here/own_project.py" alignment > "$scratch/alignment.sql"
sqlite3 "$project/data/方案1.mdb" < "$scratch/alignment.sql"

# 6. The workflow in the project folder.
sed 's/ 2054=20 / 2054=100 /' "$root/tools/own_workflow.scr" > "$scratch/own_workflow.scr"
grep -q ' 2054=100 ' "$scratch/own_workflow.scr" || fail "tools/own_workflow.scr has no 2054=20 to change"
log="$project/data/workflow.log"
(cd "$project" && "$bin/cadhost" --install "$scratch/install" --load tamsel --load brevell --load corvane \
   --load pellory --pictures data/pictures --script "$scratch/own_workflow.scr") > "$log" 2>&1 ||
  { tail -30 "$log"; fail "the workflow failed"; }
for text in "[cadhost] 填挖表计算完毕 [IDOK]" "的地面线已写入" "[cadhost] 成功导入文件 [IDOK]" \
            "[cadhost] 成功写入数据库 [IDOK]" "路基数量表.方案1.xlsx" "[cadhost] 横断面图绘制完成！ [IDOK]"; do
  grep -qF "$text" "$log" || fail "the transcript lacks \"$text\""
done
for part in -2001- -205- -206- -2005- -2484- -2463- -2222-; do
  ls "$project/data/pictures" | grep -q -- "$part" || fail "no picture $part"
done
"$py" "$here/own_project.py" check "$project" || fail "the files of the workflow"
echo "own project: OK"
