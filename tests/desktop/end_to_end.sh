#!/usr/bin/env bash
# End-to-end test of the Linux program: the real executable in a folder of its own, on a private
# Xvfb display, driven with xdotool like an operator would.
#
#   end_to_end.sh VOSTREL CAPTION_PROBE ASSETS_DIR ARTIFACTS_DIR
#
# 1. First start in an empty folder: the first-run message; tick 语文, type a start time, save;
#    vanto.ini holds the section and keys in GBK bytes; start: the button reads "工作中...";
#    Esc ends the program with exit code 0.
# 2. Again with ALSA routed to a file (an .asoundrc in the test's own HOME) and the clock set by
#    libfaketime to just before a prompt moment: the prompt fires and the PCM in the file matches
#    the voice file decoded by ffmpeg. Esc, exit code 0.
# 3. Once more with no sound device at all: the prompt's player starts, stays silent, and the
#    program goes on and ends with Esc and exit code 0.
# 4. On a desktop at 150% (Xft.dpi 144): the window is 1.5 times the described size.
# 5. A window manager that frames the window late: the window is mapped with no window manager
#    running, openbox starts afterwards, and the window refits to 372 x 384 outer, centred.
# 6. With a sound device that never lets go (ALSA writing into a FIFO nobody reads) and the wall
#    clock running ten times as fast: across two prompt minutes the clock label keeps changing on
#    the screen and the second prompt's player starts; Esc ends the program with exit code 0.
# Screenshots are kept in ARTIFACTS_DIR.
set -euo pipefail

exe=$1 probe=$2 assets=$3 artifacts=$4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$artifacts"
source "$here/x11_session.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/vostrel-e2e.XXXXXX")
program_pid=""
cleanup() {
  end_x11_test "$program_pid"
  rm -rf "$work"
}
trap cleanup EXIT

step() { echo "end_to_end: $*"; }
fail() {
  echo "end_to_end: FAIL: $*" >&2
  if [[ -s ${work:-}/program.log ]]; then sed 's/^/program: /' "$work/program.log" >&2; fi
  if [[ -n ${DISPLAY:-} ]]; then import -window root "$artifacts/failure.png" 2>/dev/null || true; fi
  exit 1
}

# --- A private world: HOME, runtime dir, sound routed to a file, display ---------------------
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
export QT_QPA_PLATFORM=xcb TZ=UTC LANG=C.UTF-8
capture=$work/capture.raw
cat > "$HOME/.asoundrc" <<EOF
# Everything played on the default device lands in one raw PCM file.
pcm.!default {
  type file
  slave.pcm "null"
  file "$capture"
  format "raw"
}
EOF

# A display at 100%: Xvfb says 100 DPI of its own, and with no Xft.dpi set Qt takes the
# screen's DPI for the desktop's scale.
start_x11_display "$work" -dpi 96 || fail "Xvfb did not start"
# A window manager frames the window, so its outer size and the keep-on-top layer are real.
start_window_manager "$work" || fail "openbox did not start"
step "display $DISPLAY with openbox"

# The program in a folder of its own, the voice prompts in "Vostrel" beside it.
program_dir=$work/program
mkdir -p "$program_dir/Vostrel"
cp "$exe" "$program_dir/vostrel"
cp "$assets"/[1-8]speak.mp3 "$program_dir/Vostrel/"
ini=$program_dir/vanto.ini

# --- Helpers on the display --------------------------------------------------------------------
main_title="Vostrel播放器_高中版V1.0"
message_title="Vostrel软件"

program_running() { kill -0 "$program_pid" 2>/dev/null; }
program_gone() {  # ended (a zombie until waited for)
  local state
  state=$(awk '{print $3}' /proc/"$program_pid"/stat 2>/dev/null) || return 0
  [[ -z $state || $state == Z ]]
}

# Window-relative positions of the controls used (the group box lies at 16, 8).
click_at() {  # window x y
  xdotool mousemove --window "$1" "$2" "$3" click 1
  xdotool mousemove 1000 750  # away, so no control is drawn hovered in the screenshots
}
# Gives the window the keyboard focus. --sync waits until the focus is seen, which may be never
# when a window manager that has just started hands the focus elsewhere: bounded, and a window
# manager is asked to activate the window first.
focus() {
  if wm_running; then timeout 5 xdotool windowactivate --sync "$1" 2>/dev/null || true; fi
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || true
}

