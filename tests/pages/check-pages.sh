#!/usr/bin/env bash
# Reports as end users meet them: the sample report, the same orders in a
# dark colour under a title with an apostrophe, and pictures whose file
# names hold '#', '%', '?' and blanks, checked by a real link checker with
# anchors on (every page, section and picture link resolves), loaded by
# headless Chromium (every picture shows, no page runs a script), and
# printed by zuvexal print and by Chromium (the same words, no empty sheet).
# Usage: check-pages.sh ZUVEXAL SOURCE_DIR
set -euo pipefail
zuvexal=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check-pages: $*" >&2; exit 1; }

"$source/examples/make_sample_db.sh" "$work/sample.db" 2>/dev/null
export ZUVEXAL_REGISTRY=$work/registry.db SOURCE_DATE_EPOCH=1733660000 TZ=UTC
"$zuvexal" settings set "HeaderText=Sample orders, first half of 2024" "FooterText=ACME Fasteners" \
  "WebsiteLink=https://acme.example.com" "EmailAddress=sales@acme.example.com" >/dev/null
mkdir -p "$work/app"
report() { "$zuvexal" report --quiet --locale en_US --app-folder "$work/app" "$@"; }
report --db "$work/sample.db" --table orders --file orders --title Orders --pictures Photo \
  --picture-folders "$source/examples/pictures"
report --db "$work/sample.db" --table orders --file dark --title "O'Brien's orders" --per-page 5 --color BLUE \
  --pictures Photo --picture-folders "$source/examples/pictures"

mkdir -p "$work/odd pictures"
odd=("gear#1.bmp" "a%20b.bmp" "why?.bmp" "two words.bmp" "100%.bmp" "plain.bmp")
for name in "${odd[@]}"; do cp "$source/examples/pictures/gear.bmp" "$work/odd pictures/$name"; done
{
  echo "CREATE TABLE odd(id INTEGER, photo TEXT, link HYPERLINK);"
  for i in "${!odd[@]}"; do
    # The last record links to a section of its own page through an address
    # that keeps its '#'.
    link=$([ "$i" -eq 5 ] && echo "#odd.htm#Section1#" || echo "Top#odd.htm#")
    echo "INSERT INTO odd VALUES($i, '${odd[$i]}', '$link');"
  done
} | sqlite3 "$work/odd.db"
report --db "$work/odd.db" --table odd --file odd --title Pictures --pictures photo \
  --picture-folders "$work/odd pictures"

pages=("$work"/app/Reports/*.htm)
[ "${#pages[@]}" -eq 9 ] || fail "expected 9 page files, found ${#pages[@]}"

# LinkChecker drops root's rights to nobody, who must read the pages.
chmod -R a+rX "$work"
cat >"$work/linkcheckerrc" <<'EOF'
[filtering]
ignore=^mailto:
[output]
status=0
[AnchorCheck]
EOF
for page in "${pages[@]}"; do
  if ! out=$(linkchecker --config "$work/linkcheckerrc" --no-robots "file://$page" 2>&1); then
    echo "$out" >&2
    fail "broken links in $page"
  fi
done

# A page of frames, one per report page, that lists each frame's missing
# pictures and scripts once everything has loaded.
{
  echo "<html><body>"
  for page in "${pages[@]}"; do echo "<iframe src=\"file://$page\"></iframe>"; done
  cat <<'EOF'
<pre id=result></pre>
<script>
window.onload = function () {
  var lines = [];
  for (var frame of document.querySelectorAll('iframe')) {
    var page = frame.contentDocument, name = frame.getAttribute('src');
    if (!page) { lines.push('UNREADABLE ' + name); continue; }
    for (var img of page.images)
      if (!(img.complete && img.naturalWidth > 0)) lines.push('MISSING ' + name + ' ' + img.getAttribute('src'));
    for (var script of page.scripts) lines.push('SCRIPT ' + name);
    for (var link of page.links)
      if (link.protocol === 'javascript:') lines.push('SCRIPT ' + name + ' ' + link.href);
    lines.push('PICTURES ' + page.images.length + ' ' + name);
  }
  document.getElementById('result').textContent = lines.join('\n');
};
</script></body></html>
EOF
} >"$work/frames.html"
dom=$(timeout 120 chromium --headless --no-sandbox --disable-gpu --allow-file-access-from-files \
  --disable-background-networking --disable-component-update --disable-sync --no-first-run \
  --user-data-dir="$work/chromium" --virtual-time-budget=10000 --dump-dom "file://$work/frames.html" 2>/dev/null)
result=$(sed -n '/<pre id="result">/,/<\/pre>/p' <<<"$dom")
if grep -E 'MISSING|SCRIPT|UNREADABLE' <<<"$result" >&2; then
  fail "Chromium found missing pictures or scripts"
fi
pictures=$(grep -o 'PICTURES [0-9]*' <<<"$result" | awk '{n += $2} END {print n + 0}')
# 22 of the 23 sample orders have a picture, reported twice; six odd names.
[ "$pictures" -eq 50 ] || fail "Chromium showed $pictures pictures, not 50: $result"
# zuvexal print puts on paper the words Chromium's print does, in order, and
# no sheet of it is empty.
words() { pdftotext -raw "$1" - | sed 's/\xef\xac\x81/fi/g; s/\xef\xac\x82/fl/g; s/\xc2\xa0/ /g' | tr -s '[:space:]' '\n'; }
for name in orders1 orders2 orders3 dark1 odd; do
  page=$work/app/Reports/$name.htm
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --user-data-dir="$work/chromium" \
    --no-pdf-header-footer --print-to-pdf="$work/chromium-$name.pdf" "file://$page" 2>/dev/null
  ZUVEXAL_PRINT_TO=$work/printed "$zuvexal" print "$page"
  if ! diff <(words "$work/chromium-$name.pdf") <(words "$work/printed/$name.pdf") >&2; then
    fail "the printed $name.htm does not hold the words Chromium prints (< Chromium, > zuvexal print)"
  fi
  sheets=$(pdfinfo "$work/printed/$name.pdf" | awk '/^Pages:/ {print $2}')
  for sheet in $(seq "$sheets"); do
    pdftotext -f "$sheet" -l "$sheet" "$work/printed/$name.pdf" - | grep -q '[^[:space:]]' ||
      fail "sheet $sheet of the printed $name.htm is empty"
  done
done
echo "check-pages: ${#pages[@]} pages, their links and $pictures pictures resolve; printed as Chromium prints them"
