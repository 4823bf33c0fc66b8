#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tabulift.
#   ./run.sh                 the window
#   ./run.sh ARGS...         the command-line converter, e.g.
#                            ./run.sh convert examples/lieder.mdb Lieder /tmp/songs
set -euo pipefail
cd "$(dirname "$0")"
source scripts/prepare.sh

ensure_packages
build_project >&2
if [ $# -eq 0 ]; then
  exec build/app/tabulift
fi
exec build/cli/tabulift-cli "$@"
