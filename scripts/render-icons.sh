#!/usr/bin/env bash
# Renders the PNG sizes of the icon from packaging/icons/tessary.svg (needs rsvg-convert, from
# Debian's librsvg2-bin), and the Windows icon from them (ImageMagick). They are committed, so a
# build needs neither.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" tessary.svg -o "tessary-$size.png"
done
# The Windows program's icon, from the same PNGs (ImageMagick).
convert tessary-16.png tessary-24.png tessary-32.png tessary-48.png tessary-64.png \
    tessary-256.png tessary.ico
