#!/usr/bin/env bash
# A project whose scheme database the navigator makes from the install
# folder's template, with the sample project's alignment as its input:
#   fresh_scheme.sh BIN_DIR INSTALL_DIR PROJECT_DIR [sample-project options]
#
# 1. sample-project makes the project's files (project, jishucanshu.dat, the
#    terrain model in PMAP/) and points the install folder's workdir at it;
#    its scheme database is put aside as the surveyed input (PROJECT_DIR/input.mdb).
# 2. With no scheme database in data/, TREE copies lib/标准.mdb to
#    data/<scheme>.mdb; the second TREE lists it and creates its 36 tables.
# 3. The input tables the sample scheme fills (alignment, structures,
#    standards, stations) are entered into the new database. An engineer
#    types or pastes them into the navigator's table editors; here the rows
#    are copied with sqlite3 into the tables as the navigator made them; a
#    table the navigator did not make, or a column of the input its table
#    lacks, stops the script with its name.
# The cross-section results of the sample (ground lines and everything the
# workflow computes) are not copied: the workflow makes them.
set -euo pipefail
bin=$1 install=$2 project=$3
shift 3
"$bin/sample-project" --install "$install" --workdir "$@" "$project"
scheme=$(head -n 1 "$project/project" | iconv -f GBK -t UTF-8 | tr -d "\r")
db="$project/data/$scheme.mdb"
mv "$db" "$project/input.mdb"
"$bin/cadhost" --install "$install" --load tamsel --run TREE --run TREE > "$project/navigator.log"
test -s "$db" || { echo "fresh scheme: the navigator made no $db" >&2; exit 1; }
# What the workflow makes itself (the ground and rock lines) stays out.
tables=$(sqlite3 "$project/input.mdb" \
  "select name from sqlite_master where type='table' and name not like 'sqlite_%'
   and name not like '%横断面地面线表' and name not like '%岩层线表' order by name")
fail() { echo "fresh scheme: $*" >&2; exit 1; }
{
  echo "attach database '$project/input.mdb' as input;"
  echo "begin;"
  while IFS= read -r table; do
    [ -n "$table" ] || continue
    rows=$(sqlite3 "$project/input.mdb" "select count(*) from \"$table\"")
    [ "$rows" -gt 0 ] || continue
    [ -n "$(sqlite3 "$db" "select name from sqlite_master where type='table' and name='$table'")" ] ||
      fail "the navigator made no table \"$table\" ($rows rows of the input go there)"
    missing=$(sqlite3 "$db" "attach database '$project/input.mdb' as input;
      select group_concat(name, ', ') from pragma_table_info('$table', 'input')
      where name not in (select name from pragma_table_info('$table', 'main'))")
    [ -z "$missing" ] || fail "the navigator's table \"$table\" has no column $missing"
    # Every column of the input, by name (the navigator's table may have more).
    columns=$(sqlite3 "$project/input.mdb" "select group_concat('\"' || name || '\"', ',') from pragma_table_info('$table')")
    echo "insert into main.\"$table\" ($columns) select $columns from input.\"$table\";"
  done <<< "$tables"
  echo "commit;"
} > "$project/input.sql"
sqlite3 "$db" < "$project/input.sql"
echo "fresh scheme: $db made by the navigator from the template, its input from $project/input.mdb"
