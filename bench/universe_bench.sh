#!/usr/bin/env bash
# Times the universe scan against du -sb and find -printf over one synthetic tree, on a warm cache,
# in the same run, together with the constellation data write and read and the bytes per node.
#   bench/universe_bench.sh [FILES]        (100000 by default; 1000000 for the large tree)
#
# Measured on Debian 12, ext4, two cores shared with other builds (so absolute times vary by
# a third between runs; the ratios are taken within one run):
#   100 000 files (104 000 nodes): scan/du 2.1-2.4, scan/find 1.2-1.4; .nebu write 5.5-7.0 us and
#     read 4.6-4.8 us per node (write includes the fsync of the atomic save); 209 heap bytes per node
#   1 000 000 files (1 040 000 nodes): scan/du 2.4, scan/find 1.9; write 7.6 us, read 7.1 us per
#     node; 211 heap bytes per node, so a million files take about 220 MB
# Most of the write and read time is the code page 932 conversion (iconv); most of the scan time
# is the kernel's stat and getdents, as for find.
set -euo pipefail
files=${1:-100000}
here=$(cd "$(dirname "$0")/.." && pwd)
build=${UNIVERSE_BENCH_BUILD:-$here/build/universe-bench}
if [ ! -x "$build/bench/universe_bench" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVIMORA_BENCH=ON -DVIMORA_TESTS=OFF >/dev/null
  cmake --build "$build" --target universe_bench -j2 >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree="$work/tree"
"$build/bench/universe_bench" --build-tree "$tree" --files "$files"

# Best of five runs of a command, in seconds.
best_of() {
  local best=""
  for _ in 1 2 3 4 5; do
    local t0 t1
    t0=$(date +%s%N); "$@" >/dev/null; t1=$(date +%s%N)
    local s=$(( t1 - t0 ))
    if [ -z "$best" ] || [ "$s" -lt "$best" ]; then best=$s; fi
  done
  echo "$best"
}
du -sb "$tree" >/dev/null # warm the cache
du_ns=$(best_of du -sb "$tree")
find_ns=$(best_of find "$tree" -printf '%s %T@\n')

UNIVERSE_BENCH_TREE="$tree" TMPDIR="$work" "$build/bench/universe_bench" \
  --benchmark_format=json --benchmark_out="$work/result.json" --benchmark_out_format=json >/dev/null

python3 - "$work/result.json" "$du_ns" "$find_ns" <<'PY'
import json, sys
result = json.load(open(sys.argv[1]))
du, find = int(sys.argv[2]) / 1e6, int(sys.argv[3]) / 1e6
b = {x["name"].split("/")[0]: x for x in result["benchmarks"]}
def ms(name):
    x = b[name]
    return x["real_time"] * {"ms": 1, "us": 1e-3, "ns": 1e-6, "s": 1e3}[x["time_unit"]]
scan, write, read = ms("BM_Scan"), ms("BM_WriteNebu"), ms("BM_ReadNebu")
nodes = int(b["BM_Scan"]["nodes"])
print(f"nodes                {nodes}")
print(f"du -sb               {du:9.1f} ms")
print(f"find -printf         {find:9.1f} ms")
print(f"scan                 {scan:9.1f} ms   scan/du {scan / du:5.2f}   scan/find {scan / find:5.2f}")
print(f".nebu write          {write:9.1f} ms   ({write * 1e6 / nodes:.0f} ns per node)")
print(f".nebu read           {read:9.1f} ms   ({read * 1e6 / nodes:.0f} ns per node)")
print(f"heap per node        {b['BM_MemoryPerNode']['bytes_per_node']:9.0f} bytes")
PY
