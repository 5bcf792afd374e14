# Terminating signals reach only the main thread, which holds them while it
# writes the settings file: every other thread of a running program blocks
# them, and a signal sent while strace holds up the write of a save waits
# until the file is whole, then ends the program by the signal.
source "$(dirname "$0")/lib.sh"
BLOCKED=$(( 1 << (1 - 1) | 1 << (2 - 1) | 1 << (15 - 1) ))  # SIGHUP, SIGINT, SIGTERM in SigBlk

# Prints "T U": the threads besides the main one, and those of them that
# let a terminating signal in.
thread_masks() {
  local task mask threads=0 unblocked=0
  for task in /proc/"$1"/task/*; do
    [[ ${task##*/} == "$1" ]] || ! mask=$(awk '/^SigBlk:/ {print $2}' "$task/status" 2>/dev/null) && continue
    threads=$((threads + 1))
    (( (0x$mask & BLOCKED) == BLOCKED )) || unblocked=$((unblocked + 1))
  done
  echo "$threads $unblocked"
}

# ---- The mask of every thread, in a window of its own and in a host's window.
for case in configure hosted; do
  if [[ $case == hosted ]]; then
    start_host --size 400x300
    start_vyr --window-id "$HOST_ID" --renderer memory
    hosted_window "$HOST_ID" >/dev/null
  else
    start_vyr /c --renderer memory
    wait_window >/dev/null
  fi
  sleep 2  # the frames composed in memory have started their thread
  read -r threads unblocked < <(thread_masks "$VYR_PID")
  check "$case, memory renderer: none of $threads threads besides the main one lets SIGTERM, SIGINT or SIGHUP in" \
    test "$threads" -gt 0 -a "$unblocked" -eq 0
  kill "$VYR_PID"
  wait_exit 5
  [[ $case == hosted ]] && kill "$HOST_PID"
done

# ---- A save rewritten in place (the file has a second name), each write held
# up for 3 s, and a signal sent to the process in the middle.
if ! command -v strace >/dev/null || ! strace -o /dev/null true 2>/dev/null; then
  echo "SKIP: strace cannot trace here"
  finish
fi
OLD=$'[VYR Version 1.0]\nMotion blur=4\n'
for signal in TERM INT HUP; do
  rm -f VYR.ini other.ini
  printf '%s' "$OLD" >VYR.ini
  ln VYR.ini other.ini
  env --default-signal=INT strace -f -qq -o /dev/null -e trace=pwrite64 -e inject=pwrite64:delay_enter=3000000 \
    "$VYR" /c --renderer memory >out.txt 2>err.txt &
  VYR_PID=$!
  id=$(wait_window)
  sleep 2
  keys "$id" s
  sleep 1.5  # the save is held in its write
  traced=$(ps --ppid "$VYR_PID" -o pid= | tr -d ' ')
  kill -s "$signal" "$traced"
  wait_exit 10
  check "SIG$signal during the save: ends by the signal" test "${EXIT_STATUS:-0}" -eq $((128 + $(kill -l "$signal")))
  check "SIG$signal during the save: the file holds the whole new text" \
    test "$(grep -c '^\[' VYR.ini)" -eq 4 -a "$(tr -d '\0' <VYR.ini | wc -c)" -eq "$(wc -c <VYR.ini)" -a \
      "$(grep -cx 'Motion blur=4' VYR.ini)" -eq 1
  check "SIG$signal during the save: both names show it" cmp -s VYR.ini other.ini
done
finish
