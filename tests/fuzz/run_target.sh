#!/usr/bin/env bash
# run_target.sh TARGET SEEDS WORK SECONDS: runs one libFuzzer target for the
# given time from the seed corpus, keeping new inputs in WORK. Prints the
# run's last status line; any finding fails (libFuzzer exits non-zero and
# leaves the crashing input in WORK).
set -euo pipefail
target="$1" seeds="$2" work="$3" seconds="$4"
mkdir -p "$work" "$seeds"
cd "$work"
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  "$work" "$seeds" 2>"$work/log.txt" || { tail -n 60 "$work/log.txt"; exit 1; }
grep -E "^#[0-9]+.*(DONE|pulse)" "$work/log.txt" | tail -n 1
grep -E "stat::number_of_executed_units|stat::average_exec_per_sec" "$work/log.txt"
