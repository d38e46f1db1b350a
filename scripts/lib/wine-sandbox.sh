# Sourced by the scripts that run the program or its tests under Wine.
# cv_wine_sandbox DIR: a throw-away Wine world inside DIR. The prefix, HOME and
# the XDG folders (Wine's Recycle Bin is the XDG Trash) all live in DIR, the
# host's root is not mapped as Z:, and DIR/sandbox is drive S: for fixtures.
cv_wine_sandbox() {
  local dir=$1
  mkdir -p "$dir/home" "$dir/xdg/data" "$dir/xdg/config" "$dir/xdg/cache" "$dir/sandbox"
  export WINEPREFIX="$dir/prefix"
  export HOME="$dir/home"
  export XDG_DATA_HOME="$dir/xdg/data" XDG_CONFIG_HOME="$dir/xdg/config" XDG_CACHE_HOME="$dir/xdg/cache"
  export WINEDEBUG=${CV_WINEDEBUG:--all}
  export WINEARCH=win64
  if [ ! -f "$WINEPREFIX/.clearvane-sandbox" ]; then
    # No Mono or Gecko: nothing here needs them and there is no network to fetch them.
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    rm -f "$WINEPREFIX/dosdevices/z:"
    ln -sfn "$dir/sandbox" "$WINEPREFIX/dosdevices/s:"
    touch "$WINEPREFIX/.clearvane-sandbox"
  fi
  rm -f "$WINEPREFIX/dosdevices/z:"
}

# cv_wine_start: keeps one wineserver with its services running for the
# session, started detached from our output: Wine's service processes would
# otherwise inherit a test runner's pipes and keep it waiting for ever.
cv_wine_start() {
  wineserver -p >/dev/null 2>&1 </dev/null || true
  setsid wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

cv_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
}
