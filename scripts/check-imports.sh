#!/usr/bin/env bash
# Fails when the executable imports, at process start, a DLL that is to be loaded at its first
# use:   check-imports.sh EXE DLL...
set -euo pipefail
exe=$1
shift
imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
echo "imported at start: $(echo $imports)"
status=0
for dll in "$@"; do
  if grep -qx "${dll}.dll" <<<"$imports"; then
    echo "FAIL: ${dll}.dll is imported at start"
    status=1
  fi
done
if [ $status -eq 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
exit $status
