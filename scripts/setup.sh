#!/usr/bin/env bash
# Installs every Debian package that building ZuVexal and running its tests
# need. Idempotent: packages already present are left alone and nothing is
# printed for them.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config dpkg-dev file
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev libqt6sql6-sqlite
  # lupdate for the translation template, lrelease for the tests' translation
  qt6-l10n-tools
  # tests of the Designer plugin inside a real Qt Designer
  designer-qt6
  libgtest-dev libsqlite3-dev sqlite3
  # the record-set loader reads PostgreSQL and MariaDB rows through their
  # clients, and ODBC rows in blocks through unixODBC
  libpq-dev libmariadb-dev unixodbc-dev
  libglib2.0-dev libxcb1-dev libxcb-icccm4-dev libcups2-dev
  # Wayland: activation tokens and wlroots' window list (the protocol XML,
  # the client library, Qt's native interface for a host on Wayland)
  libwayland-dev wayland-protocols qt6-base-private-dev
  # tests: a real X server and window manager, printing, default applications
  xvfb xauth openbox poppler-utils cups cups-client printer-driver-cups-pdf
  # tests in real Wayland sessions: two headless compositors with Xwayland,
  # Qt's Wayland plugin, and xhost to let the tests into sway's Xwayland
  sway weston xwayland qt6-wayland x11-xserver-utils
  desktop-file-utils xdg-utils fonts-dejavu-core
  # tests: report pages checked by a real link checker and a real browser
  linkchecker chromium
  # the coverage summary (scripts/coverage.sh)
  gcovr
  # the ABI check against abi/ (scripts/check-abi.sh)
  abigail-tools
  # the reference manual: doxygen writes it from the public headers,
  # qhelpgenerator makes zuvexal.qch for Qt Creator and Qt Assistant
  doxygen qt6-documentation-tools
  # tests: file systems without unnamed files (FUSE) or links (FAT)
  bindfs dosfstools
  # tests on real database servers (scripts/test-servers.sh)
  postgresql mariadb-server unixodbc odbc-postgresql odbc-mariadb
  libqt6sql6-psql libqt6sql6-mysql libqt6sql6-odbc
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep 'install ok installed' >/dev/null || missing+=("$p")
done

if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  echo "setup: installing ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
