#!/usr/bin/env bash
# Installs the Debian packages Drovane 3D needs, skipping those already there.
#   install-deps.sh run      what building and running the game needs
#   install-deps.sh package  that plus what building the packages needs
#                            (the arm64 .deb: cross compiler, arm64 libraries)
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
  emscripten nodejs
)
# Debian multiarch: the arm64 build's libraries beside the amd64 ones (their
# -dev packages must be the same versions on both), qemu-user to run arm64
# executables, and the i686 compiler whose executables need libc6:i386.
cross_architectures=(arm64 i386)
cross_dev_packages=(libsdl2-dev libx11-dev libgl-dev libglu1-mesa-dev)
cross_packages=(
  g++-aarch64-linux-gnu qemu-user "${cross_dev_packages[@]/%/:arm64}"
  g++-i686-linux-gnu libc6:i386
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
  chromium firefox-esr
  diffoscope-minimal
)
# npm ships inside some nodejs builds (NodeSource's); Debian packages it apart.
if ! command -v npm >/dev/null; then
  test_packages+=(npm)
fi

wanted=("${run_packages[@]}")
cross=()
case ${1:-test} in
  package) wanted+=("${package_packages[@]}"); cross=("${cross_packages[@]}") ;;
  test) wanted+=("${package_packages[@]}" "${test_packages[@]}"); cross=("${cross_packages[@]}") ;;
esac

missing_of() {  # packages...: prints those not installed
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$package"
    fi
  done
}

# A multiarch -dev package of another version than its amd64 twin is a
# build against other headers, or an apt plan that removes the amd64 one.
check_multiarch_versions() {
  local package native foreign failed=0
  for package in "${cross_dev_packages[@]}"; do
    native=$(dpkg-query -W -f='${Version}' "$package:amd64" 2>/dev/null || true)
    foreign=$(dpkg-query -W -f='${Version}' "$package:arm64" 2>/dev/null || true)
    if [ "$native" != "$foreign" ]; then
      echo "install-deps: $package is '${native:-missing}' for amd64 but '${foreign:-missing}' for arm64;" \
        "multiarch needs both at one version (apt-get update, then upgrade both)" >&2
      failed=1
    fi
  done
  return $failed
}

mapfile -t missing < <(missing_of "${wanted[@]}")
mapfile -t missing_cross < <(missing_of "${cross[@]}")

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_cross[@]} -eq 0 ]; then
  if [ ${#cross[@]} -gt 0 ]; then
    check_multiarch_versions
  fi
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]} ${missing_cross[*]} (run as root to install them)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
for architecture in "${cross_architectures[@]}"; do
  if [ ${#missing_cross[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx "$architecture"; then
    dpkg --add-architecture "$architecture"
  fi
done
apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ ${#missing_cross[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing_cross[*]}"
  # --no-remove: a plan that would take away an amd64 package (a -dev
  # package of another version, say) stops here instead.
  apt-get install -y -qq --no-install-recommends --no-remove "${missing_cross[@]}" >/dev/null
fi
if [ ${#cross[@]} -gt 0 ]; then
  check_multiarch_versions
fi
