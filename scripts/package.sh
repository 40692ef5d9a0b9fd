#!/usr/bin/env bash
# Builds the packages (installing what that needs, as root on a fresh
# machine) and prints where they are:
#   build/packages/linux/drovane3d_VERSION_amd64.deb     Debian package
#   build/packages/windows/drovane3d-VERSION-win64.exe   Windows installer
#   build/packages/windows/drovane3d-VERSION-win64.zip   Windows, portable
#   build/packages/web/drovane3d-VERSION-web.zip         the web page, to host
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh package

jobs=$(nproc)
common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DDROVANE_BUILD_TESTS=OFF
        -DDROVANE_BUILD_BENCHMARKS=OFF -DDROVANE_BUILD_E2E=OFF)
cmake -S . -B build/package-linux "${common[@]}" >/dev/null
cmake --build build/package-linux -j "$jobs"
cmake -S . -B build/package-windows "${common[@]}" \
  "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build build/package-windows -j "$jobs"

rm -rf build/packages
cpack --config build/package-linux/CPackConfig.cmake -B build/packages/linux >/dev/null
cpack --config build/package-windows/CPackConfig.cmake -B build/packages/windows >/dev/null
bash scripts/web.sh package build/packages/web >/dev/null
ls -1 "$root"/build/packages/linux/*.deb "$root"/build/packages/windows/*.{exe,zip} "$root"/build/packages/web/*.zip
