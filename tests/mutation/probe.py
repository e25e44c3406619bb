#!/usr/bin/env python3
"""Mutation probe: plants each fault of tests/mutation/mutants.txt, one at a
time, in a scratch copy of the tree, rebuilds it incrementally, runs the tests
the mutant names, and fails when a mutant survives (every one of its tests
passes).

A mutant whose original text no longer occurs exactly once in its file is
stale and fails the probe before anything is built, so the list cannot rot
silently when the code it targets moves.  Mutants marked `equivalent` cannot
change any result: they are checked for staleness and listed with the reason,
never run.  Mutants marked `pending` name the branch whose tests are to kill
them: they run, but their survival is reported without failing the probe.

    python3 tests/mutation/probe.py                  # the whole list
    python3 tests/mutation/probe.py --rotate 3       # a third, chosen by the commit
    python3 tests/mutation/probe.py --only NAME ...  # the named mutants
    python3 tests/mutation/probe.py --check          # staleness only, no build

The scratch copy lives in build-mutants/ (src/ and build/) and is kept between
runs: only files whose contents changed are copied again, so a second run
rebuilds only what changed.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LIST = os.path.join(ROOT, "tests", "mutation", "mutants.txt")
FIELDS = ("file", "from", "to", "tests", "equivalent", "pending")


class Mutant:
    def __init__(self, name, line):
        self.name, self.line = name, line
        self.file = self.original = self.replacement = self.tests = None
        self.equivalent = self.pending = None
        self.outcome, self.detail, self.seconds = "", "", 0.0


def unescape(text):
    # "\n" in a from/to value stands for a line break (an original spanning
    # two lines where one line alone is not unique).
    return text.replace("\\n", "\n")


def parse(path):
    mutants, current, errors = [], None, []
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            m = re.match(r"^\[([A-Za-z0-9_.-]+)\]\s*$", line)
            if m:
                current = Mutant(m.group(1), number)
                mutants.append(current)
                continue
            m = re.match(r"^(\w+):\s?(.*)$", line)
            if not m or current is None or m.group(1) not in FIELDS:
                errors.append(f"{path}:{number}: cannot read this line")
                continue
            key, value = m.group(1), m.group(2).strip()
            if key == "from":
                current.original = unescape(value)
            elif key == "to":
                current.replacement = unescape(value)
            else:
                setattr(current, key, value)
    names = set()
    for mu in mutants:
        where = f"{path}:{mu.line}: mutant {mu.name}"
        if mu.name in names:
            errors.append(f"{where}: the name is used twice")
        names.add(mu.name)
        if not mu.file or not mu.original or mu.replacement is None:
            errors.append(f"{where}: needs file, from and to")
        elif mu.original == mu.replacement:
            errors.append(f"{where}: to is the same as from")
        if not mu.tests and not mu.equivalent:
            errors.append(f"{where}: needs tests (a ctest regex) or an equivalent reason")
    return mutants, errors


def stale(mu, tree):
    path = os.path.join(tree, mu.file)
    if not os.path.isfile(path):
        return f"{mu.file} does not exist"
    with open(path, encoding="utf-8") as f:
        count = f.read().count(mu.original)
    if count != 1:
        return f"the original text occurs {count} times in {mu.file} (must be once)"
    return None


def run(cmd, cwd, log=None, timeout=None):
    out = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                         text=True, timeout=timeout)
    if log:
        with open(log, "a", encoding="utf-8") as f:
            f.write(f"$ {' '.join(cmd)}\n{out.stdout}\n")
    return out.returncode, out.stdout


def source_files():
    # The tree as the developer has it: tracked files and new ones git does not
    # ignore (build trees and logs are ignored).
    try:
        listing = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                                 cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True)
        files = [f for f in listing.stdout.decode().split("\0") if f]
        return [f for f in files if os.path.isfile(os.path.join(ROOT, f))]
    except (OSError, subprocess.CalledProcessError):
        files = []
        for d, subdirs, names in os.walk(ROOT):
            rel = os.path.relpath(d, ROOT)
            subdirs[:] = [s for s in subdirs if not s.startswith(("build", ".git"))]
            files += [os.path.normpath(os.path.join(rel, n)) for n in names]
        return files


def sync(src):
    """Copies the tree into src, only files whose contents differ, so that
    make sees new times on changed files alone; removes files gone from the
    tree (the test lists are globbed)."""
    wanted = set(source_files())
    for rel in wanted:
        a, b = os.path.join(ROOT, rel), os.path.join(src, rel)
        with open(a, "rb") as f:
            data = f.read()
        if os.path.isfile(b):
            with open(b, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(b), exist_ok=True)
        with open(b, "wb") as f:
            f.write(data)
        shutil.copymode(a, b)
    for d, _, names in os.walk(src):
        for n in names:
            rel = os.path.relpath(os.path.join(d, n), src)
            if rel not in wanted:
                os.remove(os.path.join(d, n))


def build_targets(build, tests, jobs):
    """Targets the given ctest names need: a test_* executable is its own
    target; every test also needs the modules it loads (all *_mexa64, and all
    the oct-files, *_oct_file, for the Octave tests).  None (build everything)
    when the names do not map onto targets."""
    code, out = run(["cmake", "--build", build, "--target", "help"], build)
    if code != 0:
        return None
    # Makefiles list "... NAME", Ninja "NAME: phony".
    targets = set(re.findall(r"^(?:\.\.\. )?([A-Za-z0-9_]+)(?:: phony)?$", out, re.M))
    need = set()
    for t in tests:
        if not t.startswith("octave_"):
            need |= {x for x in targets if x.endswith("_mexa64")}
        if t.startswith("octave_"):
            need |= {x for x in targets if x.endswith("_oct_file")}
        elif t in targets:
            need.add(t)
        else:
            return None
    return sorted(need)


def ctest_names(build, regex):
    code, out = run(["ctest", "-N", "-R", regex], build)
    return re.findall(r"Test\s+#\d+: (\S+)", out) if code == 0 else []


def build_and_test(build, regex, jobs, timeout, log):
    names = ctest_names(build, regex)
    if not names:
        return "error", f"no test matches {regex}", []
    targets = build_targets(build, names, jobs)
    cmd = ["cmake", "--build", build, "-j", str(jobs)]
    if targets:
        cmd += ["--target"] + targets
    code, out = run(cmd, build, log)
    if code != 0:
        return "nobuild", "the build fails", names
    code, out = run(["ctest", "-R", regex, "-j", str(jobs), "--timeout", str(timeout),
                     "--output-on-failure"], build, log)
    failed = re.findall(r"^\s*\d+ - (\S+) \(", out, re.M)
    if code == 0:
        return "passed", "", names
    return "failed", " ".join(failed) or "ctest failed", names


def commit_number():
    try:
        head = subprocess.run(["git", "rev-parse", "HEAD"], cwd=ROOT, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True, check=True).stdout.strip()
        return int(head[:12], 16)
    except (OSError, subprocess.CalledProcessError, ValueError):
        return 0


def table(mutants):
    rows = ["| mutant | file | killed by, or why it survives or is equivalent | s |",
            "|---|---|---|---|"]
    for mu in mutants:
        if mu.equivalent:
            what = f"equivalent: {mu.equivalent}"
        elif mu.outcome == "killed":
            what = mu.detail
        elif mu.outcome == "survived":
            what = "SURVIVED" + (f" (pending: {mu.pending})" if mu.pending else "")
        elif mu.outcome:
            what = f"{mu.outcome.upper()}: {mu.detail}"
        else:
            what = "not run"
        secs = f"{mu.seconds:.0f}" if mu.seconds else ""
        what = what.replace("|", "\\|")  # a cell of a Markdown table
        rows.append(f"| {mu.name} | {mu.file} | {what} | {secs} |")
    return "\n".join(rows)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--list", default=LIST, help="the mutant list (default tests/mutation/mutants.txt)")
    ap.add_argument("--scratch", default=os.path.join(ROOT, "build-mutants"))
    ap.add_argument("--only", nargs="+", metavar="NAME", help="run only these mutants")
    ap.add_argument("--rotate", type=int, default=1, metavar="N",
                    help="run one N-th share of the list, the share chosen by the commit hash")
    ap.add_argument("--check", action="store_true", help="check the list for stale mutants only")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    ap.add_argument("--timeout", type=int, default=180, help="seconds per test")
    args = ap.parse_args()

    mutants, errors = parse(args.list)
    for mu in mutants:
        if mu.file and mu.original:
            why = stale(mu, ROOT)
            if why:
                mu.outcome, mu.detail = "stale", why
                errors.append(f"{args.list}:{mu.line}: mutant {mu.name} is stale: {why}")
    if errors:
        print("\n".join(errors), file=sys.stderr)
        return 1
    runnable = [mu for mu in mutants if not mu.equivalent]
    print(f"{len(mutants)} mutants ({len(mutants) - len(runnable)} equivalent), none stale")
    if args.check:
        return 0

    chosen = runnable
    if args.only:
        unknown = set(args.only) - {mu.name for mu in mutants}
        if unknown:
            print("unknown mutants: " + " ".join(sorted(unknown)), file=sys.stderr)
            return 1
        chosen = [mu for mu in runnable if mu.name in args.only]
    elif args.rotate > 1:
        share = commit_number() % args.rotate
        chosen = [mu for i, mu in enumerate(runnable) if i % args.rotate == share]
        print(f"share {share + 1} of {args.rotate}: {len(chosen)} mutants "
              f"(the whole list: python3 tests/mutation/probe.py)")

    t0 = time.time()
    src, build = os.path.join(args.scratch, "src"), os.path.join(args.scratch, "build")
    log = os.path.join(args.scratch, "probe.log")
    os.makedirs(src, exist_ok=True)
    open(log, "w").close()
    sync(src)
    # Ninja checks an up-to-date tree in a blink; make takes seconds per target.
    generator = ["-G", "Ninja"] if shutil.which("ninja") else []
    if os.path.isfile(os.path.join(build, "CMakeCache.txt")):
        generator = []  # keep the generator the scratch tree was made with
    code, out = run(["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=Release", "-DBAYESMEX_TESTS=ON"] + generator, ROOT, log)
    if code != 0:
        print(out + "\nthe scratch copy does not configure (see " + log + ")", file=sys.stderr)
        return 1
    code, out = run(["cmake", "--build", build, "-j", str(args.jobs)], build, log)
    if code != 0:
        print("the scratch copy does not build (see " + log + ")", file=sys.stderr)
        return 1
    # Every test a mutant names must pass on the unmutated tree, or a kill
    # would mean nothing.
    # (CMake's regular expressions take few groups: the union is of names.)
    union = sorted({n for mu in chosen for n in ctest_names(build, mu.tests)})
    union = "^(" + "|".join(union) + ")$"
    if chosen:
        outcome, detail, _ = build_and_test(build, union, args.jobs, args.timeout, log)
        if outcome != "passed":
            print(f"the unmutated tree fails: {detail} (see {log})", file=sys.stderr)
            return 1
    print(f"scratch copy built and its tests pass ({time.time() - t0:.0f} s)", flush=True)

    for mu in chosen:
        path = os.path.join(src, mu.file)
        with open(path, encoding="utf-8") as f:
            original = f.read()
        start = time.time()
        try:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original.replace(mu.original, mu.replacement, 1))
            outcome, detail, names = build_and_test(build, mu.tests, args.jobs, args.timeout, log)
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
        mu.seconds = time.time() - start
        if outcome == "failed":
            mu.outcome, mu.detail = "killed", detail
        elif outcome == "passed":
            mu.outcome, mu.detail = "survived", "ran " + " ".join(names)
        else:
            mu.outcome, mu.detail = outcome, detail
        print(f"{mu.name:32s} {mu.outcome:9s} {mu.seconds:5.0f} s  {mu.detail}", flush=True)

    shown = mutants if not args.only and args.rotate <= 1 else chosen + [m for m in mutants if m.equivalent]
    print("\n" + table(shown))
    bad = [mu for mu in chosen if mu.outcome not in ("killed", "survived")]
    survivors = [mu for mu in chosen if mu.outcome == "survived" and not mu.pending]
    pending = [mu for mu in chosen if mu.outcome == "survived" and mu.pending]
    late = [mu for mu in chosen if mu.outcome == "killed" and mu.pending]
    print(f"\n{len(chosen)} run in {time.time() - t0:.0f} s: "
          f"{sum(mu.outcome == 'killed' for mu in chosen)} killed, {len(survivors)} survived, "
          f"{len(pending)} pending, {len(bad)} broken")
    for mu in late:
        print(f"{mu.name}: killed now; its pending mark can go")
    for mu in bad:
        print(f"{mu.name}: {mu.outcome}: {mu.detail} (see {log})", file=sys.stderr)
    for mu in survivors:
        print(f"{mu.name} survived: no test of '{mu.tests}' fails with it", file=sys.stderr)
    return 1 if survivors or bad else 0


if __name__ == "__main__":
    sys.exit(main())
