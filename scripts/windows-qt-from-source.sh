#!/usr/bin/env bash
# Builds Qt 6.4.2 (qtbase) for 64-bit Windows into CACHE/qt6-mingw, with Debian's MinGW-w64 (POSIX
# threads), from Debian 12's own qt6-base source and libjpeg-turbo 2.1.5 (its SIMD code built with
# nasm) as the JPEG decoder. The host tools (moc, rcc, uic) are Debian's qt6-base-dev-tools.
# About 35 minutes on two cores; needs root (or sudo) for apt. scripts/windows-qt.sh calls it
# where the prebuilt archive is missing. Usage: windows-qt-from-source.sh CACHE
set -euo pipefail
cache=$1
prefix=$cache/qt6-mingw
work=$cache/qt-source
mkdir -p "$work" && cd "$work"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix nasm cmake ninja-build \
    qt6-base-dev qt6-base-dev-tools dpkg-dev
if ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/; then
    $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    $sudo apt-get update -q
fi
[ -f qt6-base_6.4.2+dfsg.orig.tar.xz ] || apt-get source --download-only qt6-base=6.4.2+dfsg-10
[ -f libjpeg-turbo_2.1.5.orig.tar.gz ] || apt-get source --download-only libjpeg-turbo=1:2.1.5-2
[ -d qtbase-everywhere-src-6.4.2 ] || tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz
[ -d libjpeg-turbo-2.1.5 ] || tar xzf libjpeg-turbo_2.1.5.orig.tar.gz

cat > mingw.cmake <<'TC'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TC

cmake -S libjpeg-turbo-2.1.5 -B jpeg-build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF \
    -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
    -DCMAKE_ASM_NASM_COMPILER=nasm
cmake --build jpeg-build && cmake --install jpeg-build

# The Debian source leaves out src/3rdparty/wintab, so tablet input is off.
cmake -S qtbase-everywhere-src-6.4.2 -B qt-build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="/usr/x86_64-w64-mingw32;$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_relocatable=ON \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
    -DFEATURE_vulkan=OFF -DFEATURE_printsupport=OFF -DFEATURE_openssl=OFF -DFEATURE_icu=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_jpeg=ON \
    -DJPEG_INCLUDE_DIR="$prefix/include" -DJPEG_LIBRARY="$prefix/lib/libjpeg.a"
cmake --build qt-build --parallel "$(nproc)"
cmake --install qt-build
# The MinGW runtime DLLs that every program of this compiler needs beside it.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
    cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$prefix/bin/"
done
cp /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$prefix/bin/"
x86_64-w64-mingw32-strip --strip-unneeded "$prefix"/bin/*.dll "$prefix"/plugins/*/*.dll
rm -f "$prefix"/bin/{cjpeg,djpeg,jpegtran,rdjpgcom,wrjpgcom}.exe
rm -rf "$prefix/doc" "$prefix/LICENSES"
cp -r qtbase-everywhere-src-6.4.2/LICENSES "$prefix/LICENSES"
cp libjpeg-turbo-2.1.5/LICENSE.md "$prefix/LICENSES/libjpeg-turbo-LICENSE.md"
# Relocatable: Qt's toolchain file chainloads the MinGW one from beside it. Copied last, as
# scripts/windows-qt.sh takes it for a finished Qt.
sed -i 's|^set(__qt_initially_configured_toolchain_file ".*")|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")|' \
    "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
cp mingw.cmake "$prefix/lib/cmake/Qt6/mingw-w64.cmake"
cd / && rm -rf "$work"
