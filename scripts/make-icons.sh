#!/usr/bin/env bash
# Renders the program's icon (packaging/icons/corvane.svg) to the PNG sizes the desktop uses.
# Run it after changing the SVG and commit the PNGs; the build only installs them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh librsvg2-bin
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" --output "packaging/icons/corvane-$size.png" packaging/icons/corvane.svg
done
