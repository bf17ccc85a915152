#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's defaults: a private
# prefix beside the build (unless WINEPREFIX is set) and no debug chatter.
#
# The program's output goes through a file: Wine's server and system
# processes, started by the first program of a prefix, keep that program's
# output open until the prefix stops, and a reader of a pipe (ctest) would
# wait for them instead of for the program.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
wine "$@" >"$out" 2>&1 </dev/null
status=$?
cat "$out"
exit $status