pixel() {  # x y on the screen -> "r,g,b"
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
    sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
is_white() { [[ $(pixel "$1" "$2") == "255,255,255" ]]; }

window_origin() {  # id -> "x y" of the client area's top-left corner on the screen
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}'
}
client_size() {  # id -> "width height"
  xwininfo -id "$1" | awk '/^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print w, h}'
}
frame_extents() {  # id -> "left right top bottom"
  xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ','
}
# Outer frame "left top width height" on the screen.
outer_geometry() {
  local x y w h l r t b
  read -r x y < <(window_origin "$1")
  read -r w h < <(client_size "$1")
  read -r l r t b < <(frame_extents "$1")
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
net_wm_state() { xprop -id "$1" _NET_WM_STATE; }

# Reads the caption of 按钮2 off the screen: the closest of the run-state captions rendered by
# the backend's own button code.
start_button_caption() {  # window
  local x y best="" best_error="" caption error
  read -r x y < <(window_origin "$1")
  import -window root -crop "152x49+$((x + 16 + 89))+$((y + 8 + 167))" "$work/caption.png"
  for caption in 开始运行 工作中... 已暂停; do
    "$probe" "$work/probe.png" 152 49 20 1 "$caption" 2>/dev/null
    error=$(compare -metric AE -fuzz 15% "$work/caption.png" "$work/probe.png" null: 2>&1 || true)
    error=${error%% *}
    if [[ -z $best_error ]] || ((error < best_error)); then best=$caption best_error=$error; fi
  done
  echo "$best"
}

start_program() {  # extra environment assignments...
  (cd "$program_dir" && exec env "$@" ./vostrel >"$work/program.log" 2>&1) &
  program_pid=$!
}

end_program_with_escape() {  # window
  focus "$1"
  xdotool key Escape
  if ! wait_until 20 program_gone; then
    local window_state="gone"
    if has_window "$main_title"; then window_state="still shown"; fi
    fail "the program did not end within 20 s of Esc: its window is $window_state, the focus is on" \
      "$(xdotool getwindowfocus getwindowname 2>&1)"
  fi
  local code=0
  wait "$program_pid" || code=$?
  program_pid=""
  [[ $code -eq 0 ]] || fail "exit code $code after Esc"
}

tick_and_type() {  # window subject start-time
  local w=$1 x y check_y box_y
  case $2 in
    语文) check_y=32 box_y=33 ;;
    数学) check_y=64 box_y=64 ;;
    *) fail "no position for subject $2" ;;
  esac
  read -r x y < <(window_origin "$w")
  click_at "$w" $((16 + 24 + 8)) $((8 + check_y + 12))  # the subject's check box
  # 时钟1 shows the subject's time box within 200 ms of the tick.
  wait_until 10 is_white $((x + 16 + 118 + 4)) $((y + 8 + box_y + 4)) || fail "the time box did not appear after ticking $2"
  click_at "$w" $((16 + 118 + 37)) $((8 + box_y + 11))  # into the time box
  focus "$w"
  xdotool key ctrl+a
  xdotool type --delay 30 "$3"
}

# --- 1. First start, save, start, Esc -----------------------------------------------------------
step "first start in an empty folder"
start_program
wait_until 30 has_window "$message_title" || fail "no first-run message"
! has_window "$main_title" || fail "the main window appeared before the first-run message was closed"
import -window root "$artifacts/first-run-message.png"
box=$(window_named "$message_title")
focus "$box"
xdotool key Return
wait_until 20 has_window "$main_title" || fail "the main window did not appear"
main=$(window_named "$main_title")

expected_outer="$(((1024 - 372) / 2)) $(((768 - 384) / 2)) 372 384"
outer_is_expected() { [[ $(outer_geometry "$main") == "$expected_outer" ]]; }
# The frame is known only after mapping; the window fits itself to it once.
wait_until 10 outer_is_expected || fail "outer geometry $(outer_geometry "$main"), expected $expected_outer (centred)"
step "main window: outer 372x384 with the frame, centred"
read -r left top _ _ < <(outer_geometry "$main")

# 按钮3 puts the window into the keep-on-top layer and takes it out again, without moving it.
click_at "$main" $((16 + 268 + 30)) $((8 + 151 + 16))
is_above() { net_wm_state "$main" | grep -q _NET_WM_STATE_ABOVE; }
wait_until 10 is_above || fail "窗口前置 did not keep the window on top"
outer_is_expected || fail "keep-on-top moved the window"
click_at "$main" $((16 + 268 + 30)) $((8 + 151 + 16))
is_normal() { ! is_above; }
wait_until 10 is_normal || fail "取消前置 did not return the window to the normal layer"
outer_is_expected || fail "leaving keep-on-top moved the window"
step "keep on top on and off, the window unmoved"

tick_and_type "$main" 语文 "10:00"
click_at "$main" $((16 + 11 + 30)) $((8 + 153 + 16))  # 按钮1: save
wait_until 20 test -s "$ini" || fail "no vanto.ini after saving"
# The file holds the section and the four keys in GBK, the typed value for 语文 and the initial
# texts of the other boxes.
expected_ini=$work/expected.ini
printf '[时间设置]\r\n语文时间=10:00\r\n文数/理数时间=15:00\r\n文综/理综时间=09:00\r\n英语时间=15:00\r\n' |
  iconv -f UTF-8 -t GBK >"$expected_ini"
