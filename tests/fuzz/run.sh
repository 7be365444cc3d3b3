#!/bin/sh
# Fuzzes targets one after another, then minimises each committed corpus with what the run found.
#   tests/fuzz/run.sh BUILD SECONDS TARGET...
# BUILD is the fuzz build (see README.md). New inputs gather in BUILD/fuzz-work/<target>/, crashes,
# hangs and out-of-memory inputs in BUILD/fuzz-findings/<target>/, the output in
# BUILD/fuzz-logs/<target>.log. The run keeps going after a finding (fork mode).
set -e
build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
for target in "$@"; do
    program="$build/tests/fuzz/fuzz_$target"
    work="$build/fuzz-work/$target"
    findings="$build/fuzz-findings/$target"
    log="$build/fuzz-logs/$target.log"
    mkdir -p "$work" "$findings" "$(dirname "$log")"
    nice -n 19 "$program" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -rss_limit_mb=2048 -timeout=10 -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" "$here/corpus/$target" > "$log" 2>&1 || true
    # The fewest inputs that keep every edge reached (not every hit count), from the committed
    # corpus and the new inputs of up to 4 KB: the committed corpora stay small.
    small="$build/fuzz-small/$target"
    merged="$build/fuzz-merged/$target"
    rm -rf "$small" "$merged"
    mkdir -p "$small" "$merged"
    find "$work" -type f -size -4097c -exec cp {} "$small/" \;
    nice -n 19 "$program" -merge=1 -use_counters=0 -rss_limit_mb=2048 -timeout=10 \
        "$merged" "$here/corpus/$target" "$small" >> "$log" 2>&1 || true
    echo "$target: $(ls "$findings" | wc -l) findings"
done
