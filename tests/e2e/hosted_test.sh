# Hosted runs: the program draws inside a window handed over by a
# screen-saver host (here the stand-in host of host.cpp), never in a window
# of its own, and ends cleanly when the host is done with it.
source "$(dirname "$0")/lib.sh"

# Records every top-level window named VYR... while the tests run.
( while :; do xwininfo -root -children 2>/dev/null | grep '"VYR'; sleep 0.02; done ) >toplevel.txt &
WATCH_PID=$!
HOST_PIDS="$HOST_PIDS $WATCH_PID"

# Waits up to $3 seconds until window $1 has the size $2 (WxH).
wait_size() {
  for _ in $(seq $(($3 * 10))); do
    [[ $(window_size "$1") == "$2" ]] && return 0
    sleep 0.1
  done
  return 1
}

# Points in the title of window $1 ("VYR (40 FPS , 1234 points)").
title_points() { xwininfo -id "$1" 2>/dev/null | sed -n 's/.*, \([0-9]*\) points.*/\1/p'; }

# Over 4 s the program in window $2 keeps its point count and spends under
# 1 % of a core; $1 says how its host is hidden.
check_paused() {
  local points before after
  points=$(title_points "$2")
  before=$(cpu_ticks "$VYR_PID")
  sleep 4
  after=$(cpu_ticks "$VYR_PID")
  echo "CPU while $1: $((after - before)) ticks in 4 s"
  check "$1 host: below 1 % of a core" test $((after - before)) -lt 4
  check "$1 host: the point count stays" test "$(title_points "$2")" = "$points"
}

# ---- The host window by id: inside it, its size, input ignored.
start_host --size 640x480 --position 20,20
start_vyr --window-id "$HOST_ID"
child=$(hosted_window "$HOST_ID")
check "--window-id: a window inside the host" test -n "$child"
check "--window-id: the host's size" test "$(window_size "$child")" = 640x480
check "--window-id: lit and coloured pixels inside the host" wait_lit "$HOST_ID" 10
xdotool mousemove --sync 100 100 key --window "$HOST_ID" a Escape mousemove 300 300 click 1 2>/dev/null
sleep 2.5
check "keys and pointer sent to the host do not end it" kill -0 "$VYR_PID"
kill "$HOST_PID"  # its connection closes: the server destroys the window
wait_exit 2
check "host window destroyed: ends within 2 s" test -z "$VYR_PID"
check "host window destroyed: status 0" test "${EXIT_STATUS:-1}" -eq 0
check "host window destroyed: nothing on stderr" test ! -s err.txt

# ---- Resized and destroyed by the host itself; -window-id with one dash and a decimal id.
start_host --size 320x200 --resize-after 1500 480x360 --destroy-after 4000
start_vyr -window-id "$((HOST_ID))"
child=$(hosted_window "$HOST_ID")
check "-window-id decimal: a window inside the host" test -n "$child"
check "host resizes its window: followed" wait_size "$child" 480x360 3
wait_exit 5
check "host destroys its window: status 0" test "${EXIT_STATUS:-1}" -eq 0
check "host destroys its window: nothing on stderr" test ! -s err.txt

# ---- --root with XSCREENSAVER_WINDOW in hex and in decimal; the signals end it by the signal.
for case in "hex --root TERM" "decimal -root INT" "hex --root HUP"; do
  read -r base option signal <<<"$case"
  start_host --size 400x300 --position 700,20
  id=$HOST_ID
  [[ $base == decimal ]] && id=$((HOST_ID))
  XSCREENSAVER_WINDOW=$id start_vyr "$option"
  child=$(hosted_window "$HOST_ID")
  check "$option, XSCREENSAVER_WINDOW in $base: inside the host, its size" test "$(window_size "$child")" = 400x300
  sleep 1
  kill -s "$signal" "$VYR_PID"
  wait_exit 2
  check "SIG$signal: ends within 2 s by the signal" test "${EXIT_STATUS:-0}" -eq $((128 + $(kill -l "$signal")))
  check "SIG$signal: nothing on stderr" test ! -s err.txt
  kill "$HOST_PID"
done

# ---- Started by a host in a folder of its own: the settings come from
# $HOME/VYR.ini, where 120 frames a second are asked for and at most about 80
# allowed, so the title shows the point floor. For 10 s at the floor nothing
# is printed and nothing written; SIGTERM ends it by the signal.
mkdir home host-folder
printf '[VYR Version 1.0]\nRequested frame rate: %%d=120\nLimit CPU usage=1\n' >home/VYR.ini
cp home/VYR.ini settings.ini
start_host --size 400x300
cd host-folder
HOME=$WORK/home start_vyr --window-id "$HOST_ID"
cd "$WORK"
child=$(hosted_window "$HOST_ID")
sleep 10
check "hosted run from another folder: \$HOME/VYR.ini read (the point floor in the title)" \
  test "$(title_points "$child")" = 300
