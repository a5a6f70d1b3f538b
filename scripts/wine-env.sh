# Sourced: the Wine environment of one build tree. Usage: . scripts/wine-env.sh BUILD_DIR
# A private prefix per build tree, code page 936 through the Chinese locale, no Mono or Gecko
# installers, no Wine debug chatter.
quarn_build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$quarn_build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
export WINEARCH=win64

# Makes the prefix once; several callers at a time wait for the first.
quarn_ensure_prefix() {
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.quarn-ready" ]; then
      wineboot -i >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.quarn-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
  [ -f "$WINEPREFIX/.quarn-ready" ] || { echo "wine: could not make the prefix $WINEPREFIX" >&2; return 1; }
}
