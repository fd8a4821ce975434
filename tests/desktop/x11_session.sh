# A private X display for tests that start the real program, sourced by bash scripts:
#   start_x11_session WORK    Xvfb and openbox; exports DISPLAY; stop_x11_session ends both
#   wait_until SECONDS CMD…   polls CMD until it succeeds or the bound runs out
#   window_named TITLE        the id of a visible window with exactly that title
#   has_window TITLE
# The bounds only keep a broken program from hanging a test; nothing waits for real time.

x11_pids=()

wait_until() {
  local bound=$1; shift
  local deadline=$((SECONDS + bound))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

start_x11_session() {  # work folder
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$1/display" 2>"$1/xvfb.log" &
  x11_pids+=($!)
  wait_until 20 test -s "$1/display" || return 1
  DISPLAY=:$(head -n1 "$1/display")
  export DISPLAY
  openbox --sm-disable >"$1/openbox.log" 2>&1 &
  x11_pids+=($!)
  wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  wait_until 20 wm_running
}

stop_x11_session() {
  local pid
  for pid in "${x11_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  x11_pids=()
}

# xdotool's --name never matches a Chinese title: search the ASCII prefix, compare the whole name.
window_named() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Vostrel' 2>/dev/null); do
    if [[ $(xdotool getwindowname "$id" 2>/dev/null) == "$1" ]]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
has_window() { window_named "$1" >/dev/null; }