kill -TERM "$VYR_PID"
wait_exit 2
check "SIGTERM at the point floor: status 143" test "${EXIT_STATUS:-0}" -eq 143
check "at the point floor: nothing on stdout or stderr" test ! -s host-folder/out.txt -a ! -s host-folder/err.txt
check "nothing written in the host's folder" test "$(ls -A host-folder | tr '\n' ' ')" = "err.txt out.txt "
check "nothing written in the home folder" test "$(ls -A home)" = VYR.ini
check "the settings file unchanged" cmp -s home/VYR.ini settings.ini
kill "$HOST_PID"

# ---- A host window that cannot hold a picture: one line on stderr, status 1.
start_host --class input-only
start_vyr --window-id "$HOST_ID"
wait_exit 5
check "input-only host: status 1" test "${EXIT_STATUS:-0}" -eq 1
check "input-only host: one line on stderr, none on stdout" test "$(wc -l <err.txt)" -eq 1 -a ! -s out.txt
kill "$HOST_PID"

# ---- Two hosts side by side, one run each, started together (as a host
# with a run per monitor does): two different pictures.
start_host --size 400x300 --position 0,0
left=$HOST_ID
start_host --size 400x300 --position 500,0
right=$HOST_ID
XSCREENSAVER_WINDOW=$left "$VYR" --root >left.txt 2>&1 &
first=$!
XSCREENSAVER_WINDOW=$right "$VYR" --root >right.txt 2>&1 &
second=$!
hosted_window "$left" >/dev/null; hosted_window "$right" >/dev/null
check "two hosts side by side: the left one shows a picture" wait_lit "$left" 10
check "two hosts side by side: the right one shows a picture" wait_lit "$right" 10
# The light's layout at moments 0.5 s apart: different attractors part
# widely at some moment, one attractor stays close (a busy machine shifts
# the two runs' timing, so one moment is not enough).
most=0
for _ in 1 2 3 4 5; do
  read -r _ differ _ < <("$VYR_TEST_HOST" --compare "$left" "$right")
  (( differ > most )) && most=$differ
  sleep 0.5
done
check "two hosts side by side: different pictures (up to $most % of the light placed differently)" test "$most" -ge 25
kill "$first" "$second"; wait "$first" "$second"

# ---- Unmapped host: no steps, no CPU; mapped again, it goes on.
start_host --size 640x480 --position 0,0 --unmap-after 2500 --map-after 11000
start_vyr --window-id "$HOST_ID"
child=$(hosted_window "$HOST_ID")
sleep 3.5
check_paused unmapped "$child"
sleep 3
check "host mapped again: the picture comes back" wait_lit "$HOST_ID" 5
kill "$VYR_PID"; wait_exit 2

# ---- Host fully covered by another window (a lock screen, say): the same pause.
start_host --size 640x480 --position 0,0
host=$HOST_ID
start_vyr --window-id "$host"
child=$(hosted_window "$host")
sleep 2
start_host --size 800x600 --position 0,0
cover=$HOST_PID
sleep 0.5
check_paused covered "$child"
kill "$cover"
check "uncovered host: the picture comes back" wait_lit "$host" 5
kill "$VYR_PID"; wait_exit 2

# ---- No top-level window of the program at any moment.
kill "$WATCH_PID"
check "no top-level VYR window ever" test ! -s toplevel.txt

# ---- --root without XSCREENSAVER_WINDOW: the root window, its size (the one
# case where the program's window is a top-level one: a child of the root).
start_vyr --root
child=$(hosted_window "$(xwininfo -root | awk '/Window id:/ {print $4; exit}')")
check "--root alone: a child of the root window with the screen's size" \
  test "$(window_size "$child")" = "$(xdotool getdisplaygeometry | tr ' ' x)"
kill "$VYR_PID"; wait_exit 2

# ---- The display connection lost: ends at once with status 0 and no X error.
tmp=$(mktemp -d -p "$WORK")
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [[ -s $tmp/display ]] && break; sleep 0.05; done
(
  export DISPLAY=":$(tr -d '\n' <"$tmp/display")"
  start_host --size 320x200
  start_vyr --window-id "$HOST_ID"
  hosted_window "$HOST_ID" >/dev/null
  sleep 1
  kill "$xvfb"
  wait_exit 2
  echo "${EXIT_STATUS:-none}" >"$tmp/status"
)
check "display lost: ends within 2 s with status 0" test "$(cat "$tmp/status")" = 0
check "display lost: nothing on stderr" test ! -s err.txt

finish
