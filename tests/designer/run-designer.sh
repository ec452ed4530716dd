#!/usr/bin/env bash
# Opens a form holding the control in a real Qt Designer (offscreen), with
# ZuVexal's plugin and the probe on Designer's plugin path, and fails
# unless every check of the probe passed.
#   run-designer.sh DESIGNER PLUGIN PROBE FORM
set -euo pipefail
designer=$1
plugin=$2
probe=$3
form=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/plugins/designer" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cp "$plugin" "$probe" "$work/plugins/designer/"
cp "$form" "$work/form.ui"
status=0
HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen \
  QT_PLUGIN_PATH=$work/plugins ZUVEXAL_DESIGNER_PROBE=$work/result \
  timeout 120 "$designer" "$work/form.ui" >"$work/designer.log" 2>&1 || status=$?
if [ ! -f "$work/result" ] || [ "$(tail -n 1 "$work/result")" != done ]; then
  echo "Designer ended (status $status) before the probe reported:" >&2
  tail -n 20 "$work/designer.log" >&2
  exit 1
fi
cat "$work/result"
if grep '^FAILED' "$work/result" >/dev/null; then
  exit 1
fi
