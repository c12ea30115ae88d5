#!/bin/bash
# Start-up benchmark: time from launch to the main window being mapped, and the idle resident
# memory a second later, median of several runs, on a private X server.
# Usage: bench/startup.sh [path to tessivo] [runs]   (needs xvfb, x11-utils)
set -euo pipefail
exe=${1:-build-release/bin/tessivo}
runs=${2:-7}
display=:97
Xvfb $display -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
export DISPLAY=$display QT_XCB_GL_INTEGRATION=none
times=(); rss=()
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  "$exe" >/dev/null 2>&1 &
  pid=$!
  until xwininfo -root -tree 2>/dev/null | grep -q '"Tessivo V'; do sleep 0.002; done
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
  sleep 1
  rss+=($(awk '/VmRSS/ {print $2}' /proc/$pid/status))
  kill $pid; wait $pid 2>/dev/null || true
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "start-up to window shown, ms: ${times[*]}  median $(median "${times[@]}")"
echo "idle resident memory, kB: ${rss[*]}  median $(median "${rss[@]}")"
