# vyr.scr under wine: /s covers the screen, shown as a popup from the start,
# and ends on a key press, on a pointer move of more than 10 pixels and when
# another window takes the foreground; /p returns 0 at once without a window.
# A frame composed in memory and drawn as a DIB shows OpenGL's pixels.
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

# Where the window stood when it was mapped: its last configuration before
# its first MapNotify, "X,Y WxH", from xev's log $2 of the root's children.
geometry_at_map() {
  awk -v w="window $(printf '0x%x' "$1")," '
    /^[A-Za-z]+ event/ { event = $1 }
    index($0, w) && event == "ConfigureNotify" { match($0, /\(-?[0-9]+,-?[0-9]+\), width [0-9]+, height [0-9]+/); at = substr($0, RSTART, RLENGTH) }
    index($0, w) && event == "CreateNotify" && at == "" { match($0, /\(-?[0-9]+,-?[0-9]+\), width [0-9]+, height [0-9]+/); at = substr($0, RSTART, RLENGTH) }
    index($0, w) && event == "MapNotify" { print at; exit }' "$2"
}

stdbuf -oL xev -root -event substructure >xev.txt 2>&1 &
xev_pid=$!
sleep 0.5
start_vyr /s
id=$(wait_window)
check "/s opens a window" test -n "$id"
full=$(full_screen_window)
check "/s covers the screen" test -n "$full"
screen=$(xdotool getdisplaygeometry)
sleep 0.5; kill "$xev_pid"
at=$(geometry_at_map "${full:-0}" xev.txt)
check "/s shows no title bar: mapped at once over the whole screen ($at)" \
  test "$at" = "(0,0), width ${screen% *}, height ${screen#* }"
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

# Another window taking the foreground ends it, as a Windows screen saver ends.
xdotool mousemove 100 100
start_vyr /s
id=$(wait_window)
full=$(full_screen_window)
sleep 1
xmessage -geometry +900+800 other-window &
other=$!
for _ in $(seq 50); do other_id=$(xdotool search --name '^xmessage$' 2>/dev/null | head -1); [[ -n $other_id ]] && break; sleep 0.1; done
xdotool windowfocus --sync "${full:-$id}" 2>/dev/null || xdotool windowfocus "${full:-$id}"
sleep 1
check "/s is still running beside another window" kill -0 "$VYR_PID"
xdotool windowfocus "$other_id"
wait_exit 20
check "another window taking the foreground ends the screen saver with status 0" test -z "$VYR_PID" -a "${EXIT_STATUS:-1}" = 0
kill "$other" 2>/dev/null

# Preview: the control panel's preview switch with a window handle.
start_vyr /p 1234
wait_exit 20
check "/p 1234 returns" test -z "$VYR_PID"
check "/p 1234 exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
check "/p 1234 prints nothing" test ! -s out.txt
check "/p 1234 opens no window" test -z "$(xdotool search --name '^VYR' 2>/dev/null)"

# One fixed frame composed in memory (tests/windows/present.cpp), in a new
# window for each way of presentation; prints how it went and saves what the
# screen shows there in WAY.png.
present() {
  wine "$WINDOWS_BUILD/vyr-test-present.exe" "$1" >"$1.txt" 2>/dev/null &
  for _ in $(seq 300); do grep -q '^shown' "$1.txt" && break; sleep 0.1; done
  sleep 1  # wine copies a window's drawing to the screen when the program next waits
  read -r _ x y w h transport <"$1.txt"
  /usr/bin/python3 -c 'import sys; from PIL import ImageGrab; x, y, w, h = map(int, sys.argv[2:])
ImageGrab.grab().crop((x, y, x + w, y + h)).save(sys.argv[1])' "$1.png" "$x" "$y" "$w" "$h"
  wait
  echo "${transport%$'\r'}"  # printed in text mode: CR LF
}
same_lit_pixels() {
  /usr/bin/python3 -c 'import sys; from PIL import Image; a, b = (list(Image.open(f).getdata()) for f in sys.argv[1:])
sys.exit(not (a == b and sum(map(any, a)) * 4 > len(a)))' "$1" "$2"
}
check "OpenGL presentation: the frame goes through OpenGL" test "$(present gl)" = none
check "direct presentation: the frame goes to the window as a DIB" test "$(present direct)" = DIB
check "direct presentation shows OpenGL's pixels, a quarter of them lit" same_lit_pixels gl.png direct.png

finish
