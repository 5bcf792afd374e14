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

finish
