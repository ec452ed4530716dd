#!/usr/bin/env bash
# Plants one forbidden include at a time into a copy of the sources, in
# each of the spellings a developer might use, and fails unless the layer
# check (cmake/checklayers.cmake) catches every one; the sources as they
# are must pass it.
#   plant-includes.sh SOURCE-DIR
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
check() { cmake -DSOURCE_DIR="$work/src" -P "$source/cmake/checklayers.cmake" >"$work/out" 2>&1; }
cp -r "$source/src" "$work/src"
check || { echo "the sources as they are fail the layer check:" >&2; cat "$work/out" >&2; exit 1; }

# file to plant into | the line | why it must be caught
cases=(
  'core/base/values_p.h|#include "core/control/zuvexal.h"|base includes control by its path'
  'core/base/values_p.h|#include <core/control/zuvexal.h>|the same in angle brackets'
  'core/base/values_p.h|#include "../control/zuvexal.h"|the same relative to the file'
  'core/base/values_p.h|#include <ZuVexal/ZuVexal>|the same by its installed name'
  'core/settings/registry.h|#include <ZuVexal/RunResult>|settings includes the reporter by its installed name'
  'core/reporter/pagewriter.h|#include <ZuVexal/ZuVexalWidget>|the core includes the widgets'
  'core/reporter/pagewriter.h|#include "../../ui/windows.h"|the same relative to the file'
  'platform/clock.h|#include "core/base/values_p.h"|the platform includes the core'
  'platform/clock.h|#include <QWidget>|the platform uses QtWidgets'
)
failed=0
for c in "${cases[@]}"; do
  IFS='|' read -r file line why <<<"$c"
  cp "$source/src/$file" "$work/src/$file"
  printf '%s\n' "$line" >>"$work/src/$file"
  if check; then
    echo "not caught: $line in $file ($why)" >&2
    failed=1
  fi
  cp "$source/src/$file" "$work/src/$file"
done
exit "$failed"
