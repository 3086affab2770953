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
#    are copied with sqlite3 into the tables as the navigator made them (a
#    table it does not make is created with the sample's columns).
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
# What the workflow makes itself stays out.
made="'横断面地面线表','横断面岩层线表','用户横断面岩层线表'"
tables=$(sqlite3 "$project/input.mdb" \
  "select name from sqlite_master where type='table' and name not like 'sqlite_%'
   and name not like '%横断面地面线表' and name not like '%岩层线表' and name not in ($made) order by name")
{
  echo "attach database '$project/input.mdb' as input;"
  echo "begin;"
  while IFS= read -r table; do
    [ -n "$table" ] || continue
    rows=$(sqlite3 "$project/input.mdb" "select count(*) from \"$table\"")
    [ "$rows" -gt 0 ] || continue
    all="select group_concat('\"' || name || '\"', ',') from pragma_table_info('$table')"
    if [ -z "$(sqlite3 "$db" "select name from sqlite_master where type='table' and name='$table'")" ]; then
      sqlite3 "$project/input.mdb" "select sql from sqlite_master where type='table' and name='$table'"
      echo ";"
      columns=$(sqlite3 "$project/input.mdb" "$all")
    else
      # The columns both tables have, by name.
      columns=$(sqlite3 "$db" "attach database '$project/input.mdb' as input;
        $all where name in (select name from pragma_table_info('$table', 'input'))")
    fi
    echo "insert into main.\"$table\" ($columns) select $columns from input.\"$table\";"
  done <<< "$tables"
  echo "commit;"
} > "$project/input.sql"
sqlite3 "$db" < "$project/input.sql"
echo "fresh scheme: $db made by the navigator from the template, its input from $project/input.mdb"
