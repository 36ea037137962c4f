#!/usr/bin/env python3
"""The Windows test suite under ctest, telling a test that did not start from
a test that failed.

On a loaded machine Wine now and then fails to start a test program: ctest
then reports a failure within a fraction of a second and the test printed
nothing at all. Such a test is run once more, on its own; any test that
printed something and failed fails the suite at once, without a second try.
A test that does not start twice is reported as such and fails the suite.

usage: suite.py BUILD_DIR WORK_DIR [ctest options...]
"""
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

# What Wine itself may print when it cannot start a program; not test output.
WINE_LINE = re.compile(r"^(wine: |wine client error|[0-9a-f]{4}:(err|fixme|warn|trace):)")


def results(junit):
    """{test name: (passed, printed)} from ctest's JUnit report."""
    out = {}
    for case in ET.parse(junit).getroot().iter("testcase"):
        status = case.get("status", "")
        if status in ("disabled", "notrun") and case.find("skipped") is not None:
            continue
        text = case.findtext("system-out") or ""
        printed = any(line.strip() and not WINE_LINE.match(line) for line in text.splitlines())
        out[case.get("name")] = (status == "run" and case.find("failure") is None, printed)
    return out


def ctest(build, junit, options):
    command = ["ctest", "--test-dir", build, "--output-on-failure", "--timeout", "300",
               "--output-junit", junit] + options
    subprocess.run(command, check=False)
    return results(junit)


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    # ctest takes a relative report path from the build folder.
    build, work, options = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3:]
    first = ctest(build, f"{work}/suite.xml", options)
    failed = sorted(name for name, (ok, printed) in first.items() if not ok and printed)
    unstarted = sorted(name for name, (ok, printed) in first.items() if not ok and not printed)
    started_again = []
    for name in unstarted:
        print(f"suite: {name} printed nothing (the test program did not start); running it once more")
        again = ctest(build, f"{work}/again.xml", ["-R", "^" + re.escape(name) + "$"])
        ok, printed = again.get(name, (False, False))
        if ok:
            started_again.append(name)
        elif printed:
            failed.append(name)
        else:
            print(f"suite: {name} did not start, twice")
    passed = sum(1 for ok, _ in first.values() if ok) + len(started_again)
    print(f"suite: {len(first)} tests, {passed} passed, {len(failed)} failed, "
          f"{len(unstarted)} did not start at first ({len(started_again)} of them passed when run again)")
    for name in failed:
        print(f"suite: FAILED {name}")
    for name in sorted(set(unstarted) - set(started_again) - set(failed)):
        print(f"suite: DID NOT START {name}")
    return 0 if passed == len(first) else 1


if __name__ == "__main__":
    sys.exit(main())
