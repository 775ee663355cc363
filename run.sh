#!/usr/bin/env bash
# Starts the picture swap puzzle, installing and building what is missing.
# Any argument is passed on (a directory of puzzle pictures, ending in "/").
set -euo pipefail
cd "$(dirname "$0")"
tools/build.sh
cd build
exec ./SWAPST95 "$@"
