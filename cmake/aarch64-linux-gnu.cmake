# Cross-compiling for 64-bit ARM Linux with Debian's cross compiler and the
# arm64 libraries of Debian multiarch (dpkg --add-architecture arm64).
# Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# Multiarch libraries live in the host's own tree (/usr/lib/aarch64-linux-gnu,
# with their CMake and pkg-config files), so the root to search is "/";
# CMAKE_LIBRARY_ARCHITECTURE picks the arm64 directories in it.
set(CMAKE_FIND_ROOT_PATH / /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)

# CTest runs the executables under qemu-user, with the cross C library as
# the root its loader and libraries are looked up in first.
find_program(DROVANE_QEMU_AARCH64 NAMES qemu-aarch64 qemu-aarch64-static)
if(DROVANE_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DROVANE_QEMU_AARCH64} -L /usr/aarch64-linux-gnu)
endif()
