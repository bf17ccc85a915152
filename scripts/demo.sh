#!/usr/bin/env bash
# The main job: builds the uninstaller, makes a sample game installation in
# a fresh Wine prefix, runs the uninstaller against a loopback statistics and
# survey server, and leaves screenshots and a report in build/demo.
set -euo pipefail
# shellcheck source=scripts/run-env.sh
. "$(dirname "$0")/run-env.sh"
build=${UNINST_BUILD_DIR:-$UNINST_ROOT/build}
out=$build/demo
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  uninst_stop_env
}
trap cleanup EXIT
# Only what the demo runs: the uninstaller (with the plug-in it embeds), the
# driver and the loopback server; no tests, no benchmarks.
uninst_prepare_run "$build" demo-prefix uninst uninst_demo loopback_server

rm -rf "$out"
mkdir -p "$out"
cat >"$out/survey-reply.json" <<'JSON'
{"active": true, "surveyId": 7, "survey": [
  {"title": "您为什么要卸载游戏？", "options": ["没时间玩", "不好玩", "电脑配置不够", "其他"]},
  {"title": "您还会再来玩吗？", "options": ["会", "不会", "不确定"]}]}
JSON

# The statistics and survey server on a free port; the driver points the
# installed copy's embedded server list at it.
wine "$build/tests/support/loopback_server.exe" --port 0 --port-file "Z:${out//\//\\}\\port.txt" \
  --log "Z:${out//\//\\}\\posted.jsonl" --survey-reply "Z:${out//\//\\}\\survey-reply.json" \
  >"$out/server.out" 2>&1 &
server_pid=$!
for _ in $(seq 300); do
  [ -s "$out/port.txt" ] && break
  sleep 0.1
done
port=$(tr -dc '0-9' <"$out/port.txt")

status=0
wine "$build/tests/e2e/uninst_demo.exe" "Z:${build//\//\\}\\uninstaller\\uninst.exe" \
  "Z:${out//\//\\}" "http://127.0.0.1:$port" || status=$?

for bmp in "$out"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done

# The driver's account of the run, the files and events sorted, then the
# details and the raw log.
{
  echo
  python3 "$UNINST_ROOT/scripts/demo-report.py" "$out/files.tsv" "$out/posted.jsonl" || status=1
  echo
  cat "$out/report-details.md" 2>/dev/null || true
  echo
  echo "## Raw log of the statistics server"
  echo '```'
  cat "$out/posted.jsonl" 2>/dev/null || true
  echo '```'
} >>"$out/report.md"
rm -f "$out/report-details.md"

echo
echo "Report: $out/report.md"
ls "$out"/*.png 2>/dev/null || true
if [ "$status" -ne 0 ]; then
  echo "the demo run reported a failure (see the checks in the report)" >&2
  exit "$status"
fi
