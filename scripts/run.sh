#!/usr/bin/env bash
# Set up, build a release build and start the gallery on the bundled home folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
launcher=()
# ccache (when present) keys on paths relative to the checkout, so every clone shares its cache.
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVIMORA_TESTS=OFF "${launcher[@]}"
cmake --build build/release -j"$(nproc)" --target vimora
app=build/release/src/app/vimora
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display found, starting under xvfb-run" >&2
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$app" "home=$PWD/home/" "$@"
fi
exec "$app" "home=$PWD/home/" "$@"
