#!/usr/bin/env bash
# The real program end to end under Wine. Each case gets a display of its own (Xvfb, at the
# case's screen size) and runs in the test's own Wine prefix; the program is started from a
# folder other than its own, the driver acts on it through real input, and the harness checks
# how the program ends. Every process started here is ended on the way out, failed or not.
#
#   run-e2e.sh --exe recharge.exe --driver driver.exe --work DIR [--host H] [CASE...]
#
# Without cases, all of them run. Exit status 0 when every case passed.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
exe="" driver="" work="" host="127.0.0.1"
wanted=()
while [ $# -gt 0 ]; do
  case "$1" in
    --exe) exe="$(realpath "$2")"; shift 2 ;;
    --driver) driver="$(realpath "$2")"; shift 2 ;;
    --work) mkdir -p "$2" && work="$(realpath "$2")"; shift 2 ;;
    --host) host="$2"; shift 2 ;;
    *) wanted+=("$1"); shift ;;
  esac
done
if [ ! -f "$exe" ] || [ ! -f "$driver" ] || [ -z "$work" ]; then
  echo "usage: run-e2e.sh --exe recharge.exe --driver driver.exe --work DIR [--host H] [CASE...]" >&2
  exit 2
fi

# name, screen, DLL left out, driver scenario, then the way of closing, the exit status wine
# reports. The fault case ends by itself: the run time's -1 reaches Unix as 255.
cases="
keys          1111x777   -          keys       esc           0
addresses     1024x768   -          addresses  alt-f4        0
dropped-esc   800x600    -          start      esc-dropped   0
close-button  1280x1024  -          start      close-button  0
small-screen  320x200    -          start      alt-f4        0
two-copies    1024x768   -          -          -             0
fault         1024x768   shell32    fault      -             255
"

export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
export LC_ALL=zh_CN.UTF-8
export PATH="$here/bin:$PATH"  # the recording xdg-open first
base_overrides="mscoree,mshtml,winemenubuilder.exe="
export WINEDLLOVERRIDES="$base_overrides"

tmp="$(mktemp -d "$work/run.XXXXXX")"
programs=()  # the wine processes of the program copies started
xvfb_pid=""
failures=0

fail() {
  echo "FAIL [$case] $*"
  failures=$((failures + 1))
}

# Polls for a condition, at most `seconds`.
wait_until() {
  local seconds="$1"
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.05
  done
}

stop_wine() {
  # Only ever our own prefix: other people's programs run in other prefixes.
  if [ "$WINEPREFIX" = "$work/prefix" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null
    timeout 20 wineserver -w 2>/dev/null
  fi
}

stop_case() {
  local pid
  for pid in "${programs[@]}"; do kill "$pid" 2>/dev/null; done
  stop_wine
  for pid in "${programs[@]}"; do wait "$pid" 2>/dev/null; done
  programs=()
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  fi
}

cleanup() {
  stop_case
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

has_display_number() { [ -s "$tmp/display" ] && grep -q '^[0-9]' "$tmp/display"; }

# A display of the case's own size, on a free number that Xvfb picks.
start_display() {
  rm -f "$tmp/display"
  Xvfb -displayfd 5 -screen 0 "${1}x24" -nolisten tcp 5>"$tmp/display" </dev/null >/dev/null 2>&1 9>&- &
  xvfb_pid=$!
  if ! wait_until 20 has_display_number; then
    fail "Xvfb did not start"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$tmp/display")"
}

# The prefix made once (the first time takes a while), then its server and services started by
# a process of the usual DLL set: they must not inherit a case's missing DLL.
start_wine() {
  if ! timeout 600 "$root/scripts/wine-prefix" </dev/null >/dev/null 2>&1 9>&-; then
    fail "the Wine prefix could not be made"
    return 1
  fi
  # Neither holds our lock or ctest's pipes: they are stopped at the end of the case, but a
  # straggler must not keep ctest waiting.
  wineserver -p </dev/null >/dev/null 2>&1 9>&-
  if ! drive warm-up </dev/null >/dev/null 9>&-; then
    fail "Wine did not start"
    return 1
  fi
}

# Starts one copy of the program from the launch folder; its wine process id in `started`.
launch() {
  local overrides="$base_overrides"
  [ "$1" != "-" ] && overrides="$base_overrides;$1=d"
  (cd "$launch_dir" && WINEDLLOVERRIDES="$overrides" exec "$root/scripts/wine-run" "$exe") \
    </dev/null 9>&- &
  started=$!
  programs+=("$started")
}

drive() {
  WINEDLLOVERRIDES="$base_overrides" timeout 300 "$root/scripts/wine-run" "$driver" \
    --screen "$screen" --host "$host" "$@"
}

alive() { kill -0 "$1" 2>/dev/null; }
gone() { ! alive "$1"; }

# The program copy `pid` ends, boundedly, with `status`.
expect_exit() {
  local pid="$1" status="$2" what="$3"
  if ! wait_until 30 gone "$pid"; then
    fail "the program is still running after $what"
    return 1
  fi
  wait "$pid"
  local got=$?
  [ "$got" -eq "$status" ] || fail "after $what the program ended with $got, not $status"
}

run_simple() {
  local dll="$1" scenario="$2" then="$3" status="$4"
  launch "$dll"
  local program=$started
  # A failed step leaves the program in no known state: what follows would only echo it.
  drive "$scenario" || { fail "the driver's $scenario scenario failed"; return 1; }
  local what="the $scenario scenario"
  if [ "$then" != "-" ]; then
    alive "$program" || fail "the program ended before $then"
    drive close "$then" || { fail "closing by $then failed"; return 1; }
    what="closing by $then"
  fi
  expect_exit "$program" "$status" "$what"
}

run_two_copies() {
  launch -
  local first=$started first_window
  first_window="$(drive wait 1)" || { fail "the first copy did not come up"; return 1; }
  launch -
  local second=$started
  # The driver ends by closing the first copy with Esc; the second stays.
  drive two-copies "$first_window" || { fail "the driver's two-copies scenario failed"; return 1; }
  expect_exit "$first" 0 "Esc on the first copy"
  alive "$second" || fail "the second copy ended with the first"
  drive close alt-f4 || { fail "closing the second copy by alt-f4 failed"; return 1; }
  expect_exit "$second" 0 "Alt+F4 on the second copy"
}

# One exclusive user of the prefix at a time.
exec 9>"$work/lock"
flock -w 900 9 || {
  echo "FAIL the prefix stayed locked by another run"
  exit 1
}

ran=0
while read -r case screen dll scenario then status; do
  [ -z "$case" ] && continue
  if [ ${#wanted[@]} -gt 0 ] && [[ ! " ${wanted[*]} " == *" $case "* ]]; then continue; fi
  ran=$((ran + 1))
  before=$failures
  echo "== $case (screen $screen)"
  launch_dir="$tmp/$case/launch"
  mkdir -p "$launch_dir"
  log="$tmp/$case/urls.log"
  export RECHARGE_URL_LOG="Z:${log//\//\\}"
  if start_display "$screen" && start_wine; then
    if [ "$case" = two-copies ]; then
      run_two_copies
    else
      run_simple "$dll" "$scenario" "$then" "$status"
    fi
  fi
  stop_case
  [ "$failures" -eq "$before" ] && echo "   passed"
done <<<"$cases"

if [ "$ran" -eq 0 ]; then
  echo "FAIL no case called: ${wanted[*]}"
  exit 1
fi
[ "$failures" -eq 0 ]
