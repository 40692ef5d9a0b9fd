#!/usr/bin/env bash
# Rewrites the drovane-sim goldens (tests/tools/goldens/*.out) from the
# current simulation. Only for a deliberate change of the simulation's
# behaviour: review the diff before committing it.
#
#   scripts/regen-goldens.sh [BUILD_DIR]     (default build/gcc-release)
#
# Each scenario's options are on the "# args:" line of its .events file.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build/gcc-release}
case $build in /*) ;; *) build=$root/$build ;; esac

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target drovane-sim
sim=$build/tools/drovane-sim
[ -x "$sim" ] || { echo "regen-goldens: no $sim (a native build is needed)" >&2; exit 1; }

for events in "$root"/tests/tools/goldens/*.events; do
  args=$(sed -n 's/^# args://p' "$events" | head -n 1)
  # shellcheck disable=SC2086  # the args line is split into options on purpose
  "$sim" $args --events "$events" >"${events%.events}.out"
  echo "wrote ${events%.events}.out"
done
