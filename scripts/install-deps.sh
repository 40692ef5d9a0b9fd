#!/usr/bin/env bash
# Installs the Debian packages Drovane 3D needs, skipping those already there.
#   install-deps.sh run      what building and running the game needs
#   install-deps.sh package  that plus what building the packages needs
#   install-deps.sh test     all that plus everything the test suites use
set -euo pipefail

run_packages=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libx11-dev libwayland-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  xvfb openbox wmctrl xdotool x11-xserver-utils x11-utils imagemagick
  python3
)
package_packages=(
  g++-mingw-w64-x86-64-posix dpkg-dev file nsis zip
)
test_packages=(
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libegl-dev libegl1-mesa
  weston xwayland libdecor-0-plugin-1-cairo
  wine wine64
  valgrind
  x11-xkb-utils
  lintian appstream desktop-file-utils man-db unzip
  emscripten nodejs chromium
)
# npm ships inside some nodejs builds (NodeSource's); Debian packages it apart.
if ! command -v npm >/dev/null; then
  test_packages+=(npm)
fi

wanted=("${run_packages[@]}")
case ${1:-test} in
  package) wanted+=("${package_packages[@]}") ;;
  test) wanted+=("${package_packages[@]}" "${test_packages[@]}") ;;
esac

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
