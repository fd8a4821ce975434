#!/usr/bin/env bash
# End-to-end test of the Linux program: the real executable in a folder of its own, on a private
# Xvfb display, driven with xdotool like an operator would.
#
#   end_to_end.sh VOSTREL CAPTION_PROBE ASSETS_DIR ARTIFACTS_DIR
#
# 1. First start in an empty folder: the first-run message; the window is 372 x 426 outer,
#    centred; keep-on-top on and off; tick 语文 and type a start time; row 2's list gets 物理 and
#    row 3's "自定义…" a subject of the school's own through its form, both picked with the mouse;
#    save: vanto.ini holds the times and both rows' subjects in GBK bytes; start: the button reads
#    "工作中..."; Esc asks, Esc on the question keeps it running; paused, Esc ends at once.
# 2. Again with ALSA routed to a file (an .asoundrc in the test's own HOME) and the clock set by
#    libfaketime to before a prompt moment: the lists and 语文's time are back; Esc asks, 否 keeps
#    the run going; the prompt fires and the PCM in the file matches the voice file decoded by
#    ffmpeg; the record has its begin and end lines and the status line shows it; 提示安排 writes
#    the plan page and hands its file:// address to xdg-open (a stand-in first in PATH); Esc, 是,
#    exit code 0.
# 3. Once more with no sound device at all: the prompt's player starts, stays silent, its record
#    line says the device could not be opened, and the program goes on; Esc, 是, exit code 0.
# 4. With a sound device whose writes fail (ALSA's file plugin writing into /dev/full): the
#    prompt's record line says the device failed and gives ALSA's reason, the status line shows
#    the failure, and the run goes on; Esc, 是, exit code 0.
# 5. On a desktop at 150% (Xft.dpi 144): the window is 1.5 times the described size; with every
#    row ticked a prompt plays; the screenshot shows the rows and both status lines.
# 6. A window manager that frames the window late: the window is mapped with no window manager
#    running, openbox starts afterwards, and the window refits to 372 x 426 outer, centred.
# 7. With a sound device that never lets go (ALSA writing into a FIFO nobody reads) and the wall
#    clock running ten times as fast: across two prompt minutes the clock label keeps changing on
#    the screen and the second prompt's player starts; Esc, 是, exit code 0.
# 8. A second copy in the same session: it shows the already-running message and ends with exit
#    code 0 after OK, and the first copy's window, minimised before, is the active window.
# 9. The clock steps forward across a prompt minute (libfaketime reading its offset from a file
#    the test rewrites): the passed prompt still plays, its record line says how late, and the
#    step is recorded and shown.
# Every program start has a runtime folder of its own (the one-copy lock lives there) but the
# second copy's. Screenshots are kept in ARTIFACTS_DIR. The test runs in parts, each on its own: 1
# and 2 together (the second start finds the first one's choices), then one part for each of 3 to
# 9, which start from the settings file 1 saves (written by the part when 1 did not get that far).
# A failure ends its part; the others still run:
#
#   end_to_end.sh VOSTREL CAPTION_PROBE ASSETS_DIR ARTIFACTS_DIR [PART…]      (no part: all)
set -euo pipefail

exe=$1 probe=$2 assets=$3 artifacts=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$artifacts"
rm -f "$artifacts"/failure*.png # of an earlier run
test_name=end_to_end
source "$here/x11_session.sh"
source "$here/test_parts.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/vostrel-e2e.XXXXXX")
program_pid="" second_pid=""
cleanup() {
  if [[ -n $second_pid ]]; then kill "$second_pid" 2>/dev/null || true; fi
  end_x11_test "$program_pid"
  # The day's record of every start, for whoever reads the screenshots.
  if [[ -f ${record:-} ]]; then cp "$record" "$artifacts/播放记录.txt"; fi
  rm -rf "$work"
}
trap cleanup EXIT
# A part that fails may leave the program running, the desktop at another scale or no window
# manager: the next part finds the session as the test began it.
end_part() {
  if [[ -n $second_pid ]]; then kill "$second_pid" 2>/dev/null || true; fi
  if [[ -n $program_pid ]]; then
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
  fi
  if (($1 != 0)); then
    xprop -root -remove RESOURCE_MANAGER 2>/dev/null || true
    wm_running || start_window_manager "$work" || true
  fi
}

