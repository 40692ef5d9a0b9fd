#!/usr/bin/env bash
# Checks that two builds of one commit packed the same bytes:
#
#   compare-packages.sh <packages dir A> <packages dir B>
#
# Every file under A (CPack's staging directories aside) must exist under B
# at the same place with the same SHA-256, and B must hold no file A lacks.
# Prints both checksums of each file; where they differ, diffoscope (if
# installed) shows how. Exit status 0 only when all are identical.
set -uo pipefail
a=$(cd "$1" && pwd) b=$(cd "$2" && pwd)

list() { (cd "$1" && find . -path '*/_CPack_Packages' -prune -o -type f -print | sort); }
mapfile -t files_a < <(list "$a")
mapfile -t files_b < <(list "$b")
if [ ${#files_a[@]} -eq 0 ]; then
  echo "FAIL: no packages in $a"
  exit 1
fi
status=0
if [ "${files_a[*]}" != "${files_b[*]}" ]; then
  echo "FAIL: the two builds made different sets of files:"
  diff <(printf '%s\n' "${files_a[@]}") <(printf '%s\n' "${files_b[@]}") | sed 's/^/  /'
  status=1
fi
for file in "${files_a[@]}"; do
  [ -f "$b/$file" ] || continue
  sum_a=$(sha256sum <"$a/$file" | cut -d' ' -f1)
  sum_b=$(sha256sum <"$b/$file" | cut -d' ' -f1)
  if [ "$sum_a" = "$sum_b" ]; then
    echo "same      $sum_a  ${file#./}"
  else
    echo "DIFFERENT ${file#./}"
    echo "  $sum_a  $a/${file#./}"
    echo "  $sum_b  $b/${file#./}"
    if command -v diffoscope >/dev/null; then
      diffoscope --text - "$a/$file" "$b/$file" | head -n 200 | sed 's/^/  /'
    fi
    status=1
  fi
done
exit $status
