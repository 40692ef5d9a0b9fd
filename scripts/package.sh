#!/usr/bin/env bash
# Builds the packages (installing what that needs, as root on a fresh
# machine) and prints where they are:
#   build/packages/linux/drovane3d_VERSION_amd64.deb     Debian package, x86-64
#   build/packages/linux/drovane3d_VERSION_arm64.deb     Debian package, ARM64
#   build/packages/windows/drovane3d-VERSION-win64.exe   Windows installer
#   build/packages/windows/drovane3d-VERSION-win64.zip   Windows, portable
#   build/packages/web/drovane3d-VERSION-web.zip         the web page, to host
#
# The packages record the last commit's time (SOURCE_DATE_EPOCH), not the
# build's, so one commit packs to the same bytes wherever it is built.
# DROVANE_PACKAGE_ROOT=<dir> builds and packs under <dir> instead of build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh package

out=${DROVANE_PACKAGE_ROOT:-$root/build}
mkdir -p "$out"
out=$(cd "$out" && pwd)
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
fi
export SOURCE_DATE_EPOCH

jobs=$(nproc)
common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DDROVANE_BUILD_TESTS=OFF
        -DDROVANE_BUILD_BENCHMARKS=OFF -DDROVANE_BUILD_E2E=OFF)
build() {  # build dir, then cmake arguments
  local dir=$1
  shift
  cmake -S . -B "$dir" "${common[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}
build "$out/package-linux"
build "$out/package-arm64" "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/aarch64-linux-gnu.cmake"
build "$out/package-windows" "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake"

rm -rf "$out/packages"
cpack --config "$out/package-linux/CPackConfig.cmake" -B "$out/packages/linux" >/dev/null
cpack --config "$out/package-arm64/CPackConfig.cmake" -B "$out/packages/linux" >/dev/null
cpack --config "$out/package-windows/CPackConfig.cmake" -B "$out/packages/windows" >/dev/null
rm -rf "$out"/packages/*/_CPack_Packages
bash scripts/web.sh package "$out/packages/web" >/dev/null
ls -1 "$out"/packages/linux/*.deb "$out"/packages/windows/*.{exe,zip} "$out"/packages/web/*.zip
