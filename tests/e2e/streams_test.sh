# Closed standard streams and a reader of the output that goes away: in both
# modes the program opens its window, answers keys and ends with status 0.
source "$(dirname "$0")/lib.sh"

# Starts vyr with one standard stream closed (0, 1 or 2), the others to files.
start_closed() {
  local fd=$1; shift
  case $fd in
    0) "$VYR" "$@" <&- >out.txt 2>err.txt & ;;
    1) "$VYR" "$@" >&- 2>err.txt & ;;
    2) "$VYR" "$@" >out.txt 2>&- & ;;
  esac
  VYR_PID=$!
}

# Waits for the window and ends the program with a key; $1 names the case.
window_and_key() {
  local id
  id=$(wait_window)
  if [[ -z $id ]]; then fail "$1: no window"; kill "$VYR_PID" 2>/dev/null; wait "$VYR_PID" 2>/dev/null; VYR_PID=""; return; fi
  sleep 0.5
  keys "$id" "$2"
  if wait_exit 5; then
    check "$1: exits with status 0" test "$EXIT_STATUS" -eq 0
  else
    fail "$1: does not answer a key"
    kill -9 "$VYR_PID"; wait "$VYR_PID" 2>/dev/null; VYR_PID=""
  fi
}

for fd in 0 1 2; do
  start_closed "$fd" /c
  window_and_key "configure mode, descriptor $fd closed" q
  [[ $fd != 1 ]] && check "configure mode, descriptor $fd closed: start-up line written" \
    grep -q "^Entering main loop" out.txt
  start_closed "$fd"
  window_and_key "screen-saver mode, descriptor $fd closed" space
done

# Output into a pipe whose reader has already gone: every line is dropped.
mkfifo gone
( exec 6<gone ) &
exec 5>gone
wait
for mode in /c ""; do
  "$VYR" $mode >&5 2>err.txt &
  VYR_PID=$!
  window_and_key "mode '$mode', reader gone before the start" q
done
exec 5>&-

# A reader that closes after the first line; the save's failure message comes later.
mkdir VYR.ini
"$VYR" /c > >(head -1 >first.txt) 2>err.txt &
VYR_PID=$!
id=$(wait_window)
for _ in $(seq 50); do [[ -s first.txt ]] && break; sleep 0.1; done
sleep 0.5
keys "$id" s
if wait_exit 5; then
  check "reader closed after one line: save exits with status 0" test "$EXIT_STATUS" -eq 0
else
  fail "reader closed after one line: save did not end the program"
fi
check "the reader saw the first line" grep -qx "Cannot read file VYR.ini" first.txt

finish
