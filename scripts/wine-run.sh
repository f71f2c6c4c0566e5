#!/usr/bin/env bash
# Runs a program of a Windows build folder under Wine, as ctest runs each Windows test:
#   scripts/wine-run.sh build-windows/tessary.exe [ARGUMENTS]
# The build folder's own Wine prefix (BUILD/wine, made on first use) and no Wine debug output.
set -euo pipefail
program=$(realpath "$1")
shift
build=$(dirname "$program")
until [ -f "$build/CMakeCache.txt" ]; do
    [ "$build" != / ] || { echo "wine-run: $program is in no build folder" >&2; exit 2; }
    build=$(dirname "$build")
done
export WINEPREFIX=${WINEPREFIX:-$build/wine} WINEDEBUG=${WINEDEBUG:--all}
# No offer to install Mono or Gecko while the prefix is made: the program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# As on a Japanese Windows: Wine takes the ANSI code page (932) from the Linux locale, built
# into the build folder from Debian's locales package where the machine has not generated it.
locales=$build/locale
wine=(env LOCPATH="$locales" LC_ALL=ja_JP.UTF-8 /usr/lib/wine/wine64)
if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -d "$locales/ja_JP.UTF-8" ]; then
    # Tests start in parallel: one makes the prefix, the others wait for it.
    exec 9>"$build/wine-prefix.lock"
    flock 9
    [ -d "$locales/ja_JP.UTF-8" ] ||
        { mkdir -p "$locales" && localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8"; }
    [ -f "$WINEPREFIX/system.reg" ] || { "${wine[@]}" wineboot -i && /usr/lib/wine/wineserver -w; }
    flock -u 9
fi
# Qt logs to the debugger where a program has no console of its own, as under Wine: to stderr here.
export QT_FORCE_STDERR_LOGGING=1
# Wine keeps QT_* variables from Windows programs, as meant for Linux's Qt, but passes WINEQT_*
# under the name without WINE: the tests' QT_QPA_PLATFORM=offscreen reaches the Windows Qt so.
for variable in $(compgen -e); do
    [[ $variable == QT_* ]] && export "WINE$variable=${!variable}"
done
# The program finds its DLLs and plugins beside itself, as the tests do beside tessary.exe.
exec "${wine[@]}" "$program" "$@"