# --- A private world: HOME, sound routed to a file, the desktop's opener, display ---------------
export HOME=$work/home
mkdir -p "$HOME"
# No session bus and no sandbox: Qt then opens local files with the first xdg-open in PATH
# rather than through a desktop portal.
unset DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER SNAP
export QT_QPA_PLATFORM=xcb TZ=UTC LANG=C.UTF-8
capture=$work/capture.raw
route_sound_to_file() {
  cat > "$HOME/.asoundrc" <<EOF
# Everything played on the default device lands in one raw PCM file.
pcm.!default {
  type file
  slave.pcm "null"
  file "$capture"
  format "raw"
}
EOF
  rm -f "$capture"
}
route_sound_to_file
opened=$work/opened.txt
mkdir -p "$work/bin"
cat > "$work/bin/xdg-open" <<EOF
#!/bin/sh
# Stands in for the desktop's opener: notes what the program asked it to open.
printf '%s\n' "\$*" >>"$opened"
EOF
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH

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
record=$program_dir/播放记录.txt
plan_page=$program_dir/考务提示安排.html

faketime_lib=$(find /usr/lib -name 'libfaketimeMT.so.1' -print -quit 2>/dev/null || true)
[[ -n $faketime_lib ]] || fail "libfaketime is not installed"

# --- Helpers on the display --------------------------------------------------------------------
main_title="Vostrel播放器_高中版V1.0"
message_title="Vostrel软件"
form_title="自定义科目"

program_running() { kill -0 "$program_pid" 2>/dev/null; }
program_gone() {  # ended (a zombie until waited for)
  local state
  state=$(awk '{print $3}' /proc/"$program_pid"/stat 2>/dev/null) || return 0
  [[ -z $state || $state == Z ]]
}

# The program's own windows by title; its forms' titles need not start with "Vostrel".
program_window_named() { window_named "$1" vostrel; }
has_program_window() { has_window "$1" vostrel; }
no_program_window() { ! has_program_window "$1"; }

# The display's scale in percent; positions below are described at 100%.
scale=100
at() { echo $((($1 * scale + 50) / 100)); }

# Window-relative positions of the controls used (the group box lies at 16, 8).
row_top=(32 64 96 128) # each row's check box and list, in the group box
# Each row's time box, in the window.
time_box_left=(134 134 134 133) time_box_top=(41 72 104 134) time_box_height=(25 22 22 22)
save_button=(57 177) start_button=(181 199) keep_on_top_button=(314 175) plan_button=(327 266)

