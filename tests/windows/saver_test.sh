# vyr.scr under wine: /s covers the screen and ends on a key press and on a
# pointer move of more than 10 pixels; /p returns 0 at once without a window.
# $1: tests/windows/wine-scr.
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/lib.sh"

# The window whose size is the whole screen; empty if none within 10 s.
full_screen_window() {
  local screen w
  screen=$(xdotool getdisplaygeometry | tr ' ' x)
  for _ in $(seq 100); do
    for w in $(xdotool search --name '^VYR' 2>/dev/null); do
      xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: $screen" && { echo "$w"; return; }
    done
    sleep 0.1
  done
}

start_vyr /s
id=$(wait_window)
check "/s opens a window" test -n "$id"
full=$(full_screen_window)
check "/s covers the screen" test -n "$full"
sleep 1
check "/s is still running" kill -0 "$VYR_PID"
xdotool windowfocus --sync "${full:-$id}" 2>/dev/null || xdotool windowfocus "${full:-$id}"
xdotool key a
wait_exit 20
check "a key ends the screen saver" test -z "$VYR_PID"
check "key exit status 0" test "${EXIT_STATUS:-1}" -eq 0

# Windows reports the pointer where a new window appears under it: that
# first report, at (100, 100), is the reference.
xdotool mousemove 100 100
start_vyr /s
id=$(wait_window)
sleep 1
xdotool mousemove 107 103
sleep 1
check "a 10-pixel move does not end the screen saver" kill -0 "$VYR_PID"
xdotool mousemove 108 103
wait_exit 20
check "an 11-pixel move ends the screen saver" test -z "$VYR_PID"
check "pointer exit status 0" test "${EXIT_STATUS:-1}" -eq 0
check "the screen saver saves nothing" test ! -e VYR.ini

# Preview: the control panel's preview switch with a window handle.
start_vyr /p 1234
wait_exit 20
check "/p 1234 returns" test -z "$VYR_PID"
check "/p 1234 exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
check "/p 1234 prints nothing" test ! -s out.txt
check "/p 1234 opens no window" test -z "$(xdotool search --name '^VYR' 2>/dev/null)"

finish
