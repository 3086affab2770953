#!/usr/bin/python3
"""Interrupting the whole workflow loses nothing an earlier step stored.

The workflow script (tools/workflow.scr, read from the tree as it stands)
runs through cadhost with the four modules loaded, in the folder of a fresh
copy of a sample project with fewer stations (every 200 m):

- once whole, keeping a copy of the project after each step (the SNAPSHOT
  command of the test module tm_snapshot): the complete run's state at each
  step;
- cut after step k, for each step k that stores something (the project
  differs after it): the script ends there. The project is then exactly the
  complete run's state at step k (every table's rows, every file);
- with step k made to fail, for each step k that stores something: its first
  dialog gets a word it cannot take (the dialog is cancelled and the run
  fails), or, for a step without a dialog, a line that is no command follows
  it. Every table then holds the rows of step k-1 or those of step k, and
  every file is its content at step k-1 or at step k (no torn file, no
  half-written table).

Only the steps that store something are cut after and made to fail: the
others would repeat a run with nothing new to check.

- killed at random moments inside each step that stores something: in the
  complete run, before each step, the KILLS command of tm_snapshot forks the
  editor, lets the first child run the step whole (its time is the step's)
  and kills each of the next children (SIGKILL) at a moment drawn from a
  seeded generator, uniformly within the step's time; each child's project is
  kept, and the project put back, before the editor runs the step itself. In
  each killed child's project every table holds the rows of step k-1 or those
  of step k and every file is its content at step k-1 or at step k (a
  database's journal is rolled back first, as the next open does; a
  temporary file of the file layer, ".<name>.<pid>.<6 characters>.tmp", is
  no result and is left out). The seed is printed; WORKFLOW_INTERRUPT_SEED
  replays it (the moments are fractions of the step's time, so a replay
  kills near the same places).

After every run the scheme database passes PRAGMA integrity_check.

A step is a line that names a command (capitals, digits and '_' first on the
line) with the lines under it up to the next such line (comment lines
go with the step above them).

workflow_interrupt.py BIN_DIR INSTALL_DIR TEST_MODULE_DIR SCRATCH_DIR
"""
import hashlib
import os
import random
import re
import shutil
import sqlite3
import subprocess
import sys
import zipfile

bin_dir, install, modules, scratch = (os.path.abspath(a) for a in sys.argv[1:5])
here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
from workflow_files import MODULES, db_content  # noqa: E402
script_path = os.path.join(here, "..", "..", "tools", "workflow.scr")

shutil.rmtree(scratch, ignore_errors=True)
os.makedirs(scratch)
env = dict(os.environ, CADHOST_DRIVE_ROOT=os.path.join(scratch, "drives"))
work_install = os.path.join(scratch, "install")
project = os.path.join(scratch, "sample")
base = os.path.join(scratch, "base")
snapshot_module = os.path.join(modules, "tm_snapshot.arx")
failures = []


def fail(message):
    failures.append(message)
    print("workflow interrupt: " + message, flush=True)


# --- the sample project, kept to start every run from -------------------------------
shutil.copytree(install, work_install)
subprocess.run([os.path.join(bin_dir, "sample-project"), "--install", work_install, "--interval", "200", "--workdir",
                project],
               check=True, env=env, stdout=subprocess.DEVNULL)
os.makedirs(base)
for name in ("install", "sample"):
    shutil.copytree(os.path.join(scratch, name), os.path.join(base, name), symlinks=True)


def fresh():
    for name in ("install", "sample", "drives"):
        shutil.rmtree(os.path.join(scratch, name), ignore_errors=True)
    for name in ("install", "sample"):
        shutil.copytree(os.path.join(base, name), os.path.join(scratch, name), symlinks=True)


