#!/usr/bin/env bash
# Fails when a section of the executable does not start on a page boundary in the file: such an
# image is read into memory at every start instead of being mapped.
#   check-section-alignment.sh EXE
set -euo pipefail
exe=$1
alignment=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^FileAlignment\s*//p')
echo "file alignment: $alignment"
# The section table: index, name, size, VMA, LMA, file offset, alignment.
unaligned=""
while read -r _ name _ _ _ offset _; do
  if [ $((16#$offset % 4096)) -ne 0 ]; then unaligned+="$name at $offset "; fi
done < <(i686-w64-mingw32-objdump -h "$exe" | awk '$1 ~ /^[0-9]+$/')
if [ $((16#$alignment)) -ge 4096 ] && [ -z "$unaligned" ]; then
  echo "1 passed, 0 failed"
  exit 0
fi
echo "FAIL: sections off page boundaries: ${unaligned:-(file alignment)}"
echo "0 passed, 1 failed"
exit 1
