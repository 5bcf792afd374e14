# Two monitors side by side (run by tests/with-xorg-dummy, not under Xvfb):
# the Linux screen saver draws one picture per monitor, none at the seam, and
# follows a monitor switched off and on again. Given tests/windows/wine-scr
# as $2, only the Windows step: vyr.scr under wine covers both monitors and
# a click on the second ends it.
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
  xdotool click 1
  wait_exit 20
  check "a click on the second monitor ends the screen saver" test -z "$VYR_PID"
fi
finish
