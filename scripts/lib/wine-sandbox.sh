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

# cv_xvfb_start: a private X display for the Wine programs (windows, message
# boxes, the tray), started before any Wine process so that Wine's desktop
# process gets a display. Sets DISPLAY; cv_xvfb_stop ends it. The screen is
# 1280x1024 unless CV_XVFB_SCREEN says otherwise (WxHxDepth). When another
# server takes the same number first, ours ends and the next number is tried.
cv_xvfb_start() {
  local n tries
  for n in $(seq 90 140); do
    { [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; } && continue
    Xvfb ":$n" -screen 0 "${CV_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 </dev/null &
    CV_XVFB_PID=$!
    tries=0
    while [ ! -e "/tmp/.X11-unix/X$n" ] && kill -0 "$CV_XVFB_PID" 2>/dev/null && [ $tries -lt 50 ]; do
      sleep 0.1
      tries=$((tries + 1))
    done
    if kill -0 "$CV_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "cv_xvfb_start: no free X display" >&2
  return 1
}

cv_xvfb_stop() {
  [ -n "${CV_XVFB_PID:-}" ] && kill "$CV_XVFB_PID" 2>/dev/null || true
  CV_XVFB_PID=""
}

# cv_world_folder NAME: a new empty folder for a throw-away world, in memory
# (/dev/shm) when the machine has room there, where the many files a prefix
# and the tests make cost a fraction of what they cost on the disk.
cv_world_folder() {
  local base=/tmp
  if [ -d /dev/shm ] && [ -w /dev/shm ] && [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -gt 4194304 ]; then
    base=/dev/shm
  fi
  mktemp -d "$base/$1.XXXXXX"
}

# A world: a sandbox prefix with its own X display and wineserver, so that
# tests in two worlds can run side by side. cv_world_start DIR makes one in
# DIR and writes its settings to DIR/world.env; cv_world_stop DIR ends it.
# (Bash only, as the test scripts are; the rest of this file is also sourced
# by the benchmarks' POSIX sh scripts, so nothing here may be Bash at parse time.)
cv_world_start() {
  local dir=$1 var
  cv_wine_sandbox "$dir"
  export CV_TEST_SANDBOX="$dir/sandbox"
  cv_xvfb_start
  cv_wine_start
  {
    for var in WINEPREFIX HOME XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME WINEDEBUG WINEARCH DISPLAY CV_TEST_SANDBOX; do
      printf 'export %s=%q\n' "$var" "${!var}"
    done
    printf 'CV_XVFB_PID=%q\n' "$CV_XVFB_PID"
  } >"$dir/world.env"
}

cv_world_stop() {
  (
    # shellcheck disable=SC1091
    source "$1/world.env"
    cv_wine_stop
    cv_xvfb_stop
  )
}

# cv_world_enter: in a test that ctest gave one of the worlds below
# $CV_WORLDS (its resource "world", CTEST_RESOURCE_GROUP_0_WORLD=id:w1,slots:1),
# takes that world's settings; without one it changes nothing.
cv_world_enter() {
  local given=${CTEST_RESOURCE_GROUP_0_WORLD:-} id
  [ -n "$given" ] && [ -n "${CV_WORLDS:-}" ] || return 0
  id=${given#id:}
  id=${id%%,*}
  if [ ! -f "$CV_WORLDS/$id/world.env" ]; then
    echo "cv_world_enter: no world $id in $CV_WORLDS" >&2
    return 2
  fi
  # shellcheck disable=SC1090
  source "$CV_WORLDS/$id/world.env"
}
