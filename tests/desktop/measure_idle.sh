#!/usr/bin/env bash
# Prints the Linux program's memory and idle CPU: starts it on a private Xvfb display in a
# folder of its own, closes the first-run message, lets it run idle (clock ticking, polling timer
# of 时钟1 at 200 ms) for SECONDS_IDLE seconds and reads /proc. With "running", it first ticks
# 语文, types a start time 40 minutes from now, saves and presses start, so the subject's poll
# runs too and the status line names the next prompt, as through an exam day between prompts
# (the first prompt sounds 25 minutes before the start, after the measurement).
#
#   tests/desktop/measure_idle.sh build-qt/app/vostrel [SECONDS_IDLE=60] [running]
#
# A step that fails says which, with the program's output and a screenshot (beside SCREENSHOT, or
# in the temporary folder).
set -euo pipefail
exe=$(realpath "$1") idle=${2:-60} mode=${3:-idle}
assets=$(cd "$(dirname "$0")/../../assets" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vostrel-idle.XXXXXX")
test_name=measure_idle artifacts=$(dirname "${SCREENSHOT:-${TMPDIR:-/tmp}/none}")
source "$(dirname "$0")/x11_session.sh"
source "$(dirname "$0")/test_parts.sh"
program_pid=""
cleanup() {
  end_x11_test "$program_pid"
  rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/program/Vostrel" && chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS
cp "$exe" "$work/program/vostrel"
cp "$assets"/[1-8]speak.mp3 "$work/program/Vostrel/"

step "the display at 100%"
start_x11_display "$work" -dpi 96 || fail "Xvfb did not start" # 100%: Qt takes the screen's DPI for the scale

step "the program's first start"
program_log=$work/program.log
(cd "$work/program" && exec ./vostrel >"$program_log" 2>&1) &
program_pid=$!
program_window() { xdotool search --onlyvisible --name '^Vostrel' >/dev/null 2>&1; }
wait_until 30 program_window || fail "no window of the program appeared"
xdotool key Return  # the first-run message
sleep 2             # let start-up settle before measuring
kill -0 "$program_pid" 2>/dev/null || fail "the program ended after its first-run message"

if [[ $mode == running ]]; then
  step "a run with 语文 forty minutes on"
  # Window-relative positions of the controls (the group box lies at 16, 8).
  main=$(xdotool search --onlyvisible --name '^Vostrel' | head -n1)
  click_at() { xdotool mousemove --window "$main" "$1" "$2" click 1; }
  click_at 48 52           # tick 语文
  sleep 1
  click_at 171 53          # into 语文时间
  xdotool key ctrl+a
  start=$(date -d '+40 minutes' +%H:%M)
  xdotool type --delay 30 "$start"
  click_at 57 177          # 保存设置
  sleep 4                  # the save's three-second confirmation
  click_at 181 199         # 开始运行
  sleep 1
fi

# SCREENSHOT=file.png keeps what the screen showed when the measurement began.
if [[ -n ${SCREENSHOT:-} ]]; then
  import -window root "$SCREENSHOT"
  took_screenshot "$SCREENSHOT"
fi

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$program_pid/stat"; }
# Each time a thread is woken it gives up the CPU once: a measure of how often the program stirs,
# finer than the CPU time's 10 ms steps.
switches() { cat /proc/"$program_pid"/task/*/status | awk '/^(non)?voluntary_ctxt_switches/{s += $2} END{print s}'; }
step "$idle s of measuring"
before=$(cpu) switches_before=$(switches)
sleep "$idle"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended while it was measured"
after=$(cpu) switches_after=$(switches)
rss=$(awk '/^VmRSS/{print $2}' "/proc/$program_pid/status")
hwm=$(awk '/^VmHWM/{print $2}' "/proc/$program_pid/status")
threads=$(awk '/^Threads/{print $2}' "/proc/$program_pid/status")
anon=$(awk '/^RssAnon/{print $2}' "/proc/$program_pid/status")
file=$(awk '/^RssFile/{print $2}' "/proc/$program_pid/status")
cpu_ms=$(((after - before) * 1000 / ticks))
echo "vostrel $mode for ${idle} s: CPU ${cpu_ms} ms ($(awk -v c="$cpu_ms" -v s="$idle" 'BEGIN{printf "%.2f", c / (s * 10)}') %)," \
     "$(awk -v n=$((switches_after - switches_before)) -v s="$idle" 'BEGIN{printf "%.1f", n / s}') wake-ups/s," \
     "RSS ${rss} kB (peak ${hwm} kB; ${anon} kB private, ${file} kB mapped files), ${threads} threads"
