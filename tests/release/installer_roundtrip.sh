#!/usr/bin/env bash
# Builds the release and takes the installer through a silent install and
# uninstall in the sandbox Wine prefix, per user and for all users: the
# installed program answers --version, the Start menu entry is there, and
# the uninstaller removes the program files, the start-up value and the
# Explorer menu entry "Shred with Clearvane" while the
# user's settings stay (unless /RemoveSettings).
# Usage: installer_roundtrip.sh WINDOWS_BUILD_DIR   (run by ctest under scripts/test)
set -euo pipefail
build=$(readlink -f "$1")
here=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../scripts/lib/wine-sandbox.sh
source "$here/scripts/lib/wine-sandbox.sh"
cv_world_enter
if [ -z "${WINEPREFIX:-}" ] || [ ! -f "$WINEPREFIX/.clearvane-sandbox" ]; then
  echo "installer_roundtrip: no sandbox prefix; run through ./scripts/test" >&2
  exit 2
fi
# The installer is run from the sandbox drive S:, the only host folder the
# sandbox prefix reaches.
sandbox=${CV_TEST_SANDBOX:?run through ./scripts/test}
dist="$sandbox/release-dist"
rm -rf "$dist"
trap 'rm -rf "$dist"' EXIT
CV_BUILD_DIR="$build" CV_DIST_DIR="$dist" "$here/scripts/release" >/dev/null
version=$(tr -d '\r\n' <"$build/version.txt")
setup=$(ls "$dist"/clearvane-"$version"-setup.exe)
[ -f "$dist/clearvane-$version-win64.zip" ] || { echo "FAIL: no portable zip"; exit 1; }
python3 - "$dist/clearvane-$version-win64.zip" <<'PY'
import sys, zipfile
names = set(zipfile.ZipFile(sys.argv[1]).namelist())
need = {"Clearvane/clearvane.exe", "Clearvane/clearvane-cli.exe", "Clearvane/Shardmill.exe", "Clearvane/Hivebrush.exe",
        "Clearvane/Sounds/Message.wav", "Clearvane/help.chm", "Clearvane/README.md", "Clearvane/License.txt"}
missing = need - names
if missing or not any(n.startswith("Clearvane/plus-in/") for n in names):
    sys.exit(f"FAIL: zip lacks {sorted(missing) or 'plus-in'}")
PY

# From here on every step is checked and reported, none ends the script.
set +e
cd "$sandbox"
failures=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}
w() { wine "$@" </dev/null 2>/dev/null | tr -d '\r'; }
unix_of() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
reg_value() {  # reg_value KEY NAME: the value's data, empty when missing
  { w reg query "$1" /v "$2" || true; } | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Clearvane'
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
shred_menu='HKCU\Software\Classes\*\shell\ClearvaneShred\command'
reg_default() {  # reg_default KEY: the key's default value, empty when missing
  { w reg query "$1" /ve || true; } | awk -F'REG_SZ' 'NF > 1 { sub(/^ +/, "", $2); print $2 }'
}

roundtrip() {  # roundtrip MODE ROOT [extra uninstall options] [folder for /D=]
  local mode=$1 root=$2 extra=${3:-} folder=${4:-}
  echo "== $mode install${folder:+ into $folder}"
  if [ -n "$folder" ]; then
    # As typed at a prompt: "/D=" last and unquoted, spaces and all.
    wine cmd /c "S:\\release-dist\\$(basename "$setup") /S /$mode /D=$folder" </dev/null >/dev/null 2>&1
  else
    wine "S:\\release-dist\\$(basename "$setup")" /S "/$mode" </dev/null >/dev/null 2>&1
  fi
  local dir_win dir
  dir_win=$(reg_value "$root\\$uninstall_key" InstallLocation)
  dir=$(unix_of "$dir_win")
  check "$mode: install location recorded ($dir_win)" test -n "$dir_win"
  [ -z "$folder" ] || check "$mode: installed into the folder given by /D" test "$dir_win" = "$folder"
  [ -n "$dir_win" ] || return 0
  check "$mode: program and companions installed" test -f "$dir/clearvane.exe" -a -f "$dir/clearvane-cli.exe" \
    -a -f "$dir/Shardmill.exe" -a -f "$dir/Hivebrush.exe"
  check "$mode: the pop-up's sound and the help installed" test -f "$dir/Sounds/Message.wav" -a -f "$dir/help.chm"
  check "$mode: example plug-ins installed" test -d "$dir/plus-in"
  local answer
  answer=$(w "$dir_win\\clearvane-cli.exe" --version)
  check "$mode: installed program answers --version ($answer)" grep -q "Clearvane $version " <<<"$answer"
  local menu
  menu=$(find "$WINEPREFIX/drive_c" -iname 'Clearvane.lnk' -path '*Start Menu*' | head -n 1)
  check "$mode: Start menu shortcut" test -n "$menu"
  local shred
  shred=$(reg_default "$shred_menu")
  check "$mode: Explorer's \"Shred with Clearvane\" starts the shredder ($shred)" \
    test "$shred" = "\"$dir_win\\Shardmill.exe\" \"%1\""

  # What the user made while using the program, and the start-up entry.
  printf '[WINDOWS]\r\nrecycle=1\r\n' >"$dir/vanesd.dat"
  printf 'http://kept.example/\r\n' >"$dir/keepurl.dat"
  w reg add "HKCU\\$run_key" /v Clearvane /d "\"$dir_win\\clearvane.exe\" min" /f >/dev/null

  echo "== $mode uninstall"
  # The uninstaller copies itself away and returns at once: wait for its work.
  wine "$dir_win\\uninstall.exe" /S "/$mode" $extra </dev/null >/dev/null 2>&1
  local tries=0
  while [ -e "$dir/uninstall.exe" ] && [ $tries -lt 120 ]; do sleep 0.5; tries=$((tries + 1)); done
  sleep 1
  check "$mode: program files removed" test ! -e "$dir/clearvane.exe" -a ! -e "$dir/clearvane-cli.exe" \
    -a ! -e "$dir/uninstall.exe" -a ! -e "$dir/plus-in" -a ! -e "$dir/README.md" -a ! -e "$dir/License.txt" \
    -a ! -e "$dir/Sounds" -a ! -e "$dir/Shardmill.exe" -a ! -e "$dir/help.chm" -a ! -e "$dir/Hivebrush.exe"
  check "$mode: Start menu shortcut removed" test ! -e "$menu"
  check "$mode: Explorer's \"Shred with Clearvane\" removed" test -z "$(reg_default "$shred_menu")"
  check "$mode: start-up value removed" test -z "$(reg_value "HKCU\\$run_key" Clearvane)"
  check "$mode: uninstall entry removed" test -z "$(reg_value "$root\\$uninstall_key" InstallLocation)"
  if [ -z "$extra" ]; then
    check "$mode: the user's settings stay" test -f "$dir/vanesd.dat" -a -f "$dir/keepurl.dat"
    rm -rf "$dir"
  else
    check "$mode: settings removed when asked" test ! -e "$dir"
  fi
}

roundtrip CurrentUser HKCU
roundtrip AllUsers HKLM /RemoveSettings
roundtrip CurrentUser HKCU "" 'S:\Apps\My Clearvane'
echo "$failures failures"
[ "$failures" -eq 0 ]
