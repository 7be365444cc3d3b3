#!/usr/bin/env python3
"""Prints the figures of the runs of run.sh as a Markdown table: summarise.py BUILD TARGET..."""
import os
import re
import sys

build = sys.argv[1]
print("| Target | Run time | Executions | exec/s | cov | ft | Corpus after merge | Crashes / hangs / OOM |")
print("|---|---|---|---|---|---|---|---|")
for target in sys.argv[2:]:
    path = os.path.join(build, "fuzz-logs", target + ".log")
    if not os.path.exists(path):
        print(f"| `{target}` | not run | | | | | | |")
        continue
    log = open(path, errors="replace").read()
    pulses = re.findall(r"^#(\d+): cov: (\d+) ft: (\d+) corp: \d+ exec/s \d+ oom/timeout/crash: (\d+)/(\d+)/(\d+) "
                        r"time: (\d+)s", log, re.M)
    execs, cov, ft, oom, timeout, crash, seconds = pulses[-1]
    merged = os.path.join(build, "fuzz-merged", target)
    files = os.listdir(merged) if os.path.isdir(merged) else []
    size = sum(os.path.getsize(os.path.join(merged, f)) for f in files)
    print(f"| `{target}` | {int(seconds) // 60} min {int(seconds) % 60} s | {int(execs):,} | {int(execs) // int(seconds)} "
          f"| {cov} | {ft} | {len(files)} files, {size // 1024} KB | {crash} / {timeout} / {oom} |")
