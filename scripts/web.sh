#!/usr/bin/env bash
# Builds the browser version (WebAssembly + WebGL 2, with Emscripten) and
# serves it on 127.0.0.1.
#
#   web.sh [serve] [port]   build, then serve build/web/site (default port 8080)
#   web.sh build            build only: build/web/site holds the page
#   web.sh tests            build the behaviour suite for the browser in
#                           build/web-tests (tests/web/run_behaviour.js runs it)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mode=${1:-serve}
port=${2:-8080}

# Debian's Emscripten finds its JavaScript parser (acorn) only through NODE_PATH.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ "$mode" = tests ]; then
  emcmake cmake -S "$root" -B build/web-tests -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DDROVANE_BUILD_BENCHMARKS=OFF -DDROVANE_BUILD_E2E=OFF "${launcher[@]}" >/dev/null
  cmake --build build/web-tests -j "$(nproc)" --target behaviour_web_tests
  echo "web: the behaviour suite is build/web-tests/tests/behaviour/behaviour_web_tests.js"
  exit 0
fi
emcmake cmake -S "$root" -B build/web -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DDROVANE_BUILD_TESTS=OFF -DDROVANE_BUILD_BENCHMARKS=OFF -DDROVANE_BUILD_E2E=OFF \
  "${launcher[@]}" >/dev/null
cmake --build build/web -j "$(nproc)" --target drovane3d drovane-sim

site=build/web/site
mkdir -p "$site"
cp build/web/app/drovane3d.js build/web/app/drovane3d.wasm platform/web/page/index.html "$site/"
echo "web: the page is in $site"

if [ "$mode" = build ]; then
  exit 0
fi
echo "web: serving on http://127.0.0.1:$port/ - open that address in a browser with WebGL 2"
echo "web: (add ?tick=N to start the clock at N, a diagnostic aid); Ctrl+C stops"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
