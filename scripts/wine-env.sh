# Sourced: the Wine environment of one build tree. Usage: . scripts/wine-env.sh BUILD_DIR
# A private prefix per build tree, code page 936 through the Chinese locale, no Mono or Gecko
# installers, no Wine debug chatter.
quarn_build_dir=$(cd "$1" && pwd)
# QUARN_WINEPREFIX gives a prefix of one's own, for work beside another session.
export WINEPREFIX="${QUARN_WINEPREFIX:-$quarn_build_dir/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
export WINEARCH=win64

# Where no 32-bit code runs, every Wine command goes to wine64 alone: "wine" and "wine-stable"
# (which Debian's wineboot, winecfg … start by name) are our shims for it, first on PATH.
. "$(dirname "${BASH_SOURCE[0]}")/machine-bits.sh"
if ! quarn_runs_32bit; then
  export WINELOADER="$quarn_wine64_loader"
  quarn_shims="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64-only"
  case ":$PATH:" in *":$quarn_shims:"*) ;; *) export PATH="$quarn_shims:$PATH" ;; esac
fi

# Bump when the settings below change, so existing prefixes take them.
quarn_prefix_version=2

# Makes the prefix once; several callers at a time wait for the first.
# Every program runs on one virtual desktop: windows get frames without a window manager, and
# hiding a window does not wait for an X window manager that is not there.
quarn_ensure_prefix() {
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ "$(cat "$WINEPREFIX/.quarn-ready" 2>/dev/null)" != "$quarn_prefix_version" ]; then
      rm -f "$WINEPREFIX/.quarn-ready"
      [ -f "$WINEPREFIX/system.reg" ] || wine wineboot -i >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 &&
        wineserver -w && echo "$quarn_prefix_version" >"$WINEPREFIX/.quarn-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
  [ -f "$WINEPREFIX/.quarn-ready" ] || { echo "wine: could not make the prefix $WINEPREFIX" >&2; return 1; }
}
