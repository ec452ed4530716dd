#!/usr/bin/env bash
# Installs the Debian packages into a fresh Debian 12 root that has nothing
# but build-essential, cmake and pkg-config (mmdebstrap, from the machine's
# apt sources), as a new user's machine would, and follows the README
# there: a host built with find_package and with the README's pkg-config
# line, every C++ example of the README, the CLI's report of the installed
# sample and of a PostgreSQL table (the driver comes with the packages),
# and the Designer plugin inside Qt Designer. Needs root and the packages
# built (scripts/check-packages.sh builds them).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_BUILD_DIR:-$top/build}
packages=(libzuvexal2 libzuvexal-dev zuvexal)

debs=()
for p in "${packages[@]}"; do
  deb=$(find "$build/packages" -maxdepth 1 -name "${p}_*.deb" -print -quit 2>/dev/null)
  [ -n "$deb" ] || { echo "check-clean-root: no ${p} package in $build/packages" >&2; exit 1; }
  debs+=("$deb")
done
probe=$(find "$build/tests/designer" -name 'libzuvexal_designer_probe.so' -print -quit 2>/dev/null)
[ -n "$probe" ] || { echo "check-clean-root: no Designer probe built in $build/tests/designer" >&2; exit 1; }
command -v mmdebstrap >/dev/null \
  || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq mmdebstrap >/dev/null

root=$(mktemp -d /var/tmp/zuvexal-root.XXXXXX)
servers=$(mktemp -d)
cleanup() {
  for m in dev/pts dev proc; do umount "$root/$m" 2>/dev/null || true; done
  bash "$top/scripts/test-servers.sh" stop "$servers" >/dev/null 2>&1 || true
  rm -rf "$root" "$servers"
}
trap cleanup EXIT
log=$root.log
# Runs a step quietly; on failure names it and shows its output's end.
step() {
  local name=$1
  shift
  "$@" >"$log" 2>&1 || { echo "check-clean-root: $name failed:" >&2; tail -n 20 "$log" >&2; rm -f "$log"; exit 1; }
  rm -f "$log"
}

# The machine's apt sources as one-line entries (deb822 stanzas too).
sources() {
  cat /etc/apt/sources.list 2>/dev/null | grep '^deb ' || true
  for f in /etc/apt/sources.list.d/*.list; do [ -f "$f" ] && grep '^deb ' "$f"; done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'function flush() { if (types ~ /(^| )deb( |$)/) { n = split(suites, s, " ");
             for (i = 1; i <= n; i++) print "deb " uris " " s[i] " " comps } types = uris = suites = comps = "" }
         /^[[:space:]]*$/ { flush(); next }
         /^Types:/ { sub(/^Types:[[:space:]]*/, ""); types = $0 }
         /^URIs:/ { sub(/^URIs:[[:space:]]*/, ""); uris = $0 }
         /^Suites:/ { sub(/^Suites:[[:space:]]*/, ""); suites = $0 }
         /^Components:/ { sub(/^Components:[[:space:]]*/, ""); comps = $0 }
         END { flush() }' "$f"
  done
}
sources | grep -E 'debian(-security)?(/| |$)' >"$root.list"
step "making a Debian 12 root (mmdebstrap)" \
  mmdebstrap --mode=root --variant=apt --skip=cleanup/apt/lists --include=build-essential,cmake,pkg-config \
  bookworm "$root" - <"$root.list"
rm -f "$root.list"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

mkdir -p "$root/tmp/zuvexal/debs" "$root/tmp/zuvexal/source/tests"
cp "${debs[@]}" "$root/tmp/zuvexal/debs/"
cp -r "$top/README.md" "$top/examples" "$root/tmp/zuvexal/source/"
cp -r "$top/tests/packaging" "$top/tests/designer" "$root/tmp/zuvexal/source/tests/"
cp "$probe" "$root/tmp/zuvexal/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
# apt-get installs the packages' Recommends too, as it does for a user.
inside=()
for deb in "${debs[@]}"; do inside+=("/tmp/zuvexal/debs/$(basename "$deb")"); done
step "installing the packages" in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${inside[@]}"

step "building hosts and the README's examples" in_root bash /tmp/zuvexal/source/tests/packaging/host-check.sh /usr \
  /tmp/zuvexal/source
step "the report of the installed sample" in_root bash -c '
  cd /tmp && zuvexal report --db /usr/share/zuvexal/examples/sample.db --table orders --per-page 10 \
    --pictures Photo --picture-folders /usr/share/zuvexal/examples/pictures --file orders.htm \
  && test -s /tmp/Reports/orders1.htm'

# A PostgreSQL server outside the root, reached over the loopback.
step "starting PostgreSQL" bash "$top/scripts/test-servers.sh" start "$servers" "$top/tests/servers/fixture"
pg() { sed -n "s/^$1=//p" "$servers/servers.env"; }
step "a report from PostgreSQL" in_root env PGPASSWORD="$(pg PG_PASSWORD)" bash -c "
  mkdir -p /tmp/pg && cd /tmp/pg \
  && zuvexal report --db postgresql://$(pg PG_USER)@127.0.0.1:$(pg PG_PORT)/$(pg PG_DATABASE) --table items \
     --file items.htm && test -s /tmp/pg/Reports/items.htm"

plugin=/usr/lib/x86_64-linux-gnu/qt6/plugins/designer/libzuvexal_designer.so
if in_root ldd "$plugin" | grep 'not found' >&2; then
  echo "check-clean-root: the Designer plugin does not find its libraries" >&2
  exit 1
fi
# Designer is the user's own tool, not a dependency of the packages.
step "installing Qt Designer" in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q designer-qt6
step "the plugin inside Qt Designer" in_root bash /tmp/zuvexal/source/tests/designer/run-designer.sh \
  /usr/lib/qt6/bin/designer "$plugin" /tmp/zuvexal/libzuvexal_designer_probe.so \
  /tmp/zuvexal/source/tests/designer/designedform.ui
echo "check-clean-root: the packages install on a clean Debian 12 root, build hosts, report and load in Designer"
