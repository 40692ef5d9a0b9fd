#!/usr/bin/env bash
# The test command: installs what it needs, builds every configuration and
# runs every suite. Run from anywhere, as root on a fresh machine (to install
# packages) or as any user once they are there.
#
#   build/gcc-debug     GCC debug: unit tests and drovane-sim
#   build/clang-san     Clang with AddressSanitizer and UndefinedBehaviorSanitizer:
#                       unit tests, and each fuzzer for a bounded time
#   build/mingw         MinGW-w64 cross build, its tests run under Wine
#   build/web           Emscripten: the page, and drovane-sim for node (scripts/web.sh)
#   build/web-tests     Emscripten: the behaviour suite, run in headless Chromium
#   build/arm64         GCC for ARM64 (Debian multiarch): the game for the arm64
#                       .deb, drovane-sim's checks under qemu-user
#   build/i686          GCC for 32-bit x86, headless: drovane-sim only
#   build/gcc-release   GCC release: everything, end-to-end tests included, the
#                       comparison of drovane-sim across all the builds, and
#                       the page in headless Chromium against the native frame
#   build/packages      the Debian packages (from gcc-release and arm64), the
#                       Windows installer and zip (from mingw), installed, run
#                       and removed again (the .deb only as root: apt-get)
#   build/repro         a second build of both .debs in other directories:
#                       they must be byte for byte the same
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh test

jobs=$(nproc)
ctest_flags=(--output-on-failure --no-tests=error -j "$jobs")
section() { printf '\n=== %s ===\n' "$*"; }

configure_and_build() {  # dir, then cmake arguments
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

section "GCC debug"
configure_and_build build/gcc-debug -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ -DDROVANE_BUILD_BENCHMARKS=OFF -DDROVANE_BUILD_E2E=OFF
ctest --test-dir build/gcc-debug -L unit "${ctest_flags[@]}"

section "Clang, AddressSanitizer and UndefinedBehaviorSanitizer"
configure_and_build build/clang-san -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DDROVANE_SANITIZE=ON \
  -DDROVANE_BUILD_FUZZERS=ON -DDROVANE_BUILD_BENCHMARKS=OFF -DDROVANE_BUILD_E2E=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/clang-san -L 'unit|fuzz' "${ctest_flags[@]}"

section "MinGW-w64 under Wine"
bash scripts/wine-prefix.sh
export WINEPREFIX="$root/build/wineprefix" WINEDEBUG=-all
configure_and_build build/mingw -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DDROVANE_BUILD_BENCHMARKS=OFF
ctest --test-dir build/mingw "${ctest_flags[@]}" -j 1

section "WebAssembly: the page and drovane-sim (Emscripten)"
bash scripts/web.sh build
bash scripts/web.sh tests
# puppeteer-core for the browser checks, at the versions the lock file pins.
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)

section "ARM64 (qemu-user) and i686"
started=$SECONDS
cmake -S "$root" -B build/arm64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/aarch64-linux-gnu.cmake" -DDROVANE_BUILD_BENCHMARKS=OFF \
  -DDROVANE_BUILD_E2E=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
# What the package holds, and drovane-sim's checks run through the emulator;
# the other suites test the same sources in the native builds.
arm64_targets=(--target drovane3d drovane-sim drovane_docs)
cmake --build build/arm64 -j "$jobs" "${arm64_targets[@]}"
ctest --test-dir build/arm64 -R '^drovane_sim_' "${ctest_flags[@]}"
configure_and_build build/i686 -DCMAKE_BUILD_TYPE=Release -DDROVANE_GAME=OFF \
  -DDROVANE_BUILD_TESTS=OFF "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/i686-linux-gnu.cmake"
echo "cross builds in $((SECONDS - started)) s"

section "GCC release: every suite"
configure_and_build build/gcc-release -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
  "-DDROVANE_WINDOWS_GAME=$root/build/mingw/app/drovane3d.exe" \
  "-DDROVANE_WEB_SITE=$root/build/web/site" \
  "-DDROVANE_WEB_BEHAVIOUR=$root/build/web-tests/tests/behaviour/behaviour_web_tests.js" \
  "-DDROVANE_PEER_SIMS=$root/build/gcc-debug/tools/drovane-sim;$root/build/clang-san/tools/drovane-sim;$root/build/mingw/tools/drovane-sim.exe;$root/build/web/tools/drovane-sim.js;$root/build/i686/tools/drovane-sim;qemu-aarch64 -L /usr/aarch64-linux-gnu '$root/build/arm64/tools/drovane-sim'"
ctest --test-dir build/gcc-release "${ctest_flags[@]}" -j 1

section "Packages"
started=$SECONDS
# The packages record the last commit's time, not the build's.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
rm -rf build/packages build/repro
cpack --config build/gcc-release/CPackConfig.cmake -B build/packages/linux >/dev/null
cpack --config build/arm64/CPackConfig.cmake -B build/packages/linux >/dev/null
cpack --config build/mingw/CPackConfig.cmake -B build/packages/windows >/dev/null
bash scripts/web.sh package build/packages/web
# The web zip as a host would serve it: unpacked, it plays, and offline too.
unzip -q -d build/packages/web/unpacked build/packages/web/drovane3d-*-web.zip
node tests/web/check_offline.js --site build/packages/web/unpacked/drovane3d-*-web \
  --browser chromium --executable "$(command -v chromium)" --work build/packages/web/check
# Both .debs again from a second build in other directories: the same bytes.
cmake -S "$root" -B build/repro/amd64 -G Ninja -DCMAKE_BUILD_TYPE=Release -DDROVANE_BUILD_TESTS=OFF \
  -DDROVANE_BUILD_BENCHMARKS=OFF -DDROVANE_BUILD_E2E=OFF >/dev/null
cmake -S "$root" -B build/repro/arm64 -G Ninja -DCMAKE_BUILD_TYPE=Release -DDROVANE_BUILD_TESTS=OFF \
  -DDROVANE_BUILD_BENCHMARKS=OFF -DDROVANE_BUILD_E2E=OFF \
  "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/aarch64-linux-gnu.cmake" >/dev/null
for arch in amd64 arm64; do
  cmake --build build/repro/$arch -j "$jobs"
  cpack --config build/repro/$arch/CPackConfig.cmake -B build/repro/packages/linux >/dev/null
done
bash scripts/compare-packages.sh build/packages/linux build/repro/packages/linux
bash tests/package/deb_arch_test.sh build/packages/linux/drovane3d_*_amd64.deb \
  build/packages/linux/drovane3d_*_arm64.deb arm64
if [ "$(id -u)" -eq 0 ]; then
  bash tests/package/deb_test.sh build/packages/linux/drovane3d_*_amd64.deb build/gcc-release/app/icon/drovane.ico
else
  echo "not root: the .deb is built but not installed"
fi
bash tests/package/windows_test.sh "$(command -v wine64 || echo /usr/lib/wine/wine64)" \
  build/packages/windows/drovane3d-*.exe build/packages/windows/drovane3d-*.zip \
  scripts/xvfb-session.sh "$WINEPREFIX"
echo "packages built and tested in $((SECONDS - started)) s"
