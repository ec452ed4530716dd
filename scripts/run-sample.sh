#!/usr/bin/env bash
# Sets up the machine, builds ZuVexal, builds the sample database and runs
# the main job on it: an HTML report of the sample orders, with pictures,
# hyperlinks, a header and footer and sums, in examples/output/Reports/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_BUILD_DIR:-$top/build}
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
"$top/examples/make_sample_db.sh"
out=$top/examples/output
# A report generated again under the same name would be appended to the old one.
rm -rf "$out/Reports"
mkdir -p "$out"
zuvexal=$build/apps/zuvexal/zuvexal
# The advanced settings live in a registry file of the sample's own.
export ZUVEXAL_REGISTRY=$out/registry.db
"$zuvexal" settings set "HeaderText=Sample orders, first half of 2024" "FooterText=ACME Fasteners" \
  "WebsiteLink=https://acme.example.com" "EmailAddress=sales@acme.example.com"
"$zuvexal" report --db "$top/examples/sample.db" --table orders --app-folder "$out" \
  --file orders --title "Orders" --pictures Photo --picture-folders "$top/examples/pictures"
echo "report pages: $out/Reports/" >&2
