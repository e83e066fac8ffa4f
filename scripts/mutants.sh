#!/usr/bin/env bash
# Plants one small fault at a time in the product code, rebuilds, runs the
# suite, and reports the faults no test noticed (not run by CI: it takes long).
#
#   scripts/mutants.sh [--sample N] [--seed S] [--list] [--tests REGEX] [--from K] [FILE_OR_FOLDER...]
#
# Faults: == and != swapped, < <= > >= shifted by one, && and || swapped,
# + 1 and - 1 swapped, true and false swapped, a statement deleted. A mutant
# that does not compile is not counted. Default: every file under src/. The
# package test (test_install) is not run.
# --sample N tries N mutants picked at random (seeded), --list only lists them.
# --tests REGEX runs only the matching tests (ctest -R): quicker while working
# on one folder; the figure that counts comes from the whole suite. --from K
# starts at the K-th mutant of the list, to go on with a run that was stopped.
# The build is instrumented for coverage, and each test run once alone first:
# a mutant is then built into and tried against only the tests that run its
# line, since no other test can notice it. A line that gcov does not count as
# code (a declaration, a constant) is tried against the whole suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-mutants"
cd "$root"

exec python3 - "$root" "$build" "$@" <<'PY'
import collections, glob, json, os, random, re, subprocess, sys

root, build, *args = sys.argv[1:]
sample, seed, list_only, paths, only, first = None, 1, False, [], [], 1
while args:
    a = args.pop(0)
    if a == "--sample": sample = int(args.pop(0))
    elif a == "--seed": seed = int(args.pop(0))
    elif a == "--list": list_only = True
    elif a == "--tests": only = ["-R", args.pop(0)]
    elif a == "--from": first = int(args.pop(0))
    else: paths.append(a)
paths = paths or ["src"]

files = []
for p in paths:
    if os.path.isdir(p):
        for d, _, names in os.walk(p):
            files += [os.path.join(d, n) for n in names if n.endswith(".cpp")]
    else:
        files.append(p)
files.sort()

SWAPS = [(" == ", " != "), (" != ", " == "), (" <= ", " < "), (" < ", " <= "),
         (" >= ", " > "), (" > ", " >= "), (" && ", " || "), (" || ", " && "),
         (" + 1", " - 1"), (" - 1", " + 1"), ("true", "false"), ("false", "true")]
# A statement worth deleting: a call or an assignment on a line of its own.
STATEMENT = re.compile(r"^\s*[A-Za-z_][\w:.\->\[\]()*]*\s*(\(.*\)|[-+*/|&]?=[^=].*);\s*$")

def skip(line):
    s = line.strip()
    return (not s or s.startswith(("//", "#", "*", "/*")) or "QStringLiteral" in s
            or s.startswith(("static_assert", "Q_")))

mutants = []
for f in files:
    lines = open(f, encoding="utf-8").read().split("\n")
    for i, line in enumerate(lines):
        if skip(line):
            continue
        code = line.split("//")[0]
        for old, new in SWAPS:
            pattern = r"\b%s\b" % old if old.isalpha() else re.escape(old)
            for m in re.finditer(pattern, code):
                if old in (" < ", " > ") and ("<<" in code or "template" in code):
                    continue
                mutants.append((f, i, m.start(), old, new))
        if STATEMENT.match(code) and not code.strip().startswith(("return", "const ", "auto ")):
            mutants.append((f, i, 0, line, ""))

random.seed(seed)
if sample is not None and sample < len(mutants):
    mutants = sorted(random.sample(mutants, sample))

def describe(m):
    f, i, col, old, new = m
    what = "delete statement" if new == "" and old.strip().endswith(";") else "%r -> %r" % (old.strip(), new.strip())
    return "%s:%d: %s" % (os.path.relpath(f, root), i + 1, what)

if list_only:
    print("\n".join(describe(m) for m in mutants))
    sys.exit(0)

def run(cmd, timeout=None):
    return subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout).returncode

# The package test is left out: it checks packaging, not src/, and as the
# slowest test CTest would start it first for every mutant (half a minute).
skip_install = ["-E", "^test_install$"]
def have(tool):
    return subprocess.run(["which", tool], stdout=subprocess.DEVNULL).returncode == 0
