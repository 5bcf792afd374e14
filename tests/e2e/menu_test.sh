# The overlay menu in the real program: Escape hides and shows it, arrow and
# page keys change settings live, s saves them, the next start applies them,
# and the f shortcut switches to full screen.
source "$(dirname "$0")/lib.sh"

# Configure mode starts with the menu shown, title highlighted. Escape hides
# it: the arrows that follow must change nothing.
start_vyr /c
id=$(wait_window)
check "configure mode opens a window" test -n "$id"
sleep 0.5
keys "$id" Escape Down Down Down Down Down Down Down Right
# Shown again, still on the title row: down to "Motion blur" (the separator is
# skipped), two choices right, then the frame rate: Page Up and Shift+Right.
keys "$id" Escape Down Down Down Down Down Down Down Right Right Down Prior shift+Right
# Second page: "Rounded points" off with Enter, then Space turns "Blend color
# method :" one choice on.
keys "$id" Up Up Up Up Up Up Up Up Up Right Down Return Down space
keys "$id" s
wait_exit 5
check "s ends the program" test -z "$VYR_PID"
check "s exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
# A busy machine may add the too-slow warning; it is not about the save.
check "nothing is printed on a successful save" test "$(grep -vc "TOO SLOW" out.txt)" -eq 2
check "motion blur saved as 3 (keys while hidden were ignored)" grep -qx "Motion blur=3" VYR.ini
check "frame rate 40 +10 (Page Up) +10 (Shift+Right)" grep -qx "Requested frame rate: %d=60" VYR.ini
check "Enter toggled rounded points" grep -qx "Rounded points=0" VYR.ini
check "Space moved the blend method" grep -qx "Blend color method :=1" VYR.ini
cp VYR.ini first.ini

# The next start reads the file: saving again at once writes the same values.
start_vyr /c
id=$(wait_window)
check "second start opens a window" test -n "$id"
sleep 0.5
check "second start finds the file" test "$(grep -c "Cannot read" out.txt)" -eq 0
keys "$id" s
wait_exit 5
check "settings applied at the next start" cmp -s VYR.ini first.ini

# f switches to full screen at the next step, without the menu.
start_vyr /c
id=$(wait_window)
sleep 0.5
keys "$id" Escape f
screen=$(xdotool getdisplaygeometry | tr ' ' x)
full=""
for _ in $(seq 50); do
  for w in $(xdotool search --name '^VYR' 2>/dev/null); do
    xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: $screen" && full=$w
  done
  [[ -n $full ]] && break
  sleep 0.1
done
check "f switches to a full-screen window" test -n "$full"
keys "${full:-$id}" q
wait_exit 5
check "q exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
check "q saves nothing" cmp -s VYR.ini first.ini

# ---- Display scale: at 192 dpi (Xft.dpi) the configure window opens at
# 1280x960 and the menu panel is twice as tall as at 96 dpi.
panel_height() { "$VYR_TEST_HOST" --panel "$1" | awk '{print $2}'; }
xrdb -merge <<<"Xft.dpi: 96"
start_vyr /c --luminance 0
id=$(wait_window)
sleep 1
at96=$(panel_height "$id")
kill "$VYR_PID"; wait_exit 2
Xvfb -displayfd 3 -screen 0 1920x1200x24 -dpi 192 -nolisten tcp 3>dpi.txt 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [[ -s dpi.txt ]] && break; sleep 0.05; done
DISPLAY=":$(tr -d '\n' <dpi.txt)"
xrdb -merge <<<"Xft.dpi: 192"
start_vyr /c --luminance 0
id=$(wait_window)
sleep 1
at192=$(panel_height "$id")
check "at 192 dpi the configure window is 1280x960" test "$(window_size "$id")" = 1280x960
check "at 192 dpi the menu panel is at least 1.8 times as tall ($at192 and $at96 pixels)" \
  test $((at192 * 10)) -ge $((at96 * 18)) -a "$at96" -gt 0
kill "$VYR_PID"; wait_exit 2
kill "$xvfb"

finish
