#!/usr/bin/env bash
# Starts the CUPS scheduler when it is not running and makes a cups-pdf
# queue named PDF the default destination, so printing tests print to a
# real printer whose output (a PDF under ~/PDF) can be read back.
set -euo pipefail
running() { lpstat -r 2>/dev/null | grep 'scheduler is running' >/dev/null; }
if ! running; then
  mkdir -p /run/cups
  /usr/sbin/cupsd
  for _ in $(seq 100); do running && break; sleep 0.1; done
  running || { echo "start-printer: cupsd did not start" >&2; exit 1; }
fi
if ! lpstat -p PDF >/dev/null 2>&1; then
  lpadmin -p PDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
fi
# pdftocairo keeps the text of printed pages extractable (pdftotext).
lpadmin -p PDF -o pdftops-renderer-default=pdftocairo
lpadmin -d PDF