wait_until 10 cmp -s "$ini" "$expected_ini" ||
  fail "vanto.ini differs: $(od -c "$ini" | head -20)"
step "vanto.ini holds the section and keys in GBK"

before=$(start_button_caption "$main")
[[ $before == 开始运行 ]] || fail "start button reads '$before' before the start"
click_at "$main" $((16 + 89 + 76)) $((8 + 167 + 24))  # 按钮2: start
caption_is_running() { [[ $(start_button_caption "$main") == 工作中... ]]; }
wait_until 10 caption_is_running || fail "the start button does not read 工作中... after the start"
step "the start button reads 工作中..."
import -window root -crop "372x384+$left+$top" "$artifacts/vostrel-running.png"
step "screenshot kept: $artifacts/vostrel-running.png"

end_program_with_escape "$main"
step "Esc ended the program with exit code 0"

# --- 2. A prompt under a moved clock, its PCM captured by ALSA's file plugin --------------------
faketime_lib=$(find /usr/lib -name 'libfaketimeMT.so.1' -print -quit 2>/dev/null || true)
[[ -n $faketime_lib ]] || fail "libfaketime is not installed"
step "second start at 08:34:45 (faketime), 语文 at 09:00: the 08:35 prompt must play"
rm -f "$capture"
start_program LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-08 08:34:45"
wait_until 30 has_window "$main_title" || fail "the main window did not appear on the second start"
! has_window "$message_title" || fail "a first-run message although vanto.ini exists"
main=$(window_named "$main_title")
tick_and_type "$main" 语文 "09:00"
click_at "$main" $((16 + 11 + 30)) $((8 + 153 + 16))  # save: the schedule gets its times
wait_until 20 grep -q "=09:00" "$ini" || fail "the second save did not reach vanto.ini"
click_at "$main" $((16 + 89 + 76)) $((8 + 167 + 24))  # start

expected_pcm=$work/expected.raw
ffmpeg -v error -i "$program_dir/Vostrel/1speak.mp3" -f s16le -acodec pcm_s16le -ac 1 "$expected_pcm"
expected_bytes=$(stat -c %s "$expected_pcm")
captured_enough() { [[ -f $capture ]] && (($(stat -c %s "$capture") >= expected_bytes * 95 / 100)); }
wait_until 90 captured_enough || fail "no prompt PCM captured ($(stat -c %s "$capture" 2>/dev/null || echo 0) bytes)"
# The file plugin writes as the device plays; let the rest of the clip arrive.
last_size=-1
size_settled() {
  local size
  size=$(stat -c %s "$capture")
  [[ $size -eq $last_size ]] && return 0
  last_size=$size
  sleep 0.5
  return 1
}
wait_until 60 size_settled || true
import -window root -crop "372x384+$left+$top" "$artifacts/vostrel-prompt-playing.png"
python3 "$here/compare_pcm.py" "$capture" "$expected_pcm" || fail "captured PCM does not match 1speak.mp3"
step "the 08:35 prompt's PCM matches 1speak.mp3"

end_program_with_escape "$main"
step "Esc ended the program with exit code 0"

