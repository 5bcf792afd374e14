# KDE's KWin (kwin_wayland --virtual) as a second layer-shell compositor, run
# by a throwaway user: the saver and the wallpaper start there and draw, and
# SIGTERM ends the saver with status 143. KWin offers no screen copy to
# clients, so drawing is seen as processor time between frame callbacks. The
# output has scale 1.5 (fractional scale): the protocol log shows the buffers
# made at full resolution and shown at the logical size through the viewport.
source "$(dirname "$0")/lib.sh"

command -v kwin_wayland >/dev/null || { echo "SKIP: kwin_wayland is not installed"; exit 77; }
[[ -x ${VYR_TEST_POINTER:-} ]] || { echo "SKIP: built without the Wayland back end"; exit 77; }
make_saver_user
# A copy without the file capabilities, which runuser cannot grant; KWin's
# own Qt platform wants the program's name to stay kwin_wayland.
mkdir "$SAVER_HOME/kwin" && install -m 755 "$(command -v kwin_wayland)" "$SAVER_HOME/kwin/kwin_wayland"
start_compositor "$SAVER_HOME/kwin/kwin_wayland" --virtual --width 640 --height 480 --scale 1.5 \
  --socket wayland-kwin --no-lockscreen
full_resolution() { grep -q 'create_buffer(.*, 960, 720, ' wl.txt && grep -q 'set_destination(640, 480)' wl.txt; }

for mode in --window --wallpaper; do
  wl env -u DISPLAY WAYLAND_DEBUG=client --default-signal=INT "$SAVER_VYR" --seed 1 $mode \
    >out.txt 2>err.txt &  # no X11 fallback
  VYR_PID=$!
  for _ in $(seq 50); do [[ -n $(saver_vyr_pid) ]] && break; sleep 0.1; done
  sleep 2
  pid=$(saver_vyr_pid)
  ticks=$(cpu_over_2s "$pid")
  grep '^\[' err.txt >wl.txt; sed -i '/^\[/d' err.txt  # the protocol log apart from vyr's own lines
  check "vyr $mode runs and draws on KWin ($ticks ticks in 2 s, stderr: $(head -1 err.txt))" \
    test "$ticks" -gt 2 -a ! -s err.txt
  kill -TERM "$pid"
  wait_exit 5
  check "SIGTERM ends vyr $mode with status 143" test "$EXIT_STATUS" = 143
  check "vyr $mode draws in 960x720 buffers shown at 640x480 (scale 1.5)" full_resolution
done
if (( FAILURES )); then echo "--- kwin"; cat "$WORK/host.log"; fi
finish
