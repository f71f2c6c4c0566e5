#!/usr/bin/env bash
# Renders the PNG sizes of the icon from packaging/icons/tessary.svg (needs rsvg-convert, from
# Debian's librsvg2-bin). The PNGs are committed, so a build needs neither.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" tessary.svg -o "tessary-$size.png"
done
