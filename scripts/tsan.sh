#!/usr/bin/env bash
# Builds the tests of the report run with ThreadSanitizer into build-tsan/
# (or $ZUVEXAL_TSAN_DIR) and runs them: the generation runs, where pages
# are made and written on threads of their own while the host's handlers
# run, and the record set they read. Any report fails the run. Only the
# two test programs are built, so it takes a few minutes. Extra arguments
# go to ctest.
#
# Qt is not built with ThreadSanitizer, so the sanitizer cannot see Qt's
# own locks: the run hands work to its threads through the standard
# library's (TaskQueue), and the tests that start other programs through
# QProcess (printing, mounting a file system) are left out, since what the
# sanitizer is told about those processes does not match what happens.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_TSAN_DIR:-$top/build-tsan}
cmake -S "$top" --preset tsan -B "$build" >/dev/null \
  || { echo "tsan: configuring $build failed" >&2; exit 1; }
cmake --build "$build" -j "$(nproc)" --target test_reporter test_recordset \
  || { echo "tsan: the ThreadSanitizer build failed" >&2; exit 1; }
cd "$build"
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1"
ctest --output-on-failure --timeout 900 -j "$(nproc)" -R '^(RecordSetUnderARun|ReportTest|GenerationRunTest|TaskQueue|RecordSet)\.' \
  -E 'Printed|CannotBeMadeBeforeTheyAreNamed' "$@"
