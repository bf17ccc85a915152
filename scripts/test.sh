#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine on Xvfb.
#   UNINST_BUILD_DIR   build folder (default: build)
#   UNINST_TEST_ARGS   extra ctest arguments (e.g. "-R zip")
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${UNINST_BUILD_DIR:-$root/build}

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build"

# shellcheck source=scripts/xvfb-wine-env.sh
. "$root/scripts/xvfb-wine-env.sh"
trap uninst_stop_env EXIT
uninst_start_xvfb
uninst_make_prefix "$build/wineprefix"

# shellcheck disable=SC2086
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" ${UNINST_TEST_ARGS:-}
