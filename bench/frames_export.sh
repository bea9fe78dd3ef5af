#!/usr/bin/env bash
# What writing every frame costs `vimora-run`: one 640 x 400 work run for 200 frames without
# --frames and with it (PNG, then BMP), all in this one run; prints the wall time each written
# frame adds to the run without frames.
#   bench/frames_export.sh
#
# Debian 12, ext4, two cores shared with other builds (load average 8), three runs:
#   row                              before        now            goal
#   --frames png, wall per frame     ~13 ms        1.9-4.5 ms     <= 3 ms
#   --frames bmp, wall per frame     --            1.1-3.5 ms
# "before" wrote each frame through the atomic save (temporary file, fsync, rename) with the
# image library's PNG writer at its default level, on the drawing thread.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${FRAMES_BENCH_BUILD:-$here/build/frames-bench}
if [ ! -x "$build/src/work/vimora-run" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVIMORA_TESTS=OFF >/dev/null
  cmake --build "$build" --target vimora-run -j2 >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Twenty balls of 16 x 16 dots bouncing over the picture: the frames differ, as a real work's do.
{
  printf 'ANIME_SET:\r\n'
  for i in $(seq 1 20); do
    printf 'DotPtn:ball%d,16,16,%d,%d,0,0,0,1,1\r\n' "$i" $((i * 29 % 600)) $((i * 17 % 360))
    for r in $(seq 1 16); do printf '%s\r\n' "$(printf '%0.s'"$((i % 9 + 1))" $(seq 1 16))"; done
  done
  printf 'SET_END:\r\n'
  for i in $(seq 1 20); do printf 'ball%d:vX=%d\r\nball%d:vY=%d\r\n' "$i" $((i % 7 * 3 + 5)) "$i" $((i % 5 * 4 + 3)); done
  printf 'Wait:600\r\n'
} > "$work/balls.acmd"

run() { # prints the wall seconds of one run
  local start end
  start=$(date +%s.%N)
  QT_QPA_PLATFORM=offscreen "$build/src/work/vimora-run" "$work/balls.acmd" --size 640x400 --ms 20000 "$@" >/dev/null
  end=$(date +%s.%N)
  python3 -c "print($end - $start)"
}
best() { # best of three
  local b="" t
  for _ in 1 2 3; do
    rm -rf "$work/frames"
    t=$(run "$@")
    b=$(python3 -c "import sys; a=float(sys.argv[1]); b=sys.argv[2]; print(a if b=='' or a<float(b) else b)" "$t" "$b")
  done
  echo "$b"
}
plain=$(best)
png=$(best --frames "$work/frames")
frames=$(ls "$work/frames" | wc -l)
bmp=$(best --frames "$work/frames" --frames-format bmp)
python3 - "$plain" "$png" "$bmp" "$frames" <<'PY'
import sys
plain, png, bmp, frames = float(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3]), int(sys.argv[4])
print(f"run without frames: {plain:.3f} s for {frames} frames")
print(f"--frames png: {(png - plain) / frames * 1000:.2f} ms wall per frame (goal <= 3 ms)")
print(f"--frames bmp: {(bmp - plain) / frames * 1000:.2f} ms wall per frame")
PY
