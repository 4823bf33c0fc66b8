#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/prepare.sh

ensure_packages
build_project
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure
