# Compiler settings shared by every target of the project.
#
# The simulation must give the same bits on every build: no fast-math and no
# fused multiply-add contraction anywhere, x86-64 SSE2 float semantics.

# Warnings are errors where CI builds (GCC, Clang, MinGW). Nothing here runs
# MSVC, so a warning only it gives must not stop a user's build there.
option(DROVANE_MSVC_WARNINGS_AS_ERRORS "Make MSVC warnings errors (/WX)" OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Werror -ffp-contract=off -fno-fast-math)
elseif(MSVC)
  add_compile_options(/W4 /fp:precise)
  if(DROVANE_MSVC_WARNINGS_AS_ERRORS)
    add_compile_options(/WX)
  endif()
endif()

# 32-bit x86: the compilers' default x87 maths rounds float expressions once
# in extended precision where SSE rounds every step, so the simulation would
# give other bits from the first frame. MSVC uses SSE2 there already.
# (Emscripten names its processor x86 too, but WebAssembly has no x87.)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT EMSCRIPTEN
   AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86|X86|AMD64|x86_64)$")
  add_compile_options(-msse2 -mfpmath=sse)
endif()

# -Wconversion where it is not noise: product code opts in per target.
function(drovane_strict_conversions target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wconversion -Wsign-conversion)
  endif()
endfunction()

# Product code is built without exceptions and RTTI.
function(drovane_product_target target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
  elseif(MSVC)
    target_compile_options(${target} PRIVATE /GR-)
  endif()
  drovane_strict_conversions(${target})
endfunction()

if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # Static executables, so Wine and plain Windows machines need no MinGW DLLs.
  # No link time in the PE header: one commit builds to the same bytes.
  add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
endif()

# Where the tree was checked out and built must not show in what is built
# (__FILE__, debug information), so two checkouts build the same bytes.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
endif()

option(DROVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(DROVANE_SANITIZE)
  # No vptr check: product code has no RTTI, so objects of its classes (and of
  # tests' classes derived from them) carry no type info to check against.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