# --- 3. No sound device ---------------------------------------------------------------------------
step "third start without a sound device, 08:34:50 (faketime)"
cat > "$HOME/.asoundrc" <<EOF
# The default device is a sound card that does not exist, as on a machine without sound.
pcm.!default { type hw; card 97 }
EOF
start_program LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-08 08:34:50"
wait_until 30 has_window "$main_title" || fail "the main window did not appear on the third start"
main=$(window_named "$main_title")
# Qt's own threads carry names of their own; the program's threads are called like the program.
program_threads() { cat /proc/"$program_pid"/task/*/comm 2>/dev/null | grep -cx vostrel; }
idle_threads=$(program_threads)
tick_and_type "$main" 语文 "09:00"
click_at "$main" $((16 + 11 + 30)) $((8 + 153 + 16))  # save
click_at "$main" $((16 + 89 + 76)) $((8 + 167 + 24))  # start
# At 08:35 the prompt's player starts its threads; the device cannot be opened behind them.
player_started() { (($(program_threads) > idle_threads)); }
wait_until 60 player_started || fail "no player was started at 08:35"
caption_is_running || fail "the run did not go on without a sound device"
end_program_with_escape "$main"
step "silent without a device; Esc ended the program with exit code 0"

# --- 4. A desktop at 150% --------------------------------------------------------------------------
step "fourth start on a desktop at 150% (Xft.dpi 144)"
xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	144"
start_program
wait_until 30 has_window "$main_title" || fail "the main window did not appear at 150%"
main=$(window_named "$main_title")
# The description's 372 x 384 times 1.5. Qt hands the window manager's frame to the program in
# whole logical pixels, so a frame side of 1 device pixel may count as 0 or 2: within 2 pixels.
outer_is_scaled() {
  local w h
  read -r _ _ w h < <(outer_geometry "$main")
  ((w >= 556 && w <= 560 && h >= 574 && h <= 578))
}
wait_until 10 outer_is_scaled || fail "outer geometry $(outer_geometry "$main") at 150%, expected 558 x 576"
sleep 1.2  # the clock's first tick
import -window root "$artifacts/vostrel-scale-150.png" 2>/dev/null || true
read -r _ _ scaled_width scaled_height < <(outer_geometry "$main")
end_program_with_escape "$main"
xprop -root -remove RESOURCE_MANAGER
step "outer ${scaled_width}x$scaled_height at 150% (558x576 described); screenshot kept: $artifacts/vostrel-scale-150.png"

# --- 5. A window manager that frames the window late ----------------------------------------------
step "fifth start with no window manager; openbox starts once the window is mapped"
stop_window_manager
start_program
wait_until 30 has_window "$main_title" || fail "the main window did not appear without a window manager"
main=$(window_named "$main_title")
[[ -z $(frame_extents "$main") ]] || fail "the window was framed with no window manager running"
start_window_manager "$work" || fail "openbox did not start"
wait_until 10 outer_is_expected || fail "framed late: outer geometry $(outer_geometry "$main"), expected $expected_outer"
step "framed late: outer 372x384 with the frame, centred"
end_program_with_escape "$main"

# --- 6. A sound device that never lets go -------------------------------------------------------
# Opening the FIFO blocks inside the first prompt's output thread for good. 语文 at 09:00 and 数学
# at 09:01 have their first prompts at 08:35 and 08:36; the second removes the stuck first one.
# The wall clock runs at 10x while the monotonic clock, and so every Qt timer, keeps real time:
# a minute passes in 6 s, and the program's bounded waits keep their real length.
step "sixth start with ALSA writing into a FIFO nobody reads, 08:32 at 10x (faketime)"
stuck_fifo=$work/stuck.fifo
mkfifo "$stuck_fifo"
cat > "$HOME/.asoundrc" <<EOF
# The default device writes into a FIFO that nobody reads: opening it never returns.
pcm.!default {
  type file
  slave.pcm "null"
  file "$stuck_fifo"
  format "raw"
}
EOF
start_program LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-08 08:32:00 x10" FAKETIME_DONT_FAKE_MONOTONIC=1
wait_until 30 has_window "$main_title" || fail "the main window did not appear on the sixth start"
main=$(window_named "$main_title")
idle_threads=$(program_threads)
tick_and_type "$main" 语文 "09:00"
tick_and_type "$main" 数学 "09:01"
click_at "$main" $((16 + 11 + 30)) $((8 + 153 + 16))  # save
wait_until 20 grep -q "=09:01" "$ini" || fail "the sixth save did not reach vanto.ini"
click_at "$main" $((16 + 89 + 76)) $((8 + 167 + 24))  # start
wait_until 60 player_started || fail "no player was started at 08:35"

clock_label() {  # a checksum of 透明标签2 as drawn on the screen
  local x y
  read -r x y < <(window_origin "$main")
  import -window root -crop "240x48+$((x + 55))+$((y + 240))" rgb:- 2>/dev/null | md5sum
}
# The clock must change between any two looks 2 s apart (时钟2 ticks every second) while the wall
# clock runs from 08:35 past 08:36.
shown=$(clock_label)
one_player=0
for ((sample = 1; sample <= 8; sample++)); do
  sleep 2
  now=$(clock_label)
  [[ $now != "$shown" ]] || fail "the clock label stopped at sample $sample"
  shown=$now
  # Before 08:36 only the first, stuck, prompt has threads of its own.
  if ((sample == 1)); then one_player=$(($(program_threads) - idle_threads)); fi
done
import -window root -crop "372x384+$left+$top" "$artifacts/vostrel-stuck-device.png"
threads=$(program_threads)
((threads >= idle_threads + 2 * one_player)) ||
  fail "the 08:36 prompt did not start: $threads threads, $idle_threads idle, $one_player for one player"
step "the clock label kept changing across 08:35 and 08:36; the 08:36 prompt started beside the stuck one"

focus "$main"
xdotool key Escape
wait_until 20 program_gone || fail "the program did not end within 20 s of Esc with a stuck device"
code=0
wait "$program_pid" || code=$?
program_pid=""
[[ $code -eq 0 ]] || fail "exit code $code after Esc with a stuck device"
step "Esc ended the program with exit code 0 although the device never let go"
step "PASS (screenshots in $artifacts)"
