#!/usr/bin/env bash
# Checks a cross-built .deb against the native one of the same commit:
#
#   deb_arch_test.sh <drovane3d_*_amd64.deb> <drovane3d_*_<arch>.deb> <arch>
#
# It names its architecture, lintian finds nothing to report, it holds the
# same files in the same places with the same modes, and its dependencies,
# worked out by dpkg-shlibdeps from its own executables, are the same.
set -uo pipefail
native=$1 cross=$2 arch=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

field() { dpkg-deb -f "$1" "$2"; }
[ "$(field "$cross" Architecture)" = "$arch" ] ||
  fail "Architecture is '$(field "$cross" Architecture)', expected $arch"

report=$(lintian "$cross" 2>&1 | grep -v 'root privileges')
[ -z "$report" ] || fail "lintian reports:"$'\n'"$report"

contents() { dpkg-deb -c "$1" | awk '{print $1, $6}' | sort; }
if ! difference=$(diff <(contents "$native") <(contents "$cross")); then
  fail "the files differ from the amd64 package's:"$'\n'"$difference"
fi

depends=$(field "$cross" Depends)
case $depends in
  *libsdl2-2.0-0*libstdc++6*) ;;
  *) fail "Depends is '$depends': dpkg-shlibdeps did not resolve the $arch executables" ;;
esac
[ "$depends" = "$(field "$native" Depends)" ] ||
  fail "Depends differs: $arch '$depends', amd64 '$(field "$native" Depends)'"

[ $failures -eq 0 ] && echo "$arch package: lintian clean, same files and dependencies as amd64"
exit $((failures > 0))