def run(lines, name):
    """Runs the script over a fresh project; its exit status."""
    fresh()
    path = os.path.join(scratch, name + ".scr")
    with open(path, "w", encoding="utf-8") as f:
        f.write("".join(line + "\n" for line in lines))
    with open(os.path.join(scratch, name + ".log"), "wb") as log:
        loads = [word for module in MODULES + [snapshot_module] for word in ("--load", module)]
        return subprocess.run([os.path.join(bin_dir, "cadhost"), "--install", work_install, *loads, "--pictures",
                               os.path.join(scratch, name + "-pictures"), "--script", path], cwd=project, env=env,
                              stdout=log,
                              stderr=subprocess.STDOUT).returncode


# --- the state of a project folder ----------------------------------------------------
def database_state(path, where):
    """Its tables' rows (sorted), after PRAGMA integrity_check."""
    db = sqlite3.connect("file:" + path + "?mode=ro", uri=True)
    try:
        check = db.execute("PRAGMA integrity_check").fetchall()
    finally:
        db.close()
    if check != [("ok",)]:
        fail(f"{where}: {os.path.basename(path)} fails integrity_check: {check[:3]}")
    return db_content(path)


def file_state(path):
    """A file's content; a workbook's by its parts, less the one with its time of writing."""
    if path.endswith(".xlsx"):
        try:
            with zipfile.ZipFile(path) as z:
                return tuple(sorted((n, hashlib.sha1(z.read(n)).hexdigest()) for n in z.namelist()
                                    if n != "docProps/core.xml"))
        except zipfile.BadZipFile:
            pass
    with open(path, "rb") as f:
        return hashlib.sha1(f.read()).hexdigest()


TEMPORARY = re.compile(r"^\..+\.[0-9]+\.[A-Za-z0-9]{6}\.tmp$")


def recover(folder):
    """Rolls back what a killed writer left of a transaction (a hot journal), as the next open does."""
    for root, _, files in os.walk(folder):
        for name in files:
            if name.endswith(".mdb") and os.path.exists(os.path.join(root, name + "-journal")):
                db = sqlite3.connect(os.path.join(root, name))
                try:
                    db.execute("SELECT count(*) FROM sqlite_master").fetchall()
                finally:
                    db.close()


def state(folder, where, killed=False):
    """{"file:<rel>": content, "table:<db>/<table>": rows}."""
    result = {}
    for root, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            rel = os.path.relpath(path, folder)
            if killed and TEMPORARY.match(name):
                continue  # the file layer's temporary file of a writer that was killed
            if killed and name.endswith("-journal"):
                continue  # what recover() did not roll back holds nothing: the next write removes it
            if name.endswith(("-journal", "-wal", "-shm")):
                fail(f"{where}: a database journal is left: {rel}")
                continue
            if name.endswith(".mdb"):
                for table, rows in database_state(path, where).items():
                    result[f"table:{rel}/{table}"] = rows
            else:
                result["file:" + rel] = file_state(path)
    return result


# --- the steps of the workflow --------------------------------------------------------
with open(script_path, encoding="utf-8") as f:
    text = f.read().splitlines()
COMMAND = r"^[A-Z][A-Z0-9_]*(\s|$)"
steps, leading = [], []
for line in text:
    if re.match(COMMAND, line):
        steps.append(leading + [line])
        leading = []
    elif steps:
        steps[-1].append(line)
    else:
        leading.append(line)  # comments before the first command go with it
n = len(steps)


def label(step):
    return next(line for line in step if re.match(COMMAND, line)).split()[0]


print(f"workflow interrupt: {n} steps: " + ", ".join(label(s) for s in steps), flush=True)


def snapshot_line(k):
    return ["SNAPSHOT", project, os.path.join(scratch, "snapshots", str(k))]


# The complete run, its state kept after each step (0: before the first),
# each step first run in children killed at random moments.
KILLS_PER_STEP = 4
seed = int(os.environ.get("WORKFLOW_INTERRUPT_SEED") or random.SystemRandom().randrange(1, 2**31))
print(f"workflow interrupt: seed {seed} (WORKFLOW_INTERRUPT_SEED={seed} replays it)", flush=True)
step_seeds = random.Random(seed)


