#!/usr/bin/env bash
# The README's table of layers is the layer check's own: fails when the two
# differ.
#   readme-layers.sh SOURCE-DIR
set -euo pipefail
source=$1
checked=$(cmake -DDESCRIBE=ON -DSOURCE_DIR="$source/src" -P "$source/cmake/checklayers.cmake" 2>&1)
shown=$(sed -n '/^<!-- the checked layers/,/^<!-- end of the checked layers/p' "$source/README.md" | sed '1,2d;$d' | sed '$d')
if [ "$checked" != "$shown" ]; then
  echo "README.md shows other layers than cmake/checklayers.cmake checks:" >&2
  diff <(echo "$shown") <(echo "$checked") >&2 || true
  exit 1
fi