click_at() {  # window x y (described)
  xdotool mousemove --window "$1" "$(at "$2")" "$(at "$3")" click 1
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
screenshot_of_window() {  # window file: the window with its frame
  local left top width height
  read -r left top width height < <(outer_geometry "$1")
  import -window root -crop "${width}x$height+$left+$top" +repage "$2"
  took_screenshot "$2"
}

# Reads a control's text off the screen at 100%: the closest of the candidates as the backend's
# own widget code draws them (caption_probe).
read_text() {  # window kind left top width height font-px bold candidate...
  local w=$1 kind=$2 left=$3 top=$4 width=$5 height=$6 font=$7 bold=$8
  shift 8
  local x y best="" best_error="" candidate rendering error
  read -r x y < <(window_origin "$w")
  import -window root -crop "${width}x$height+$((x + left))+$((y + top))" +repage "$work/seen.png"
  for candidate; do
    rendering=$work/probe-$kind-${width}x$height-$font-$bold-$(printf '%s' "$candidate" | md5sum | cut -c1-8).png
    [[ -f $rendering ]] || "$probe" "$rendering" "$width" "$height" "$font" "$bold" "$candidate" "$kind" 2>/dev/null
    error=$(compare -metric AE -fuzz 15% "$work/seen.png" "$rendering" null: 2>&1 || true)
    error=${error%% *}
    if [[ -z $best_error ]] || ((error < best_error)); then best=$candidate best_error=$error; fi
  done
  echo "$best"
}
start_button_caption() {  # window
  read_text "$1" button $((16 + 89)) $((8 + 167)) 152 49 20 1 开始运行 工作中... 已暂停
}
caption_is() { [[ $(start_button_caption "$main") == "$1" ]]; }
caption_is_running() { caption_is 工作中...; }
# What a row's list shows, among the subjects this test gives the rows.
row_subjects=(语文 文数/理数 文综/理综 英语 物理 美术 自定义…)
list_text() {  # window row
  read_text "$1" list $((16 + 38)) $((8 + ${row_top[$2]})) 78 24 0 0 "${row_subjects[@]}"
}
time_box_text() {  # window row candidate...
  local w=$1 row=$2
  shift 2
  read_text "$w" edit "${time_box_left[$row]}" "${time_box_top[$row]}" 74 "${time_box_height[$row]}" 21 0 "$@"
}

start_program() {  # extra environment assignments...: a runtime folder of its own (in $runtime)
  runtime=$(mktemp -d "$work/run.XXXXXX")
  program_log=$work/program.log
  start_program_in "$runtime" "$@"
}
start_program_in() {  # runtime folder, extra environment assignments...
  local folder=$1
  shift
  (cd "$program_dir" && exec env XDG_RUNTIME_DIR="$folder" "$@" ./vostrel >"$work/${log_name:-program.log}" 2>&1) &
  program_pid=$!
  started_at=$SECONDS
}
main_window_shown() {  # after the start: the main window, without the first-run message
  wait_until 30 has_window "$main_title" || fail "the main window did not appear ($1)"
  ! has_window "$message_title" || fail "a first-run message although vanto.ini exists ($1)"
  main=$(window_named "$main_title")
}

wait_for_exit() {  # how it was asked to end
  if ! wait_until 20 program_gone; then
    local window_state="gone"
    if has_window "$main_title"; then window_state="still shown"; fi
    fail "the program did not end within 20 s of $1: its window is $window_state, the focus is on" \
      "$(xdotool getwindowfocus getwindowname 2>&1)"
  fi
  local code=0
  wait "$program_pid" || code=$?
  program_pid=""
  [[ $code -eq 0 ]] || fail "exit code $code after $1"
}
end_program_with_escape() {  # window: not running, so Esc ends it at once
  focus "$1"
  xdotool key Escape
  wait_for_exit Esc
}
# Esc while the run announces prompts asks first; the question's window goes into $question.
escape_asks() {  # window
  focus "$1"
  xdotool key Escape
  wait_until 10 has_program_window "$message_title" || fail "Esc while running did not ask"
  question=$(program_window_named "$message_title")
}
# 是 is the button that is not the default (否 has the focus): the other one of the two.
answer_yes() {
  focus "$question"
  xdotool key Tab space
  wait_for_exit "Esc and 是"
}
# After 否: the program, its window and its run go on.
run_goes_on() {
  if ! program_running || ! has_window "$main_title"; then fail "the program ended although the question was answered 否"; fi
  caption_is_running || fail "the run stopped although the question was answered 否"
}
end_running_program() {  # window
  escape_asks "$1"
  answer_yes
}

tick_row() {  # window row
  local w=$1 row=$2 x y
  read -r x y < <(window_origin "$w")
  click_at "$w" $((16 + 24 + 8)) $((8 + ${row_top[$row]} + 12))  # the row's check box
  # 时钟1 shows the row's time box within 200 ms of the tick.
  wait_until 10 is_white $((x + $(at $((${time_box_left[$row]} + 4))))) $((y + $(at $((${time_box_top[$row]} + 4))))) ||
    fail "the time box of row $((row + 1)) did not appear after ticking it"
}
type_time() {  # window row start-time
  click_at "$1" $((${time_box_left[$2]} + 37)) $((${time_box_top[$2]} + ${time_box_height[$2]} / 2))
  focus "$1"
  xdotool key ctrl+a
  xdotool type --delay 30 "$3"
}
tick_and_type() {  # window row start-time
  tick_row "$1" "$2"
  type_time "$1" "$2" "$3"
}
save() {  # window: 按钮1, then wait until vanto.ini holds the text given
  click_at "$1" "${save_button[@]}"
  wait_until 20 grep -q "$2" "$ini" || fail "the save did not reach vanto.ini"
}
start_run() {  # window: 按钮2
  click_at "$1" "${start_button[@]}"
  wait_until 10 caption_is_running || fail "the start button does not read 工作中... after the start"
}

# Picks an item of a row's list with the mouse: opens the list, clicks the item in the list that
# drops down. Qt lays the items out evenly inside a one-pixel frame.
# The form that "自定义…" opens: name, Tab, length, Enter. A first key can get lost while the form
# takes the focus, so a throwaway key goes first and the name is typed over the whole box.
fill_custom_form() {  # name minutes
  wait_until 10 has_program_window "$form_title" || fail "picking 自定义… opened no form titled $form_title"
  local form
  form=$(program_window_named "$form_title")
  import -window root "$artifacts/custom-subject-form.png"
  focus "$form"
  xdotool key x ctrl+a
  xdotool type --delay 50 "$1"
  xdotool key Tab
  xdotool type --delay 30 "$2"  # the length box's text is selected as the focus enters it
  xdotool key Return
  wait_until 10 no_program_window "$form_title" || fail "the form did not close on Enter"
}
pick_from_list() {  # window row item-index item-count
  local w=$1 row=$2 before popup="" x y width height item attempt
  before=$(xdotool search --onlyvisible --class '^vostrel$' | sort)
  click_at "$w" $((16 + 38 + 39)) $((8 + ${row_top[$row]} + 12))
  popup_shown() {
    popup=$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --class '^vostrel$' | sort) | head -n1)
    [[ -n $popup ]]
  }
  wait_until 10 popup_shown || fail "the list of row $((row + 1)) did not drop down"
  popup_gone() { ! xwininfo -id "$popup" 2>/dev/null | grep -q IsViewable; }
  read -r x y < <(window_origin "$popup")
  read -r width height < <(client_size "$popup")
  item=$(((height - 2) / $4))
  # A click that comes before the list takes the mouse leaves it open: click again, until it closes.
  for ((attempt = 1; attempt <= 3; attempt++)); do
    xdotool mousemove $((x + width / 2)) $((y + 1 + item * $3 + item / 2)) click 1
    if wait_until 2 popup_gone; then break; fi
  done
  xdotool mousemove 1000 750
  popup_gone || fail "the list of row $((row + 1)) did not close on a click at item $3"
}

