# A private X display for tests that start the real program, sourced by bash scripts:
#   start_x11_session WORK [XVFB_ARG…]  Xvfb and openbox; exports DISPLAY; stop_x11_session ends both
#                                       (display: the first free one, or :$VOSTREL_TEST_DISPLAY when
#                                       set, for machines where several people start displays)
#   start_x11_display WORK [XVFB_ARG…]  Xvfb alone (its screen 1024x768x24, or $x11_screen);
#                                       start_window_manager WORK and stop_window_manager put
#                                       openbox on it and take it off
#   end_x11_test PID          ends the program under test (PID may be empty) and the session
#   wait_until SECONDS CMD…   polls CMD until it succeeds or the bound runs out
#   window_named TITLE [CLASS]  the id of a visible window with exactly that title (of that
#                             window class: for titles that need not start with "Vostrel")
#   has_window TITLE [CLASS]
# The bounds only keep a broken program from hanging a test; nothing waits for real time.

x11_display_pid="" x11_wm_pid=""

wait_until() {
  local bound=$1; shift
  local deadline=$((SECONDS + bound))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# -noreset: with no window manager the polling xdotool may be the only client, and a server
# resetting as it leaves drops a program that connects then.
start_x11_display() {  # work folder, extra Xvfb arguments
  local work=$1; shift
  Xvfb ${VOSTREL_TEST_DISPLAY:+":$VOSTREL_TEST_DISPLAY"} -displayfd 3 -screen 0 "${x11_screen:-1024x768x24}" "$@" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  x11_display_pid=$!
  wait_until 20 test -s "$work/display" || return 1
  DISPLAY=:$(head -n1 "$work/display")
  export DISPLAY
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

start_window_manager() {  # work folder
  openbox --sm-disable >>"$1/openbox.log" 2>&1 &
  x11_wm_pid=$!
  wait_until 20 wm_running
}

stop_window_manager() {
  if [[ -z $x11_wm_pid ]]; then return 0; fi
  kill "$x11_wm_pid" 2>/dev/null || true
  wait "$x11_wm_pid" 2>/dev/null || true
  x11_wm_pid=""
}

start_x11_session() {  # work folder, extra Xvfb arguments
  start_x11_display "$@" && start_window_manager "$1"
}

stop_x11_session() {
  stop_window_manager
  if [[ -n $x11_display_pid ]]; then kill "$x11_display_pid" 2>/dev/null || true; fi
  x11_display_pid=""
}

end_x11_test() {  # pid of the program under test, may be empty
  if [[ -n $1 ]]; then kill "$1" 2>/dev/null || true; fi
  stop_x11_session
  wait 2>/dev/null || true
}

# xdotool's --name never matches a Chinese title: search the ASCII prefix (or the class), compare
# the whole name.
window_named() {  # title [class]
  local id search=(--name '^Vostrel')
  if [[ -n ${2:-} ]]; then search=(--class "^$2\$"); fi
  for id in $(xdotool search --onlyvisible "${search[@]}" 2>/dev/null); do
    if [[ $(xdotool getwindowname "$id" 2>/dev/null) == "$1" ]]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
has_window() { window_named "$@" >/dev/null; }
