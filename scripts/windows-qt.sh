#!/usr/bin/env bash
# Provides Qt 6.4.2 for 64-bit Windows (MinGW-w64) and prints its folder, for the windows preset:
#   export TESSARY_WINDOWS_QT=$(scripts/windows-qt.sh)
# The Qt lives in a cache outside the clone, made once: unpacked from the archive beside the
# clone (../shared/toolchains), else built from Debian's own source by
# scripts/windows-qt-from-source.sh. Also installs the cross compiler, Wine and NSIS.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tessary
qt=$cache/qt6-mingw
archive=$here/../../shared/toolchains/qt6.4.2-mingw-w64.tar.xz

"$here/install-deps.sh" windows >&2
# The toolchain file is the last thing either way of making the Qt leaves in place.
if [ ! -f "$qt/lib/cmake/Qt6/mingw-w64.cmake" ]; then
    mkdir -p "$cache"
    if [ -f "$archive" ]; then
        rm -rf "$qt" "$qt.partial" && mkdir "$qt.partial"
        tar -C "$qt.partial" -xJf "$archive"
        mv "$qt.partial/qt6-mingw" "$qt" && rmdir "$qt.partial"
    else
        echo "windows-qt: no $archive; building Qt from Debian's source (about 35 minutes)" >&2
        "$here/windows-qt-from-source.sh" "$cache" >&2
    fi
fi
echo "$qt"