# The window's outer frame where the window manager centres it at 100%.
expected_outer="$(((1024 - 372) / 2)) $(((768 - 426) / 2)) 372 426"
outer_is_expected() { [[ $(outer_geometry "$main") == "$expected_outer" ]]; }
# Qt's own threads carry names of their own; the program's threads are called like the program.
program_threads() { cat /proc/"$program_pid"/task/*/comm 2>/dev/null | grep -cx vostrel; }
# A prompt's player starts threads of its own, beyond the $idle_threads counted before.
player_started() { (($(program_threads) > idle_threads)); }

# What the first start saves: the section, the four times (the typed one for 语文, the initial
# texts of the others) and the subjects of the rows that hold another than their own, in GBK.
expected_ini=$work/expected.ini
printf '[时间设置]\r\n语文时间=10:00\r\n文数/理数时间=15:00\r\n文综/理综时间=09:00\r\n英语时间=15:00\r\n第2行科目=物理\r\n第2行时长=75\r\n第3行科目=美术\r\n第3行时长=100\r\n' |
  iconv -f UTF-8 -t GBK >"$expected_ini"
# Parts 3 to 9 start as after the first start's save, even when part 1 did not get that far.
settings_saved_before() {
  if [[ ! -f $ini ]]; then cp "$expected_ini" "$ini"; fi
}

# Whether a line of the record matches the pattern (grep's basic expressions; fields are
# separated by " | ").
record_has() { [[ -f $record ]] && grep -q -- "$1" "$record"; }
captured_enough() {  # the voice file's PCM, nearly all of it
  [[ -f $capture ]] && (($(stat -c %s "$capture") >= expected_bytes * 95 / 100))
}
expected_pcm=$work/expected.raw
ffmpeg -v error -i "$program_dir/Vostrel/1speak.mp3" -f s16le -acodec pcm_s16le -ac 1 "$expected_pcm"
expected_bytes=$(stat -c %s "$expected_pcm")
# The file plugin writes as the device plays; waits until the clip has arrived and compares it.
prompt_heard() {  # what is compared
  wait_until 90 captured_enough || fail "no prompt PCM captured for $1 ($(stat -c %s "$capture" 2>/dev/null || echo 0) bytes)"
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
  python3 "$here/compare_pcm.py" "$capture" "$expected_pcm" || fail "captured PCM does not match 1speak.mp3 ($1)"
}
# The status lines are redrawn on the clock's next tick.
let_the_clock_tick() { sleep 1.2; }

# --- 1. First start, choosing subjects, save, start, Esc ---------------------------------------
part_first-and-second-start() {
  route_sound_to_file
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

  # The frame is known only after mapping; the window fits itself to it once.
  wait_until 10 outer_is_expected || fail "outer geometry $(outer_geometry "$main"), expected $expected_outer (centred)"
  step "main window: outer 372x426 with the frame, centred"

  # 按钮3 puts the window into the keep-on-top layer and takes it out again, without moving it.
  click_at "$main" "${keep_on_top_button[@]}"
  is_above() { net_wm_state "$main" | grep -q _NET_WM_STATE_ABOVE; }
  wait_until 10 is_above || fail "窗口前置 did not keep the window on top"
  outer_is_expected || fail "keep-on-top moved the window"
  click_at "$main" "${keep_on_top_button[@]}"
  is_normal() { ! is_above; }
  wait_until 10 is_normal || fail "取消前置 did not return the window to the normal layer"
  outer_is_expected || fail "leaving keep-on-top moved the window"
  step "keep on top on and off, the window unmoved"

  tick_and_type "$main" 0 "10:00"
  # Row 2 takes 物理, the fifth of the twelve subjects and "自定义…".
  pick_from_list "$main" 1 4 13
  [[ $(list_text "$main" 1) == 物理 ]] || fail "row 2's list reads '$(list_text "$main" 1)' after picking 物理"
  # Row 3 takes a subject of the school's own: "自定义…", the last item, asks for it in a form.
  # xdotool's keys can get lost as the form takes the focus (a name of "术"): then the list holds
  # what arrived as an item of its own before "自定义…", and the form is filled once more.
  local items=13 attempt
  for ((attempt = 1; attempt <= 3; attempt++)); do
    pick_from_list "$main" 2 $((items - 1)) $items
    fill_custom_form 美术 100
    [[ $(list_text "$main" 2) == 美术 ]] && break
    import -window root "$artifacts/custom-form-retry-$attempt.png"
    echo "end_to_end: row 3's list reads '$(list_text "$main" 2)' after the form (custom-form-retry-$attempt.png); once more" >&2
    items=14
  done
  [[ $(list_text "$main" 2) == 美术 ]] || fail "row 3's list reads '$(list_text "$main" 2)' after the form"
  step "rows 2 and 3 hold 物理 and 美术 (100 minutes), picked with the mouse"

  save "$main" "=10:00"
  wait_until 10 cmp -s "$ini" "$expected_ini" ||
    fail "vanto.ini differs: $(iconv -f GBK -t UTF-8 "$ini" | od -c | head -20)"
  step "vanto.ini holds the times and the rows' subjects in GBK"
  let_the_clock_tick
  screenshot_of_window "$main" "$artifacts/vostrel-rows-chosen.png"

  before=$(start_button_caption "$main")
  [[ $before == 开始运行 ]] || fail "start button reads '$before' before the start"
  start_run "$main"
  step "the start button reads 工作中..."
  import -window root -crop "372x426+$(((1024 - 372) / 2))+$(((768 - 426) / 2))" +repage "$artifacts/vostrel-running.png"

  escape_asks "$main"
  import -window root "$artifacts/quit-question.png"
  focus "$question"
  xdotool key Escape  # Esc on the question is 否
  wait_until 10 no_program_window "$message_title" || fail "Esc did not close the question"
  run_goes_on
  step "Esc while running asks; Esc on the question keeps the run going"
  click_at "$main" "${start_button[@]}"  # pause
  wait_until 10 caption_is 已暂停 || fail "the start button does not read 已暂停 after pausing"
  end_program_with_escape "$main"
  step "paused, Esc ended the program at once with exit code 0"

  # --- 2. Back after a restart; a prompt under a moved clock, heard, recorded, shown --------------
  step "second start at 08:34:30 (faketime), 语文 at 09:00: the choices are back, the 08:35 prompt must play"
  start_program LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-08 08:34:30"
  main_window_shown "second start"
  for row in 0 1 2 3; do
    expected_subject=(语文 物理 美术 英语)
    shown=$(list_text "$main" "$row")
    [[ $shown == "${expected_subject[$row]}" ]] || fail "row $((row + 1))'s list reads '$shown' after the restart"
  done
  tick_row "$main" 0
  shown=$(time_box_text "$main" 0 10:00 09:00)
  [[ $shown == 10:00 ]] || fail "语文's time box reads '$shown' after the restart"
  step "after the restart the rows hold 语文 物理 美术 英语 and 语文's time box 10:00"
  type_time "$main" 0 "09:00"
  save "$main" "=09:00"
  start_run "$main"

  escape_asks "$main"
  focus "$question"
  xdotool key Return  # 否 is the default button
  wait_until 10 no_program_window "$message_title" || fail "Enter did not close the question"
  run_goes_on
  ! record_has "| 开始播放 |" || fail "the prompt began before the question was answered: the start took too long"
  step "Esc while running asks; 否 keeps the run going (answered $((SECONDS - started_at)) s after the start, 08:34:30)"

  prompt_heard "the 08:35 prompt"
  step "the 08:35 prompt's PCM matches 1speak.mp3"
  begun="2026-12-08 08:35:0[0-9] | 开始播放 | 语文 | 2026-12-08 09:00开考 | 第1条 开考前25分钟 | 计划 08:35 | 第1行 | Vostrel/1speak.mp3"
  record_has "$begun" || fail "no begin line in the record: $(cat "$record")"
  ended="| 播放结束 | 语文 | 2026-12-08 09:00开考 | 第1条 开考前25分钟 | 计划 08:35 | 第1行 | Vostrel/1speak.mp3 | 开始 08:35:0[0-9] | 已播放"
  wait_until 30 record_has "$ended" || fail "no end line saying 已播放 in the record: $(cat "$record")"
  let_the_clock_tick
  screenshot_of_window "$main" "$artifacts/vostrel-prompt-played-100.png"
  step "the record has the prompt's 开始播放 and 播放结束 … 已播放 lines; screenshot kept"

  # 按钮7 writes the plan page beside the program and hands its address to the desktop's opener.
  click_at "$main" "${plan_button[@]}"
  wait_until 10 test -s "$opened" || fail "提示安排 started no xdg-open"
  address=$(head -n1 "$opened")
  opened_path=$(python3 -c 'import sys, urllib.parse as u; a = sys.argv[1]; print(u.unquote(a[len("file://"):]) if a.startswith("file://") else "")' "$address")
  [[ $opened_path == "$plan_page" ]] || fail "xdg-open was given '$address', not the plan page beside the program"
  prompt_rows=$(grep -c '^<tr><td class="time">' "$plan_page" || true)
  ((prompt_rows == 8)) || fail "the plan page lists $prompt_rows prompts, not 语文's eight"
  grep -q '2026年12月8日' "$plan_page" || fail "the plan page does not name the day"
  grep -q '<td class="time">08:35</td><td class="subject">语文</td><td class="prompt">第1条 开考前25分钟</td>' "$plan_page" ||
    fail "the plan page lacks the 08:35 prompt"
  step "提示安排 opened $address, the page lists the day's eight prompts"

  end_running_program "$main"
  record_has "| 程序退出" || fail "the record has no 程序退出 line"
  step "Esc and 是 ended the program with exit code 0"
}

# --- 3. No sound device ---------------------------------------------------------------------------
part_no-device() {
  settings_saved_before
  step "third start without a sound device, 08:34:50 (faketime)"
  cat > "$HOME/.asoundrc" <<EOF
# The default device is a sound card that does not exist, as on a machine without sound.
pcm.!default { type hw; card 97 }
EOF
  start_program LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-09 08:34:50"
  main_window_shown "third start"
  idle_threads=$(program_threads)
  tick_and_type "$main" 0 "09:00"
  save "$main" "=09:00"
  start_run "$main"
  # At 08:35 the prompt's player starts its threads; the device cannot be opened behind them.
  wait_until 60 player_started || fail "no player was started at 08:35"
  wait_until 20 record_has "| 播放结束 | 语文 | 2026-12-09 09:00开考 | 第1条 .* | 无法打开声音设备" ||
    fail "the record does not say the device could not be opened: $(cat "$record")"
  caption_is_running || fail "the run did not go on without a sound device"
  let_the_clock_tick
  screenshot_of_window "$main" "$artifacts/vostrel-no-device.png"
  end_running_program "$main"
  step "silent without a device, recorded as such; Esc and 是 ended the program with exit code 0"
}

# --- 4. A sound device that fails while playing ----------------------------------------------------
# Every write to /dev/full fails: ALSA's file plugin cannot pass the PCM on, and ALSA's write
# fails with no recovery, as with a sound card unplugged while playing.
part_failing-device() {
  settings_saved_before
  step "fourth start with a sound device whose writes fail, 08:34:50 (faketime)"
  cat > "$HOME/.asoundrc" <<EOF
# The default device writes into /dev/full.
pcm.!default {
  type file
  slave.pcm "null"
  file "/dev/full"
  format "raw"
}
EOF
  start_program LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-13 08:34:50"
  main_window_shown "fourth start"
  tick_and_type "$main" 0 "09:00"
  save "$main" "=09:00"
  start_run "$main"
  wait_until 60 record_has "| 播放结束 | 语文 | 2026-12-13 09:00开考 | 第1条 .* | 声音设备出错 | 原因：." ||
    fail "the record does not say why the device failed: $(cat "$record")"
  caption_is_running || fail "the run did not go on after the device failed"
  let_the_clock_tick
  screenshot_of_window "$main" "$artifacts/vostrel-device-failed.png"
  end_running_program "$main"
  step "the device's failure and its reason are in the record ($(grep -o '声音设备出错 | 原因：[^|]*' "$record" | tr -d '\r'));" \
    "Esc and 是 ended the program with exit code 0"
}

# --- 5. A desktop at 150% --------------------------------------------------------------------------
part_scale-150() {
  settings_saved_before
  step "fifth start on a desktop at 150% (Xft.dpi 144), every row ticked, 08:34:45 (faketime)"
  route_sound_to_file
  xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	144"
  scale=150
  start_program LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-10 08:34:45"
  main_window_shown "at 150%"
  # The description's 372 x 426 times 1.5. Qt hands the window manager's frame to the program in
  # whole logical pixels, so a frame side of 1 device pixel may count as 0 or 2: within 2 pixels.
  outer_is_scaled() {
    local w h
    read -r _ _ w h < <(outer_geometry "$main")
    ((w >= 556 && w <= 560 && h >= 637 && h <= 641))
  }
  wait_until 10 outer_is_scaled || fail "outer geometry $(outer_geometry "$main") at 150%, expected 558 x 639"
  read -r _ _ scaled_width scaled_height < <(outer_geometry "$main")
  step "outer ${scaled_width}x$scaled_height at 150% (558x639 described)"
  # 语文 at 09:00 sounds at 08:35; 美术 moves to 10:00 so that only one prompt is due then.
  tick_and_type "$main" 0 "09:00"
  tick_row "$main" 1
  tick_and_type "$main" 2 "10:00"
  tick_row "$main" 3
  save "$main" "=10:00"
  click_at "$main" "${start_button[@]}"
  prompt_heard "the 08:35 prompt at 150%"
  wait_until 30 record_has "| 播放结束 | 语文 | 2026-12-10 09:00开考 | .* | 已播放" ||
    fail "no end line saying 已播放 at 150%: $(cat "$record")"
  let_the_clock_tick
  screenshot_of_window "$main" "$artifacts/vostrel-scale-150.png"
  end_running_program "$main"
  xprop -root -remove RESOURCE_MANAGER
  scale=100
  step "the prompt played at 150%; screenshot kept: $artifacts/vostrel-scale-150.png"
}

# --- 6. A window manager that frames the window late ----------------------------------------------
part_late-frame() {
  settings_saved_before
  step "sixth start with no window manager; openbox starts once the window is mapped"
  stop_window_manager
  start_program
  main_window_shown "without a window manager"
  [[ -z $(frame_extents "$main") ]] || fail "the window was framed with no window manager running"
  start_window_manager "$work" || fail "openbox did not start"
  wait_until 10 outer_is_expected || fail "framed late: outer geometry $(outer_geometry "$main"), expected $expected_outer"
  step "framed late: outer 372x426 with the frame, centred"
  end_program_with_escape "$main"
}

# --- 7. A sound device that never lets go -------------------------------------------------------
# Opening the FIFO blocks inside the first prompt's output thread for good. 语文 at 09:00 and row
# 2 at 09:01 have their first prompts at 08:35 and 08:36; the second removes the stuck first one.
# The wall clock runs at 10x while the monotonic clock, and so every Qt timer, keeps real time:
# a minute passes in 6 s, and the program's bounded waits keep their real length.
part_stuck-device() {
  settings_saved_before
  step "seventh start with ALSA writing into a FIFO nobody reads, 08:32 at 10x (faketime)"
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
  start_program LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-11 08:32:00 x10" FAKETIME_DONT_FAKE_MONOTONIC=1
  main_window_shown "seventh start"
  idle_threads=$(program_threads)
  tick_and_type "$main" 0 "09:00"
  tick_and_type "$main" 1 "09:01"
  save "$main" "=09:01"
  click_at "$main" "${start_button[@]}"
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
  screenshot_of_window "$main" "$artifacts/vostrel-stuck-device.png"
  threads=$(program_threads)
  ((threads >= idle_threads + 2 * one_player)) ||
    fail "the 08:36 prompt did not start: $threads threads, $idle_threads idle, $one_player for one player"
  step "the clock label kept changing across 08:35 and 08:36; the 08:36 prompt started beside the stuck one"
  end_running_program "$main"
  step "Esc and 是 ended the program with exit code 0 although the device never let go"
}

# --- 8. A second copy in the same session --------------------------------------------------------
part_second-copy() {
  settings_saved_before
  step "eighth start, then a second copy in the same session"
  route_sound_to_file
  start_program
  main_window_shown "first copy"
  first_runtime=$runtime
  first_pid=$program_pid
  xdotool windowminimize --sync "$main"
  is_active() { [[ $(xdotool getactivewindow 2>/dev/null) == "$main" ]]; }
  ! is_active || fail "the minimised window is still the active window"
  log_name=second-copy.log start_program_in "$first_runtime"
  second_pid=$program_pid program_pid=$first_pid
  wait_until 30 has_program_window "$message_title" || fail "the second copy showed no message"
  import -window root "$artifacts/already-running.png"
  focus "$(program_window_named "$message_title")"
  xdotool key Return
  second_gone() { [[ $(awk '{print $3}' /proc/"$second_pid"/stat 2>/dev/null || echo Z) == Z ]]; }
  wait_until 20 second_gone || fail "the second copy did not end after OK"
  code=0
  wait "$second_pid" || code=$?
  second_pid=""
  [[ $code -eq 0 ]] || fail "the second copy ended with exit code $code"
  wait_until 10 is_active || fail "the first copy's window is not the active window: $(xdotool getactivewindow getwindowname 2>&1)"
  [[ $(window_named "$main_title") == "$main" ]] || fail "the second copy left a main window"
  step "the second copy showed its message and ended with exit code 0; the first copy's window is active"
  end_program_with_escape "$main"
}

# --- 9. The clock steps forward across a prompt minute --------------------------------------------
# libfaketime reads the clock's offset from a file on every call; rewriting it steps the wall
# clock while the monotonic clock goes on, as a time server's correction does. An offset, not a
# "start at" time: libfaketime counts a rewritten start-at time from its reading, so the step
# would not be the one written.
part_clock-step() {
  settings_saved_before
  route_sound_to_file
  step "ninth start at 08:34:35 (faketime offset in a file), stepped 90 s forward across 08:35"
  offset_file=$work/faketime.rc
  offset=$(($(date -d '2026-12-12 08:34:35' +%s) - $(date +%s)))
  printf '%+d\n' "$offset" >"$offset_file"
  rm -f "$capture"
  start_program LD_PRELOAD="$faketime_lib" FAKETIME_TIMESTAMP_FILE="$offset_file" FAKETIME_NO_CACHE=1 \
    FAKETIME_DONT_FAKE_MONOTONIC=1
  main_window_shown "ninth start"
  tick_and_type "$main" 0 "09:00"
  save "$main" "=09:00"
  start_run "$main"
  fake_now() { echo $(($(date +%s) + offset)); }
  prompt_moment=$(date -d '2026-12-12 08:35:00' +%s)
  before_the_prompt() { (($(fake_now) >= prompt_moment - 10)); }
  wait_until 30 before_the_prompt || true
  (($(fake_now) < prompt_moment - 2)) || fail "the start took too long: the clock is past 08:34:58 before the step"
  stepped_at=$(date -d "@$(fake_now)" +%T)
  offset=$((offset + 90))
  printf '%+d\n' "$offset" >"$offset_file.new"
  mv "$offset_file.new" "$offset_file"
  step "the clock stepped from $stepped_at to $(date -d "@$(fake_now)" +%T)"
  prompt_heard "the 08:35 prompt after the step"
  late_begun="| 开始播放 | 语文 | 2026-12-12 09:00开考 | 第1条 开考前25分钟 | 计划 08:35 | 第1行 | Vostrel/1speak.mp3 | 晚了1分[0-9]*秒"
  record_has "$late_begun" || fail "no begin line saying how late: $(cat "$record")"
  # The step is measured between two looks at the clocks; the milliseconds between them may take
  # a second off.
  record_has "| 电脑时间跳变 | 向前 1分\(29\|30\)秒" || fail "the step is not in the record: $(cat "$record")"
  screenshot_of_window "$main" "$artifacts/vostrel-clock-step.png"
  wait_until 30 record_has "| 播放结束 | 语文 | 2026-12-12 09:00开考 | .* | 已播放" ||
    fail "no end line saying 已播放 after the step: $(cat "$record")"
  step "the 08:35 prompt played after the step, $(grep -o '晚了[^|]*' "$record" | tail -n1 | tr -d '\r'); the step is recorded"
  end_running_program "$main"
}

all_parts=(first-and-second-start no-device failing-device scale-150 late-frame stuck-device second-copy clock-step)
parts=("$@")
((${#parts[@]})) || parts=("${all_parts[@]}")
for part in "${parts[@]}"; do
  [[ " ${all_parts[*]} " == *" $part "* ]] || fail "unknown part '$part' (${all_parts[*]})"
done
run_parts "${parts[@]}"
echo "end_to_end: screenshots in $artifacts"
parts_verdict
