# Named parts of a test script and what a failure says, sourced by bash scripts that set
# test_name (how their messages begin) and, where screenshots are kept, artifacts:
#   step TEXT…             the step under way: printed, and named by a failure
#   fail TEXT…             the step failed: prints why, the part and the step, the program's log
#                          (the file $program_log names, when set) and the path of a screenshot of
#                          the screen as it is (or of the last one taken); then ends the part, or
#                          the script when no part is running
#   took_screenshot FILE   notes FILE as the last screenshot taken
#   run_parts PART…        runs part_<PART> for each, in a subshell of its own with errexit: a
#                          failure, or a command that fails unchecked, ends that part and says so
#                          as fail does, and the next part runs. A script may define end_part,
#                          which then runs as each part ends (its exit status as $1). Never in a
#                          condition (if, ||, &&): bash ignores errexit in the parts there.
#   parts_verdict          says which parts failed and exits 1 if any did; else that all passed

test_part="" test_step="" program_log="" last_screenshot="" parts_run=() failed_parts=()
# Set once a failure has been told, also from a command substitution (a subshell of its own).
failure_told_mark=${TMPDIR:-/tmp}/test-parts-told.$$

step() {
  test_step="$*"
  echo "$test_name: $*"
}

took_screenshot() { last_screenshot=$1; }

# Why, where, the program's log and the screen.
tell_failure() {
  echo "$test_name: FAIL${test_part:+ in part $test_part}${test_step:+, step \"$test_step\"}: $*" >&2
  if [[ -n $program_log && -s $program_log ]]; then
    echo "$test_name: the program's log, $program_log (its last 200 lines):" >&2
    tail -n 200 "$program_log" | sed 's/^/  | /' >&2
  fi
  local shot=${artifacts:-/tmp}/failure${test_part:+-$test_part}.png
  if [[ -n ${DISPLAY:-} ]] && import -window root "$shot" 2>/dev/null; then last_screenshot=$shot; fi
  if [[ -n $last_screenshot ]]; then echo "$test_name: last screenshot: $last_screenshot" >&2; fi
  : >"$failure_told_mark"
}

fail() {
  tell_failure "$@"
  exit 1
}

# In a part's subshell: an unchecked command that fails ends the part through errexit; the ERR
# trap keeps the command, so that the end of the part can name it.
part_ended() {
  local code=$1
  if ((code != 0)) && [[ ! -e $failure_told_mark ]]; then
    tell_failure "exit status $code from: ${failed_command:-?}"
  fi
  rm -f "$failure_told_mark"
  if declare -F end_part >/dev/null; then end_part "$code"; fi
}

run_parts() {
  local part code
  for part; do
    set +e
    (
      set -eE
      test_part=$part test_step="" program_log=""
      rm -f "$failure_told_mark"
      trap 'failed_command=$BASH_COMMAND' ERR
      trap 'part_ended $?' EXIT
      "part_$part"
    )
    code=$?
    set -e
    parts_run+=("$part")
    if ((code != 0)); then failed_parts+=("$part"); fi
  done
}

parts_verdict() {
  if ((${#failed_parts[@]})); then
    echo "$test_name: FAILED parts: ${failed_parts[*]} (of: ${parts_run[*]})" >&2
    exit 1
  fi
  echo "$test_name: every part passed (${parts_run[*]})"
}
