#!/usr/bin/env bash
# Builds the database fuzz target with clang, ASan and UBSan into build-fuzz/
# and runs it, on one core, for SECONDS (default 600):
#   scripts/fuzz.sh [SECONDS]
# Seeds: the test databases and the saved inputs of fuzz/regressions/. The
# growing corpus stays in build-fuzz/corpus/, inputs that crash, hang or run out
# of memory land in build-fuzz/findings/ (crash-*, timeout-*, oom-*).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTABULIFT_BUILD_FUZZ=ON -DTABULIFT_BUILD_GUI=OFF -DTABULIFT_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz --target fuzz_database

mkdir -p build-fuzz/corpus build-fuzz/seeds build-fuzz/findings
cp tests/fixtures/*.mdb tests/fixtures/*.accdb build-fuzz/seeds/
for saved in fuzz/regressions/*.xz; do
  [ -e "$saved" ] && xz -dc "$saved" >"build-fuzz/seeds/$(basename "$saved" .xz)"
done

# Fork mode goes on past a crash or hang (inside libmdb, the reader process
# contains them) and keeps each finding.
exec nice build-fuzz/fuzz/fuzz_database build-fuzz/corpus build-fuzz/seeds \
  -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
  -timeout=10 -rss_limit_mb=4096 -max_total_time="$seconds" -artifact_prefix=build-fuzz/findings/
