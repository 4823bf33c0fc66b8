#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tabulift.
#   ./run.sh                 the window
#   ./run.sh ARGS...         the command-line converter, e.g.
#                            ./run.sh convert examples/lieder.mdb Lieder /tmp/songs
#   ./run.sh bench [--repeat N]  the benchmark: speed and memory against the floors
set -euo pipefail
cd "$(dirname "$0")"
source scripts/prepare.sh

ensure_packages
build_project >&2
if [ $# -eq 0 ]; then
  exec build/app/tabulift
fi
if [ "$1" = bench ]; then
  shift
  exec build/bench/tabulift-bench "$@"
fi
exec build/cli/tabulift-cli "$@"
