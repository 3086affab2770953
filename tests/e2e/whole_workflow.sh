#!/usr/bin/env bash
# The user's whole workflow, tools/workflow.scr, run by cadhost with the four
# modules loaded over a sample project with fewer stations (every 200 m),
# then checked file by file:
#   - the plan drawing (data/平面.dxf, .svg), the section sheets
#     (data/横断面.dxf, .svg), the quantity sheet, the scheme database, the
#     result files and the pictures of the dialogs and palettes;
#   - a second run of the script over its own output writes the same files
#     (text and result files byte for byte; drawings and the sheet by
#     content, less handles and times; the database by its rows);
#   - the same script over a fresh scheme that the navigator makes from the
#     template (tools/fresh_scheme.sh) gives the same results.
# A step added to the script between the existing ones (the table editor
# after TREE) changes none of these checks.
#   whole_workflow.sh BIN_DIR INSTALL_DIR SCRATCH_DIR
set -euo pipefail
bin=$(cd "$1" && pwd) install=$2 scratch=$3
here=$(cd "$(dirname "$0")" && pwd)
script="$here/../../tools/workflow.scr"
sample_options=(--interval 200)
. "$here/sample_scratch.sh"
export CADHOST_FIXED_TEXT_METRICS=1
# The modules, as workflow_files.py lists them for every workflow run.
modules=()
for module in $(/usr/bin/python3 -c 'import sys; sys.path.insert(0, sys.argv[1])
from workflow_files import MODULES; print(*MODULES)' "$here"); do
  modules+=(--load "$module")
done
test "${#modules[@]}" -gt 0 || fail "the module list: ${modules[*]}"

# run NAME PROJECT: the script in the project folder, its pictures in
# SCRATCH/NAME-pictures, its transcript in SCRATCH/NAME.log.
run() {
  (cd "$2" && "$bin/cadhost" --install "$scratch/install" "${modules[@]}" --pictures "$scratch/$1-pictures" \
     --script "$script") > "$scratch/$1.log" 2>&1 || { tail -30 "$scratch/$1.log"; fail "run $1 failed"; }
}

run first "$scratch/sample"
log="$scratch/first.log"
for text in "方案1.mdb" "填挖表计算完毕" "的地面线已写入" "[cadhost] 成功导入文件 [IDOK]" "[cadhost] 成功写入数据库 [IDOK]" \
            "3D OK!" "路基数量表.方案1.xlsx" "横断面图绘制完成！" "> 2222 2232"; do
  grep -qF "$text" "$log" || fail "the transcript lacks \"$text\""
done
cp -a "$scratch/sample" "$scratch/first"

/usr/bin/python3 "$here/workflow_files.py" check "$data" "$scratch/first-pictures" || fail "the files of the first run"

# The second run over the first one's output.
run second "$scratch/sample"
/usr/bin/python3 "$here/workflow_files.py" same "$scratch/first" "$scratch/sample" || fail "the second run differs"

# A fresh scheme made by the navigator, with the same input: the same results.
"$here/../../tools/fresh_scheme.sh" "$bin" "$scratch/install" "$scratch/fresh" --interval 200 > "$scratch/fresh.log"
run fresh "$scratch/fresh"
/usr/bin/python3 "$here/workflow_files.py" same "$scratch/first" "$scratch/fresh" --results ||
  fail "the fresh scheme's results differ from the sample scheme's"
echo "whole workflow: OK"
