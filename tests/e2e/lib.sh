# Shared helpers of the end-to-end tests. Each test script runs under its own
# Xvfb (tests/with-xvfb) and gets the path of the vyr executable as $1.
set -u
VYR=${1:?usage: $0 path/to/vyr}
WORK=$(mktemp -d)
cd "$WORK" || exit 1
VYR_PID=""
FAILURES=0

cleanup() {
  [[ -n $VYR_PID ]] && kill "$VYR_PID" 2>/dev/null
  [[ -n ${HOST_PIDS:-} ]] && kill $HOST_PIDS 2>/dev/null
  cd / && rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; FAILURES=$((FAILURES + 1)); }
pass() { echo "ok: $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

# Starts vyr with the given switches in the background, output to out.txt;
# a script's background job would ignore SIGINT, and so would vyr.
start_vyr() {
  env --default-signal=INT "$VYR" "$@" >out.txt 2>err.txt &
  VYR_PID=$!
}

# Waits up to WINDOW_WAIT_SECONDS (10 s) for the program's window; prints its X id.
wait_window() {
  local id
  for _ in $(seq $((${WINDOW_WAIT_SECONDS:-10} * 10))); do
    id=$(xdotool search --name '^VYR' 2>/dev/null | head -1)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits up to $2 seconds (default 5) for the program to end; sets EXIT_STATUS.
wait_exit() {
  local limit=${1:-5}
  EXIT_STATUS=""  # none until it has ended
  for _ in $(seq $((limit * 10))); do
    if ! kill -0 "$VYR_PID" 2>/dev/null; then
      wait "$VYR_PID"
      EXIT_STATUS=$?
      VYR_PID=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Gives the window the keyboard focus and types keys (xdotool key names).
keys() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  shift
  xdotool key --delay 60 "$@"
}

# ---- Hosted runs: a stand-in host window (tests/e2e/host.cpp) ----
HOST_PIDS=""
# Starts a host window with the given options; sets HOST_PID and HOST_ID.
start_host() {
  local out
  out=$(mktemp -p "$WORK" host.XXXXXX)
  "${VYR_TEST_HOST:?VYR_TEST_HOST names the stand-in host}" "$@" >"$out" 2>/dev/null &
  HOST_PID=$!
  HOST_PIDS="$HOST_PIDS $HOST_PID"
  for _ in $(seq 100); do
    [[ -s $out ]] && break
    sleep 0.05
  done
  HOST_ID=$(head -1 "$out")
}

# Prints the id of the program's window anywhere inside window $1, waiting up to 10 s.
hosted_window() {
  local id
  for _ in $(seq 100); do
    id=$(xwininfo -id "$1" -tree 2>/dev/null | awk '/"VYR/ {print $1; exit}')
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Prints the size WxH of window $1.
window_size() { xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# Prints "lit L coloured C of N" for what the screen shows inside window $1.
probe() { "$VYR_TEST_HOST" --probe "$1"; }
# Succeeds when at least 1 % of window $1 is lit and some of it coloured.
lit_and_coloured() {
  local lit coloured total
  read -r _ lit _ coloured _ total < <(probe "$1")
  (( lit * 100 >= total && coloured > 0 )) && return 0
  echo "window $1: lit $lit coloured $coloured of $total"
  return 1
}

# Waits up to $2 seconds (default 10) until window $1 is lit and coloured.
wait_lit() {
  local limit=${2:-10}
  for _ in $(seq $((limit * 5))); do
    lit_and_coloured "$1" >/dev/null && return 0
    sleep 0.2
  done
  lit_and_coloured "$1"
}

# Waits up to $2 seconds (default 10) until at least 1 % of area $1 is lit,
# as the script's own "area" prints it ("lit L of N ...").
wait_area_lit() {
  local lit total
  for _ in $(seq $((${2:-10} * 5))); do
    read -r _ lit _ total _ < <(area "$1")
    (( total > 0 && lit * 100 >= total )) && return 0
    sleep 0.2
  done
  area "$1"
  return 1
}

# CPU time of process $1 in clock ticks (user and system).
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Clock ticks process $1 spends in the next 2 seconds.
cpu_over_2s() { local a; a=$(cpu_ticks "$1"); sleep 2; echo $(($(cpu_ticks "$1") - a)); }

# ---- A throwaway ordinary user, for hosts that refuse to run as root ----
SAVER_USER=""
# Creates the user with a home of its own holding a copy of vyr; sets
# SAVER_USER, SAVER_HOME and SAVER_VYR. Exits 77 (skipped) where it cannot.
make_saver_user() {
  if (( EUID != 0 )) || ! command -v useradd >/dev/null || ! command -v runuser >/dev/null; then
    echo "SKIP: creating a throwaway user needs root, useradd and runuser"
    exit 77
  fi
  SAVER_USER=vyrsaver$$
  SAVER_HOME=$(mktemp -d /tmp/vyrsaver.XXXXXX)
  useradd -M -d "$SAVER_HOME" -s /bin/sh "$SAVER_USER" || { echo "SKIP: useradd failed"; exit 77; }
  trap 'cleanup; remove_saver_user' EXIT
  SAVER_VYR=$SAVER_HOME/vyr
  install -m 755 "$VYR" "$SAVER_VYR"
  mkdir "$SAVER_HOME/run"  # stays the user's, whoever owns the home
  chown -R "$SAVER_USER" "$SAVER_HOME"
  chmod 755 "$SAVER_HOME"
}

# Runs a command as that user in its home, with its own HOME.
as_saver_user() { (cd "$SAVER_HOME" && runuser -u "$SAVER_USER" -- env HOME="$SAVER_HOME" DISPLAY="$DISPLAY" "$@"); }

# Starts a command as that user in the background; sets SAVER_PID to its pid.
start_as_saver_user() {
  as_saver_user sh -c 'echo $$ >"$HOME/run/pid"; exec "$@"' sh "$@" >>"$WORK/host.log" 2>&1 &
  for _ in $(seq 100); do [[ -s $SAVER_HOME/run/pid ]] && break; sleep 0.05; done
  SAVER_PID=$(cat "$SAVER_HOME/run/pid")
  rm -f "$SAVER_HOME/run/pid"
}

# The pid of vyr run by that user (the first one), empty if none.
saver_vyr_pid() { ps -u "$SAVER_USER" -o pid=,args= | awk -v p="$SAVER_VYR" '$2 == p {print $1; exit}'; }

remove_saver_user() {
  local pid
  for pid in $(ps -u "$SAVER_USER" -o pid= 2>/dev/null); do kill -9 "$pid" 2>/dev/null; done
  sleep 0.2
  userdel "$SAVER_USER" 2>/dev/null
  rm -rf "$SAVER_HOME"
}

# ---- A Wayland compositor run by that user ----
# Starts the compositor "$@" as the throwaway user with a runtime folder of
# its own ($RUN) and waits up to 10 s for its socket; sets WL to the socket's
# name. Exits 77 (skipped) where it does not start.
start_compositor() {
  RUN=$SAVER_HOME/run
  chmod 700 "$RUN"
  start_as_saver_user env XDG_RUNTIME_DIR="$RUN" "$@"
  for _ in $(seq 100); do
    WL=$(cd "$RUN" && ls | grep -E '^wayland-[^.]+$' | head -1)
    [[ -n $WL ]] && return 0
    sleep 0.1
  done
  echo "SKIP: the compositor did not start ($*)"
  cat "$WORK/host.log"
  exit 77
}

# Runs a command as that user on the compositor.
wl() { as_saver_user env XDG_RUNTIME_DIR="$RUN" WAYLAND_DISPLAY="$WL" ${SWAYSOCK:+SWAYSOCK="$SWAYSOCK"} "$@"; }

finish() {
  if (( FAILURES )); then
    echo "--- stdout"; cat out.txt 2>/dev/null
    echo "--- stderr"; cat err.txt 2>/dev/null
    echo "$FAILURES check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}
