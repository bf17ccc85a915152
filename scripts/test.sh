#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine on Xvfb.
#   UNINST_BUILD_DIR   build folder (default: build)
#   UNINST_TEST_ARGS   extra ctest arguments (e.g. "-R zip")
set -euo pipefail
# shellcheck source=scripts/run-env.sh
. "$(dirname "$0")/run-env.sh"
build=${UNINST_BUILD_DIR:-$UNINST_ROOT/build}
trap uninst_stop_env EXIT
uninst_prepare_run "$build" wineprefix

# shellcheck disable=SC2086
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" ${UNINST_TEST_ARGS:-}
