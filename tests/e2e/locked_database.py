#!/usr/bin/python3
"""A scheme database that another program holds locked.

Over a sample project (sections every 200 m), another connection holds a
lock on data/方案1.mdb (an exclusive one, or a writer's that lets it be read) while
cadhost runs one command that opens it (the lines of tools/workflow.scr's
step). For each command: the run ends with exit status 1, the transcript says
once that the database is in use by another program, the run's error names
the command as stopped, and no further open of the database reports a failure
of its own (the command's own note of the failed open may follow, once). The lock is held by a process of its own, so the editor cannot see it
otherwise than a user's editor would.

locked_database.py BIN_DIR INSTALL_DIR SCRATCH_DIR
"""
import os
import shutil
import sqlite3
import subprocess
import sys

bin_dir, install, scratch = (os.path.abspath(a) for a in sys.argv[1:4])
here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
from workflow_files import MODULES, SCHEME  # noqa: E402

shutil.rmtree(scratch, ignore_errors=True)
os.makedirs(scratch)
env = dict(os.environ, CADHOST_DRIVE_ROOT=os.path.join(scratch, "drives"))
work_install = os.path.join(scratch, "install")
project = os.path.join(scratch, "sample")
shutil.copytree(install, work_install)
subprocess.run([os.path.join(bin_dir, "sample-project"), "--install", work_install, "--interval", "200", "--workdir",
                project], check=True, env=env, stdout=subprocess.DEVNULL)
database = os.path.join(project, "data", SCHEME + ".mdb")
IN_USE = "is in use by another program"

# (what, the lock, script lines). EXCLUSIVE: nobody reads or writes; IMMEDIATE: a writer's
# transaction, the database can be read but not written (the command finds it at its first write).
CASES = [
    ("the plan (every structure table)", "EXCLUSIVE", ["DEZERORUR", "@2001 249=2000 2253=公里标 233=1 IDOK"]),
    ("the fill/cut table", "EXCLUSIVE", ["CALTWB", "@205 2052=1 2055=1 IDOK", "@msg IDOK"]),
    ("the section design", "EXCLUSIVE", ["HDMDES", "@2005 210=1 2181=1 IDOK"]),
    ("the fill/cut table written", "IMMEDIATE", ["CALTWB", "@205 2052=1 2055=1 IDOK", "@msg IDOK"]),
]

# The lock: a process of its own holding an exclusive transaction until told to stop.
HOLDER = """
import sqlite3, sys
db = sqlite3.connect(sys.argv[1], isolation_level=None)
db.execute("BEGIN " + sys.argv[2])
db.execute("CREATE TABLE IF NOT EXISTS held_by_another_program (x)")
print("locked", flush=True)
sys.stdin.read()
db.execute("ROLLBACK")
"""

failures = []
for what, kind, lines in CASES:
    holder = subprocess.Popen([sys.executable, "-c", HOLDER, database, kind], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              text=True)
    try:
        if holder.stdout.readline().strip() != "locked":
            failures.append(f"{what}: the lock could not be taken")
            continue
        script = os.path.join(scratch, "run.scr")
        with open(script, "w", encoding="utf-8") as f:
            f.write("".join(line + "\n" for line in lines))
        loads = [word for module in MODULES for word in ("--load", module)]
        try:
            run = subprocess.run([os.path.join(bin_dir, "cadhost"), "--install", work_install, *loads, "--script",
                                  script], cwd=project, env=env, capture_output=True, text=True, timeout=300)
        except subprocess.TimeoutExpired:
            failures.append(f"{what}: the command did not stop")
            continue
    finally:
        holder.stdin.close()
        holder.wait()
    command = lines[0]
    said = sum(1 for line in run.stdout.splitlines() if line.startswith("The database '") and IN_USE in line)
    quoted = sum(1 for line in run.stdout.splitlines() if IN_USE in line) - said  # in the command's own note
    print(f"locked database: {what}: exit {run.returncode}, said {said} time(s); stderr: {run.stderr.strip()}",
          flush=True)
    if run.returncode != 1:
        failures.append(f"{what}: exit status {run.returncode}, not 1")
    if said != 1:
        failures.append(f"{what}: the transcript says {said} times that the database is in use, not once")
    if quoted > 1:
        failures.append(f"{what}: {quoted} notes of the command quote the lock, not one at most")
    if f"{command} stopped: " not in run.stderr or IN_USE not in run.stderr:
        failures.append(f"{what}: the run's error does not name {command} as stopped: {run.stderr.strip()}")
    if "数据库连接失败: " in run.stdout:
        failures.append(f"{what}: an open of the locked database reports a failure of its own")
    # The command's own note of the failed open (a module's alert) may follow, once: not one per open.
    naming = [line for line in run.stdout.splitlines() if SCHEME + ".mdb" in line]
    if len(naming) > 2:
        failures.append(f"{what}: {len(naming)} lines of the transcript name the database: {naming[:4]}")
    with open(os.path.join(scratch, command + ".log"), "w", encoding="utf-8") as log:
        log.write(run.stdout + run.stderr)

# The database is untouched by the runs and the lock's transaction.
db = sqlite3.connect("file:" + database + "?mode=ro", uri=True)
try:
    if db.execute("PRAGMA integrity_check").fetchall() != [("ok",)]:
        failures.append("the database fails its integrity check")
    if db.execute("SELECT count(*) FROM sqlite_master WHERE name = 'held_by_another_program'").fetchone()[0]:
        failures.append("the other program's transaction was kept")
finally:
    db.close()

for f in failures:
    print("locked database: " + f, flush=True)
if failures:
    sys.exit(1)
print("locked database: OK")
