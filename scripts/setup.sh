#!/usr/bin/env bash
# First run on a fresh Debian machine: install, build, and show the program at work.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build/lumivanecmd --help
