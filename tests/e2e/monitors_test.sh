# Two monitors side by side (run by tests/with-xorg-dummy, not under Xvfb):
# the Linux screen saver draws one picture per monitor, none at the seam, and
# follows a monitor switched off and on again; the screen saver goes on under
# a pointer at rest on either monitor and while the monitors change under it.
# Given tests/windows/wine-scr as $2, only the Windows step: vyr.scr under
# wine covers both monitors, goes on under the pointer while the layout
# changes, and a click on the second ends it.
source "$(dirname "$0")/lib.sh"
WINE_SCR=${2:-}
LEFT=0,0,1280x1024 RIGHT=1280,0,1280x1024 SEAM=1216,0,128x1024

# Prints "lit L of N box X0 Y0 X1 Y1" for a screen area X,Y,WxH.
area() { "$VYR_TEST_HOST" --probe-area "$1"; }
# Waits up to $3 seconds until window $1 has the size $2.
wait_size() {
  for _ in $(seq $(($3 * 10))); do [[ $(window_size "$1") == "$2" ]] && return 0; sleep 0.1; done
  return 1
}

if [[ -z $WINE_SCR ]]; then
  start_vyr --seed 1
  id=$(wait_window)
  check "the window spans both monitors" test "$(window_size "$id")" = 2560x1024
  check "the left monitor shows a picture" wait_area_lit $LEFT
  check "the right monitor shows a picture" wait_area_lit $RIGHT
  # Dark next to the pictures: lit at under a quarter of the screen's rate
  # (one picture across both monitors has its middle there).
  read -r _ lit _ total _ < <(area $SEAM)
  read -r _ screenLit _ screenTotal _ < <(area 0,0,2560x1024)
  check "the 128-pixel band around the seam is dark ($lit of $total lit, $screenLit of $screenTotal on the screen)" \
    test $((lit * screenTotal * 4)) -lt $((screenLit * total))

  xrandr --output DUMMY1 --off
  sleep 2
  check "the window follows the remaining monitor within 2 s" test "$(window_size "$id")" = 1280x1024
  read -r _ lit _ _ _ x0 _ x1 _ < <(area $LEFT)
  centre=$(((x0 + x1) / 2))
  check "the picture stays centred on the remaining monitor (lit $x0..$x1)" test "$lit" -gt 0 -a "$centre" -gt 384 -a "$centre" -lt 896

  xrandr --fb 2560x1024 && xrandr --output DUMMY1 --mode 1280x1024 --pos 1280x0
  check "the window follows a monitor added again" wait_size "$id" 2560x1024 2
  check "the added monitor shows a picture" wait_area_lit $RIGHT 2
  check "still running" kill -0 "$VYR_PID"
  kill "$VYR_PID"; wait_exit 5

  # The screen saver under a pointer at rest, while its window grows over the
  # monitors and the layout changes under it; a real move still ends it.
  # Each line: what | pointer x y | layout change while it runs.
  SWAP="xrandr --output DUMMY0 --pos 1280x0 --output DUMMY1 --pos 0x0"
  UNSWAP="xrandr --output DUMMY0 --pos 0x0 --output DUMMY1 --pos 1280x0"
  while IFS='|' read -r what pointer change; do
    xdotool mousemove $pointer
    start_vyr /s --seed 1
    wait_window >/dev/null
    sleep 2
    [[ -n $change ]] && { eval "$change"; sleep 2; }
    check "$what: the saver goes on" kill -0 "$VYR_PID"
    xdotool mousemove_relative 11 0
    wait_exit 5
    check "$what: a move of 11 pixels ends it with status 0" test "${EXIT_STATUS:-1}" = 0
  done <<CASES
the pointer on the left monitor|600 500|
the pointer on the right monitor|1900 500|
the monitors swapped under the pointer|600 500|$SWAP; sleep 1; $UNSWAP
the right monitor cloned onto the left|600 500|xrandr --output DUMMY1 --same-as DUMMY0
CASES
else
  source "$(dirname "$0")/../windows/lib.sh"  # longer waits under wine
  VYR=$WINE_SCR
  # Windows takes the pointer's first report as the reference for moves.
  xdotool mousemove 1900 500
  start_vyr /s --seed 1
  id=$(wait_window)
  check "/s opens a window" test -n "$id"
  check "/s covers both monitors" wait_size "$id" 2560x1024 20
  check "/s: the left monitor shows a picture" wait_area_lit $LEFT 30
  check "/s: the right monitor shows a picture" wait_area_lit $RIGHT 30
  # The pointer rests on the second monitor while the layout changes under
  # it (the virtual screen's origin moves with a monitor left of the primary).
  while IFS='|' read -r what change; do
    eval "$change"
    sleep 3
    check "/s: $what: the saver goes on" kill -0 "$VYR_PID"
  done <<CASES
the pointer resting on the second monitor|
the monitors swapped under the pointer|xrandr --output DUMMY0 --pos 1280x0 --output DUMMY1 --pos 0x0
the monitor left of the primary removed|xrandr --output DUMMY1 --off
the monitor left of the primary added again|xrandr --output DUMMY1 --mode 1280x1024 --pos 0x0
CASES
  xdotool click 1
  wait_exit 20
  check "a click on the second monitor ends the screen saver" test -z "$VYR_PID"
fi
finish
