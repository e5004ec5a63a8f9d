#!/usr/bin/env python3
"""Sums up GoogleTest's XML reports: how many tests passed, failed and were skipped, each skip
with its reason, each failure with its first message: gtest_summary.py REPORT.xml..."""
import sys
import xml.etree.ElementTree as ElementTree

passed, failed, skipped = 0, [], []
for report in sys.argv[1:]:
    for case in ElementTree.parse(report).iter("testcase"):
        name = f"{case.get('classname')}.{case.get('name')}"
        failure = case.find("failure")
        skip = case.find("skipped")
        if failure is not None:
            failed.append((name, failure.get("message", "").splitlines()[:3]))
        elif skip is not None or case.get("result") == "skipped":
            reason = (skip.get("message", "") if skip is not None else "").strip()
            # GoogleTest writes the place, then the reason after a blank line.
            skipped.append((name, reason.splitlines()[-1] if reason else "(no reason given)"))
        else:
            passed += 1

print(f"{passed} passed, {len(skipped)} skipped, {len(failed)} failed")
for name, reason in skipped:
    print(f"  skipped {name}: {reason}")
for name, message in failed:
    print(f"  FAILED {name}: {' / '.join(message)}")
sys.exit(1 if failed else 0)
