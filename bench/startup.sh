#!/usr/bin/env bash
# Start-up: wall time from launching `vimora` on the bundled home until the gallery is first
# drawn, beside the smallest Qt Widgets program that shows a window and ends on its first paint
# (bench/FirstPaint.cpp), both under one X server started for this run; prints the ratio of the
# medians of several alternating runs.
#   bench/startup.sh [runs]
#
# Debian 12, two cores shared with other builds (load average 4), 21 alternating runs each:
#   smallest Widgets program 102 ms, vimora on the bundled home 164 ms: 1.6x (goal <= 1.5x;
#   the fastest runs 60 ms and 83 ms, 1.4x). Before the media framework, the HTTP library and
#   the icon theme were left out of the start the same run gave 307 ms, 3.0x: the media player
#   started the sound system and scanned its plugins (about half the time), and the HTTP
#   library brought some thirty libraries of its own to map.
# What remains beyond the anchor: building and painting the gallery's, the palette's and the
# first work window's widgets (the palette alone about 11 ms), and fontconfig and freetype
# opening the Japanese bold and serif faces the gallery draws with.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${STARTUP_BENCH_BUILD:-$here/build/bench}
runs=${1:-7}
if [ ! -x "$build/src/app/vimora" ] || [ ! -x "$build/bench/first_paint" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVIMORA_BENCH=ON -DVIMORA_TESTS=OFF >/dev/null
  cmake --build "$build" --target vimora first_paint -j2 >/dev/null
fi
exec xvfb-run -a -s "-screen 0 1600x1000x24" bash -s "$build" "$here/home" "$runs" <<'INNER'
set -euo pipefail
build=$1 home=$2 runs=$3
wall() { # prints the wall seconds of one run of the command
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  python3 -c "print($end - $start)"
}
export VIMORA_EXIT_AFTER_FIRST_PAINT=1
# One run of each first, so that both start from a warm file cache.
wall "$build/bench/first_paint" >/dev/null
wall "$build/src/app/vimora" "home=$home/" >/dev/null
anchor=() vimora=()
for _ in $(seq 1 "$runs"); do
  anchor+=("$(wall "$build/bench/first_paint")")
  vimora+=("$(wall "$build/src/app/vimora" "home=$home/")")
done
python3 - "${anchor[*]}" "${vimora[*]}" <<'PY'
import statistics, sys
a = [float(x) for x in sys.argv[1].split()]
v = [float(x) for x in sys.argv[2].split()]
ma, mv = statistics.median(a), statistics.median(v)
print(f"first paint, smallest Widgets program: {ma * 1000:7.1f} ms (median of {len(a)})")
print(f"first paint, vimora on the bundled home: {mv * 1000:7.1f} ms")
print(f"ratio: {mv / ma:.2f} (goal <= 1.5)")
PY
INNER
