# Start-up and run modes of the real program.
source "$(dirname "$0")/lib.sh"

# Preview: returns 0 at once, prints nothing, opens no settings file. A FIFO
# named VYR.ini would block any attempt to open it.
mkfifo VYR.ini
timeout 5 "$VYR" /p >out.txt 2>err.txt
status=$?
check "preview returns 0" test "$status" -eq 0
check "preview prints nothing" test ! -s out.txt -a ! -s err.txt
rm VYR.ini

# Configure: the settings message, then the start-up line, and a 640x480 window.
start_vyr /c
id=$(wait_window)
check "configure mode opens a window" test -n "$id"
sleep 0.5
expected=$'Cannot read file VYR.ini\nEntering main loop, press [Escape] for menu, use arrows to navigate.'
check "configure mode prints the two start-up lines" test "$(head -2 out.txt)" = "$expected"
geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null)
check "configure window is 640x480" grep -q "Geometry: 640x480" <<<"$geometry"
check "configure mode keeps running" kill -0 "$VYR_PID"
kill "$VYR_PID"; wait "$VYR_PID" 2>/dev/null; VYR_PID=""

# Screen saver: full screen (a window covering the screen) until ended.
start_vyr
id=$(wait_window)
check "screen-saver mode opens a window" test -n "$id"
sleep 1
geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null)
screen=$(xdotool getdisplaygeometry | tr ' ' x)
check "screen-saver window covers the screen" grep -q "Geometry: $screen" <<<"$geometry"
check "screen-saver window sits at the origin" grep -q "Position: 0,0" <<<"$geometry"
check "screen-saver mode prints the start-up line" grep -q "^Entering main loop" out.txt
check "screen-saver mode keeps running" kill -0 "$VYR_PID"

finish
