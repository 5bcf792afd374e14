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

# Starts vyr with the given switches in the background, output to out.txt.
start_vyr() {
  "$VYR" "$@" >out.txt 2>err.txt &
  VYR_PID=$!
}

# Waits up to 10 s for the program's window; prints its X id.
wait_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --name '^VYR' 2>/dev/null | head -1)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits up to $2 seconds (default 5) for the program to end; sets EXIT_STATUS.
wait_exit() {
  local limit=${1:-5}
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

# CPU time of process $1 in clock ticks (user and system).
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

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
