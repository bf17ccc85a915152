# Sourced by the test, demo and benchmark scripts: installs and builds, then
# starts Xvfb on a free display and makes a fresh private Wine prefix.
# Sets DISPLAY, WINEPREFIX, WINEDEBUG; uninst_stop_env undoes it.

UNINST_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

uninst_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    UNINST_XVFB_PID=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$UNINST_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "no free X display" >&2
  return 1
}

uninst_stop_env() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
  [ -n "${UNINST_XVFB_PID:-}" ] && kill "$UNINST_XVFB_PID" 2>/dev/null || true
}

# A new prefix for every run, so no state leaks between runs.
uninst_make_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all
  rm -rf "$WINEPREFIX"
  # No Mono or Gecko installer prompts: neither is used.
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  # Chinese skin fonts map to the CJK font that the setup installs. `wine reg`
  # reads a non-ASCII name through the Unix locale: it must be a UTF-8 one, or
  # the name is stored garbled.
  local face
  for face in "微软雅黑" "宋体" "SimSun" "Microsoft YaHei"; do
    LC_ALL=C.UTF-8 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
  done
  # A crash ends the program at once instead of waiting in the debugger.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1
  wineserver -w
}

# uninst_prepare_run BUILD PREFIX_NAME [TARGET...]: builds the targets named
# (default: all).
uninst_prepare_run() {
  bash "$UNINST_ROOT/scripts/setup.sh"
  bash "$UNINST_ROOT/scripts/build.sh" "$1" "${@:3}"
  uninst_start_xvfb
  uninst_make_prefix "$1/$2"
}
