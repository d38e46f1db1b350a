#!/usr/bin/env bash
# "Wipe free space" seen from outside the program: a small ext2 image is
# mounted through FUSE inside the sandbox drive, a file on it is deleted, and
# clearvane-cli --wipe-free-space fills and frees the image's free space.
#  - the deleted file's bytes are gone from the image's blocks;
#  - the image's own files are intact;
#  - a wipe stopped by Ctrl+C leaves no fill file behind.
# Usage: wipe_free_space_wine.sh WINDOWS_BUILD_DIR   (run by ctest under scripts/test)
set -euo pipefail
build=$(readlink -f "$1")
source "$(dirname "$0")/block_image.sh"
# Large enough that the fill is still under way when Ctrl+C comes.
cv_block_image wipe 256
pattern KEPT-FOXTROT >"$disk/kept.txt"
cp "$build/clearvane-cli.exe" "$app/"
wipe() { (cd "$app" && wine 'S:\wipe\app\clearvane-cli.exe' --wipe-free-space 'S:\wipe\disk' </dev/null >"$work/out.txt" 2>&1); }

failures=0
check() {
  if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}
# Ctrl+C while the fill is under way.
wipe &
wiper=$!
for _ in $(seq 200); do ls "$disk"/~ClearvaneWipe*/fill-* >/dev/null 2>&1 && break; sleep 0.02; done
pkill -INT -f 'clearvane-cli.exe --wipe-free-space' || true
wait $wiper || true
check "Ctrl+C stops the wipe ($(tr -d '\r' <"$work/out.txt" | tail -n 1))" grep -q "^Cancelled" "$work/out.txt"
check "a cancelled wipe leaves no fill behind" \
  test "$(ls -A "$disk" | grep -v -e '^kept.txt$' -e '^lost+found$' | wc -l)" -eq 0

pattern SECRET-GOLF >"$disk/secret.txt"
sync
rm "$disk/secret.txt"
sync
wipe || true
check "the wipe completes ($(tr -d '\r' <"$work/out.txt" | tail -n 1))" grep -q "Free space wiped" "$work/out.txt"
check "the image's own file is intact" cmp -s "$disk/kept.txt" <(pattern KEPT-FOXTROT)
check "nothing of the wipe is left" test "$(ls -A "$disk" | grep -v -e '^kept.txt$' -e '^lost+found$' | wc -l)" -eq 0
unmount
check "the deleted file's bytes are gone from the disk" bash -c "! grep -q SECRET-GOLF '$image'"
check "the kept file's bytes are on the disk" grep -q KEPT-FOXTROT "$image"
echo "$failures failures"
[ "$failures" -eq 0 ]
