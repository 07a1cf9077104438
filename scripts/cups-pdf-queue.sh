#!/usr/bin/env bash
# Makes the virtual PDF printer FloorwatchPDF available for the print tests: starts the CUPS
# server when it is not running (directly, as there is no service manager in CI) and adds the
# cups-pdf queue, whose PDFs go to a fixed folder. Safe to run again. Without root or without
# CUPS it does nothing, and the print tests skip.
set -euo pipefail

queue=FloorwatchPDF
outdir=/var/spool/cups-pdf/floorwatch
conf=/etc/cups/cups-pdf.conf

if [[ $(id -u) -ne 0 ]]; then
  echo "cups-pdf-queue: not root, printer $queue not set up" >&2
  exit 0
fi
if ! command -v cupsd >/dev/null || ! command -v lpadmin >/dev/null || [[ ! -f $conf ]]; then
  echo "cups-pdf-queue: CUPS or cups-pdf missing, printer $queue not set up" >&2
  exit 0
fi

# Every job's PDF lands in one known folder, whoever prints.
mkdir -p "$outdir"
chmod 1777 "$outdir"
if ! grep -qx "Out $outdir" "$conf"; then
  sed -i -E "s|^Out[[:space:]].*|Out $outdir|" "$conf"
  grep -qx "Out $outdir" "$conf" || echo "Out $outdir" >>"$conf"
fi

scheduler_running() { lpstat -r 2>/dev/null | grep -q "scheduler is running"; }

if ! scheduler_running; then
  cupsd
  for _ in $(seq 1 100); do
    scheduler_running && break
    sleep 0.1
  done
fi
if ! scheduler_running; then
  echo "cups-pdf-queue: the CUPS server did not start" >&2
  exit 1
fi

if ! lpstat -p "$queue" >/dev/null 2>&1; then
  ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF_opt\.ppd/ {print $1; exit}')
  [[ -n $ppd ]] || ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF/ {print $1; exit}')
  if [[ -z $ppd ]]; then
    echo "cups-pdf-queue: no cups-pdf driver found (lpinfo -m)" >&2
    exit 1
  fi
  lpadmin -p "$queue" -E -v cups-pdf:/ -m "$ppd"
fi
# Convert jobs to PostScript with cairo, which keeps the fonts as outlines with their text;
# the default renderer turns them into bitmap fonts from which no text can be read back.
lpadmin -p "$queue" -o pdftops-renderer-default=pdftocairo
cupsenable "$queue"
cupsaccept "$queue"
echo "cups-pdf-queue: printer $queue ready, output in $outdir"
