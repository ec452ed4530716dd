#!/usr/bin/env bash
# Sets up the machine, builds ZuVexal, builds the sample database and runs
# the main job on it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_BUILD_DIR:-$top/build}
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
"$top/examples/make_sample_db.sh"
"$build/apps/zuvexal/zuvexal" fields --db "$top/examples/sample.db" --table orders
