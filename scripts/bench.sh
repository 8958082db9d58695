#!/usr/bin/env bash
# Builds the benchmarks (release build in build-bench/) and runs them.
#   scripts/bench.sh            every benchmark
#   scripts/bench.sh PREFIX     only those whose names start with PREFIX
# Each figure is one line: BENCH <name> <value> <unit> [ratio <median> min <a> max <b>]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
export BUILD_DIR=build-bench BUILD_TYPE=Release
./scripts/build.sh -DSANITIZE=OFF -DBUILD_TESTING=OFF >/dev/null
prefix=${1:-}
for bench in build-bench/bench/bench_*; do
  [ -f "$bench" ] && [ -x "$bench" ] || continue
  "$bench" "$prefix"
done
