#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's defaults: a private
# prefix beside the build (unless WINEPREFIX is set) and no debug chatter.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
