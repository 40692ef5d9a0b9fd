#!/usr/bin/env bash
# Builds the browser version (WebAssembly + WebGL 2, with Emscripten) and
# serves it on 127.0.0.1.
#
#   web.sh [serve] [port]   build, then serve build/web/site (default port 8080)
#   web.sh build            build only: build/web/site holds the page
#   web.sh tests            build the behaviour suite for the browser in
#                           build/web-tests (tests/web/run_behaviour.js runs it)
#   web.sh package [DIR]    build, then pack the page as
#                           DIR/drovane3d-VERSION-web.zip (default
#                           build/packages/web): static files for any web
#                           server, reproducible (entries sorted, their times
#                           SOURCE_DATE_EPOCH, else the last commit's)
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
rm -rf "$site"
mkdir -p "$site"
cp build/web/app/drovane3d.js build/web/app/drovane3d.wasm platform/web/page/index.html \
  platform/web/page/manifest.webmanifest "$site/"
for size in 128 256; do
  cp "build/web/app/icon/hicolor/${size}x${size}/apps/io.github.drovane.Drovane3D.png" "$site/icon-$size.png"
done
# The service worker's cache is named after everything it keeps.
digest=$(cd "$site" && cat index.html drovane3d.js drovane3d.wasm manifest.webmanifest icon-*.png |
  sha256sum | cut -c1-16)
sed "s/@FILES_DIGEST@/$digest/" platform/web/page/sw.js > "$site/sw.js"
echo "web: the page is in $site"

if [ "$mode" = package ]; then
  out=${2:-build/packages/web}
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/web/CMakeCache.txt)
  name=drovane3d-$version-web
  epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}
  stage=build/web/stage
  rm -rf "$stage"
  mkdir -p "$stage/$name" "$out"
  cp "$site"/* README.md LICENSE "$stage/$name/"
  chmod -R u=rwX,go=rX "$stage/$name"
  find "$stage/$name" -exec touch -h -d "@$epoch" {} +
  out=$(cd "$out" && pwd)
  rm -f "$out/$name.zip"
  # zip stores local times: UTC makes them the same on every machine.
  (cd "$stage" && find "$name" -print | LC_ALL=C sort | TZ=UTC zip -X -q -@ "$out/$name.zip")
  echo "web: $out/$name.zip"
  exit 0
fi

if [ "$mode" = build ]; then
  exit 0
fi
echo "web: serving on http://127.0.0.1:$port/ - open that address in a browser with WebGL 2"
echo "web: (add ?tick=N to start the clock at N, a diagnostic aid); Ctrl+C stops"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