def kills_line(k):
    return ["KILLS", project, os.path.join(scratch, "snapshots", str(k - 1)), os.path.join(scratch, "kills", str(k)),
            str(KILLS_PER_STEP), str(step_seeds.randrange(1, 2**31))]


whole = snapshot_line(0)
for k, step in enumerate(steps, 1):
    whole += kills_line(k) + step + ["KILLSEND"] + snapshot_line(k)
if run(whole, "whole") != 0:
    fail("the complete run failed (see whole.log)")
    sys.exit(1)
at = [state(os.path.join(scratch, "snapshots", str(k)), f"complete run, step {k}") for k in range(n + 1)]
if state(project, "complete run") != at[n]:
    fail("the complete run's project differs from its state after the last step")


def broken(step):
    """The step made to fail: its first dialog answer gets a word no control takes."""
    lines = list(step)
    for i, line in enumerate(lines):
        m = re.match(r"^(\s*@\d+)(\s.*)?$", line)
        if m:
            lines[i] = m.group(1) + " 99999" + (m.group(2) or "")
            return lines
    return lines + ["NOSUCHCOMMAND"]


def differences(got, allowed):
    """Keys of `got` whose value is none of the allowed states' (a missing key counts as a value)."""
    keys = set(got)
    for a in allowed:
        keys |= set(a)
    return sorted(k for k in keys if all(got.get(k) != a.get(k) for a in allowed))


# The main steps: those that store something (the project differs after them).
# Only they are cut after and made to fail, which keeps the number of runs down.
main = [k for k in range(1, n + 1) if at[k] != at[k - 1]]
print("workflow interrupt: steps that store something: " + ", ".join(label(steps[k - 1]) for k in main),
      flush=True)
if not main:
    fail("no step of the workflow stored anything")

# The children killed inside each step that stores something.
killed_runs = 0
for k in main:
    folder = os.path.join(scratch, "kills", str(k))
    children = sorted(int(c) for c in os.listdir(folder)) if os.path.isdir(folder) else []
    if len(children) != KILLS_PER_STEP + 1:
        fail(f"step {k} ({label(steps[k - 1])}): {len(children)} children ran, not {KILLS_PER_STEP + 1} (see whole.log)")
    for i in children:
        child = os.path.join(folder, str(i))
        where = f"step {k} ({label(steps[k - 1])}) " + ("run whole in a child" if i == 0 else f"killed, child {i}")
        recover(child)
        bad = differences(state(child, where, killed=True), [at[k]] if i == 0 else [at[k - 1], at[k]])
        if bad:
            fail(f"{where}: neither the state before the step nor after it: {bad[:5]} (seed {seed})")
        killed_runs += i > 0
print(f"workflow interrupt: {killed_runs} runs killed inside {len(main)} steps", flush=True)

for k in sorted({k - 1 for k in main} | {k for k in main if k < n}):
    prefix = [line for step in steps[:k] for line in step]
    if k in main:
        if run(prefix, f"cut{k}") != 0:
            fail(f"the script cut after step {k} failed (see cut{k}.log)")
        bad = differences(state(project, f"cut after step {k}"), [at[k]])
        if bad:
            fail(f"cut after step {k}: not the complete run's state at that step: {bad[:5]}")
    if k + 1 not in main:
        continue
    if run(prefix + broken(steps[k]), f"fail{k + 1}") == 0:
        fail(f"step {k + 1} made to fail ran to its end (see fail{k + 1}.log)")
    bad = differences(state(project, f"step {k + 1} failing"), [at[k], at[k + 1]])
    if bad:
        fail(f"step {k + 1} failing: neither the state before it nor after it: {bad[:5]}")

if failures:
    sys.exit(1)
print("workflow interrupt: OK")
