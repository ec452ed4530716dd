#!/usr/bin/env bash
# Pictures of a sample report page as the browser shows it and as it prints,
# every sheet of the printout (docs/browser-page.png, docs/printed-sheet-N.png).
# Needs the sample report (scripts/run-sample.sh) and Chromium.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_BUILD_DIR:-$top/build}
page=$top/examples/output/Reports/orders1.htm
[ -f "$page" ] || { echo "print-pictures: no sample report, run scripts/run-sample.sh first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chromium --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update \
  --disable-sync --no-first-run --user-data-dir="$work/chromium" --window-size=1100,1500 \
  --screenshot="$top/docs/browser-page.png" "file://$page" 2>/dev/null
ZUVEXAL_PRINT_TO=$work/pdf "$build/apps/zuvexal/zuvexal" print "$page"
rm -f "$top"/docs/printed-sheet-*.png
pdftoppm -png -r 40 "$work/pdf/orders1.pdf" "$top/docs/printed-sheet"
echo docs/browser-page.png "$(cd "$top" && echo docs/printed-sheet-*.png)"
