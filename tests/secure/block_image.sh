# Sourced by the block-image tests under Wine. cv_block_image NAME MEGABYTES:
# checks that the test runs in the sandbox prefix (exit 2 otherwise) and that
# FUSE is there (SKIP otherwise), then mounts a fresh ext2 image of that size
# on $disk, with $work (the test's folder on drive S:, as S:\NAME), $app and
# $image set; everything goes when the script ends. Also `pattern WORD`, the
# 200,000 bytes the tests look for in the image's blocks, and `unmount`.
cv_block_image() {
  # shellcheck source=../../scripts/lib/wine-sandbox.sh
  source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/wine-sandbox.sh"
  cv_world_enter
  if [ -z "${WINEPREFIX:-}" ] || [ ! -f "$WINEPREFIX/.clearvane-sandbox" ]; then
    echo "$(basename "$0"): no sandbox prefix; run through ./scripts/test" >&2
    exit 2
  fi
  local sandbox=${CV_TEST_SANDBOX:?run through ./scripts/test}
  if [ ! -w /dev/fuse ] || ! command -v fuse2fs >/dev/null; then
    echo "SKIP: fuse2fs or /dev/fuse is missing"
    exit 0
  fi
  work="$sandbox/$1"
  disk="$work/disk" app="$work/app" image="$work/disk.img"
  rm -rf "$work"
  mkdir -p "$disk" "$app"
  trap 'fusermount3 -u "$disk" 2>/dev/null || true; rm -rf "$work"' EXIT
  truncate -s "$2M" "$image"
  mkfs.ext2 -q -F "$image"
  fuse2fs -o fakeroot,hard_remove "$image" "$disk"
}

pattern() { python3 -c "import sys; sys.stdout.write(('$1-' * 40000)[:200000])"; }

# The unmount returns before fuse2fs has written its last blocks and ended.
unmount() {
  fusermount3 -u "$disk"
  for _ in $(seq 200); do pgrep -f "fuse2fs .*$image" >/dev/null || break; sleep 0.05; done
}