env_cc = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if have("ccache") else []
# Every mutant relinks every test; lld links them about four times faster than ld.
link = "--coverage" + (" -fuse-ld=lld" if have("ld.lld") else "")
env_cc += ["-DCMAKE_CXX_FLAGS=--coverage", "-DCMAKE_EXE_LINKER_FLAGS=" + link, "-DCMAKE_SHARED_LINKER_FLAGS=" + link]
if run(["cmake", "-S", root, "-B", build, "-DCMAKE_BUILD_TYPE=Debug",
        "-DVELLARA_BUILD_BENCHMARKS=OFF"] + env_cc) != 0 \
        or run(["cmake", "--build", build, "-j%d" % os.cpu_count()]) != 0 \
        or run(["ctest", "--test-dir", build, "-j%d" % os.cpu_count()] + skip_install) != 0:
    sys.exit("The unmutated code does not build or pass; fix that first.")

# Which tests run which line of src/, and which lines are code at all.
listed = subprocess.run(["ctest", "--test-dir", build, "-N"] + skip_install, capture_output=True, text=True).stdout
tests = re.findall(r"Test\s+#\d+: (\S+)", listed)
runs, code = collections.defaultdict(set), set()
notes = glob.glob(os.path.join(build, "src", "**", "*.gcno"), recursive=True)
for test in [] if only else tests:  # with --tests the map is not used
    for counts in glob.glob(os.path.join(build, "src", "**", "*.gcda"), recursive=True):
        os.remove(counts)
    run(["ctest", "--test-dir", build, "-R", "^%s$" % test])
    for note in notes:
        out = subprocess.run(["gcov", "--json-format", "--stdout", note], capture_output=True, text=True,
                             cwd=os.path.dirname(note)).stdout
        for report in filter(None, (json.loads(l) for l in out.splitlines() if l.strip())):
            # Relative names (as ccache's base directory makes them) are the compiler's, from its directory.
            for f in report["files"]:
                path = os.path.relpath(os.path.join(report["current_working_directory"], f["file"]), root)
                for l in f["lines"]:
                    code.add((path, l["line_number"]))
                    if l["count"]:
                        runs[(path, l["line_number"])].add(test)

# The tests to run for a mutant of line i of f (None: no test runs the line),
# and the targets to build first (none named: all). A test's target has its name.
def tests_for(f, i):
    key = (os.path.relpath(f, root), i + 1)
    if only or key not in code or not key[0].startswith("src/") or key[0].startswith("src/app/"):
        return only or skip_install, []
    chosen = sorted(runs[key])
    return (["-R", "^(%s)$" % "|".join(chosen)], chosen) if chosen else (None, ["vellara_lib"])

killed, survivors, stillborn = 0, [], 0
for n, m in enumerate(mutants, 1):
    if n < first:
        continue
    f, i, col, old, new = m
    original = open(f, encoding="utf-8").read()
    lines = original.split("\n")
    line = lines[i]
    lines[i] = "" if new == "" and old == line else line[:col] + new + line[col + len(old):]
    try:
        open(f, "w", encoding="utf-8").write("\n".join(lines))
        chosen, targets = tests_for(f, i)
        if run(["cmake", "--build", build, "-j%d" % os.cpu_count()] + (["--target"] + targets if targets else [])) != 0:
            stillborn += 1
            verdict = "does not compile"
        else:
            try:
                failed = chosen is not None and run(["ctest", "--test-dir", build, "-j%d" % os.cpu_count(),
                                                     "--stop-on-failure", "--timeout", "120"] + chosen,
                                                    timeout=900) != 0
            except subprocess.TimeoutExpired:
                failed = True
            if failed:
                killed += 1
                verdict = "killed"
            else:
                survivors.append(describe(m))
                verdict = "SURVIVED"
    finally:
        open(f, "w", encoding="utf-8").write(original)
    print("[%d/%d] %s: %s" % (n, len(mutants), describe(m), verdict), flush=True)

run(["cmake", "--build", build, "-j%d" % os.cpu_count()])
counted = killed + len(survivors)
print("\n%d mutants, %d did not compile; killed %d of %d (%.0f%%)." %
      (len(mutants), stillborn, killed, counted, 100.0 * killed / counted if counted else 100.0))
if survivors:
    print("Survivors:\n  " + "\n  ".join(survivors))
PY
