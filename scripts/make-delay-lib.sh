#!/usr/bin/env bash
# Makes a delay-import variant of a mingw import library:
#   make-delay-lib.sh DLL IMPORT_LIBRARY OUTPUT
# The output holds the library's own static members unchanged and, instead of its import stubs,
# stubs that load DLL at the first call of any of its functions (through libdelayimp's helper).
# dlltool puts a delay library's address table in the sections of the ordinary imports, where
# the loader fills it in with zeros; its sections are renamed to .didat so that they stay apart.
set -euo pipefail
dll=$1 lib=$2 out=$3
tool=${MINGW_PREFIX:-i686-w64-mingw32-}
base=$(basename "$lib" .a)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
  echo "LIBRARY $dll"
  echo "EXPORTS"
  "${tool}nm" "$lib" | sed -n 's/^.* I __imp__\(.*\)$/\1/p' | sort -u
} >"$work/exports.def"
"${tool}dlltool" --kill-at --input-def "$work/exports.def" --dllname "$dll" \
  --output-delaylib "$work/delay.a"

mkdir "$work/stubs"
(
  cd "$work/stubs"
  "${tool}ar" x ../delay.a
  renames=()
  for n in 2 4 5 6 7; do
    renames+=(--rename-section ".idata\$$n=.didat\$$n,alloc,load,data,contents")
  done
  for member in *.o; do
    "${tool}objcopy" "${renames[@]}" "$member"
  done
)

cp "$lib" "$work/out.a"
"${tool}ar" t "$lib" | grep -E "^${base}(s[0-9]+|h|t)\.o$" | xargs -r "${tool}ar" d "$work/out.a"
(cd "$work/stubs" && "${tool}ar" t ../delay.a | xargs "${tool}ar" q "$work/out.a")
"${tool}ranlib" "$work/out.a"
mkdir -p "$(dirname "$out")"
mv "$work/out.a" "$out"
