#!/usr/bin/env bash
# Sets up, builds and starts Quorvane.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/Quorvane/quorvane "$@"
