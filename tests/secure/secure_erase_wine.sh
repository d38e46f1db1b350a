#!/usr/bin/env bash
# Secure erasure seen from outside the program: the files to erase live on a
# small ext2 image mounted through FUSE inside the sandbox drive; after
# clearvane-cli has cleaned them as custom items, the image's blocks are
# searched for their old content.
#  - "Enable Securely Cleaning" on: a file's bytes are gone from the disk;
#    a file with a second hard link keeps its content under the other name.
#  - off (the control, proving the search can see deleted data): the bytes
#    of a plainly deleted file are still in the blocks.
# Usage: secure_erase_wine.sh WINDOWS_BUILD_DIR   (run by ctest under scripts/test)
set -euo pipefail
build=$(readlink -f "$1")
source "$(dirname "$0")/block_image.sh"
cv_block_image secure-erase 16
pattern SECRET-ALPHA >"$disk/secret.txt"
pattern SHARED-BRAVO >"$disk/linked.txt"
ln "$disk/linked.txt" "$disk/other-name.txt"
pattern PLAIN-CHARLIE >"$disk/plain.txt"
sync

cp "$build/clearvane-cli.exe" "$app/"
cli() {  # cli SECURELY FILE...: clean the named files as custom items
  local securely=$1
  shift
  printf '[Custom]\r\nCustom=1\r\n[Options]\r\nsecurely=%s\r\n' "$securely" >"$app/vanesd.dat"
  : >"$app/cusd.dat"
  for f in "$@"; do printf 'S:\\secure-erase\\disk\\%s\tFile\r\n' "$f" >>"$app/cusd.dat"; done
  (cd "$app" && wine 'S:\secure-erase\app\clearvane-cli.exe' --clean </dev/null >"$work/out.txt" 2>&1) || true
}
cli 0 plain.txt
cli 1 secret.txt linked.txt

failures=0
check() {
  if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}
check "erased files are gone" test ! -e "$disk/secret.txt" -a ! -e "$disk/linked.txt" -a ! -e "$disk/plain.txt"
check "the other hard link keeps its content" cmp -s "$disk/other-name.txt" <(pattern SHARED-BRAVO)
check "no stray renamed file is left" test "$(ls "$disk" | grep -v -e '^other-name.txt$' -e '^lost+found$' | wc -l)" -eq 0
unmount
check "control: a plainly deleted file's bytes stay on the disk" grep -q PLAIN-CHARLIE "$image"
check "a securely erased file's bytes are gone from the disk" bash -c "! grep -q SECRET-ALPHA '$image'"
echo "$failures failures"
[ "$failures" -eq 0 ]
