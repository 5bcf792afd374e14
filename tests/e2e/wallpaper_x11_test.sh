# vyr --wallpaper on X11 under a real window manager (openbox): a desktop
# window below a normal window started before it, taking no focus, even
# when clicked, on every workspace, with a picture on each of two monitors
# (the screen split in two RandR monitors), idle while covered, following a
# new screen size.
source "$(dirname "$0")/lib.sh"

for tool in openbox xmessage; do
  command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
HOME=$WORK openbox >openbox.log 2>&1 &
HOST_PIDS="$!"
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done

xmessage -geometry 400x300+100+100 -name normal "a normal window" &
HOST_PIDS="$HOST_PIDS $!"
for _ in $(seq 100); do normal=$(xdotool search --classname '^normal$' | head -1); [[ -n $normal ]] && break; sleep 0.1; done
xdotool windowactivate --sync "$normal" 2>/dev/null
xrandr --setmonitor left 640/0x1024/0+0+0 screen >/dev/null && xrandr --setmonitor right 640/0x1024/0+640+0 none
start_vyr --wallpaper --seed 1
for _ in $(seq 100); do id=$(xdotool search --classname '^vyr$' | head -1); [[ -n $id ]] && break; sleep 0.1; done
check "the wallpaper's window appears" test -n "$id"
check "it is a desktop window" grep -q _NET_WM_WINDOW_TYPE_DESKTOP <(xprop -id "$id" _NET_WM_WINDOW_TYPE)
check "it shows a picture" wait_lit "$id"
read -r _ lit _ total _ < <("$VYR_TEST_HOST" --probe-area 608,0,64x1024)
read -r _ screenLit _ screenTotal _ < <("$VYR_TEST_HOST" --probe-area 0,0,1280x1024)
check "a picture on each monitor: the band at the seam is dark ($lit of $total lit, $screenLit of $screenTotal)" \
  test $((lit * screenTotal * 4)) -lt $((screenLit * total))
# Bottom to top: the wallpaper before the normal window.
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | awk '{for (i = 5; i <= NF; i++) print $i}'; }
below() { [[ $(stacking | grep -nx "$(printf '0x%x' "$1")" | cut -d: -f1) -lt \
           $(stacking | grep -nx "$(printf '0x%x' "$2")" | cut -d: -f1) ]]; }
check "it stays below the normal window started before it" below "$id" "$normal"
check "the normal window keeps the focus" test "$(xdotool getwindowfocus)" = "$((normal))"
xdotool mousemove 1000 800 click 1
sleep 0.5
check "a click on the wallpaper neither focuses it" test "$(xdotool getwindowfocus)" != "$id"
check "nor raises it" below "$id" "$normal"
xdotool set_desktop 1
sleep 0.5
check "on the second workspace it is still shown" \
  grep -q IsViewable <(xwininfo -id "$(xwininfo -tree -id "$id" | awk '/Parent window id:/ {print $4}')")
xdotool set_desktop 0 windowsize "$normal" 1300 1100 windowmove "$normal" 0 0
sleep 1
check "covered by a window, it spends no processor time" test "$(cpu_over_2s "$VYR_PID")" -le 2
xdotool windowsize "$normal" 400 300
sleep 1
check "uncovered, it draws again" test "$(cpu_over_2s "$VYR_PID")" -gt 2
xrandr --fb 1024x768 >/dev/null 2>&1  # Xvfb takes the size though it complains of its output
sleep 1
check "a new screen size: the window follows" test "$(window_size "$id")" = "$(window_size "$(xwininfo -root | awk '/Window id:/ {print $4}')")"
check "still running" kill -0 "$VYR_PID"
check "it reads the settings file of a hosted run" \
  test "$("$VYR" --wallpaper --help | tail -1)" = "$("$VYR" --root --help | tail -1)"
(( FAILURES )) && { echo "--- openbox"; cat openbox.log; }
finish
