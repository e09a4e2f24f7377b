#!/usr/bin/env bash
# Remakes the guide's pictures (docs/images) with the screenshot tool over its
# demo building, under Xvfb at a common screen size.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
xvfb-run -a -s "-screen 0 1366x768x24" build/tools/domiva_screenshots "$shots"
mkdir -p docs/images
for name in start register neighbors incoming incoming-parts removal balance anualreport debtors story meeting backups levies statement columns reminders; do
  cp "$shots/$name.png" docs/images/
done
# The papers: a statement's first page and a demand letter.
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$shots/statements.pdf" docs/images/statement-paper
pdftoppm -png -r 70 -f 2 -l 2 -singlefile "$shots/letters.pdf" docs/images/letter
