# A Wayland compositor without layer-shell (weston, headless), run by a
# throwaway user: the saver and the wallpaper say so in one line and end
# with status 1, but the saver opens its X11 window when DISPLAY is set.
source "$(dirname "$0")/lib.sh"

command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
[[ -x ${VYR_TEST_POINTER:-} ]] || { echo "SKIP: built without the Wayland back end"; exit 77; }
make_saver_user
start_compositor weston --backend=headless-backend.so --socket=wayland-weston

for mode in --wallpaper --window; do
  wl env -u DISPLAY "$SAVER_VYR" $mode >out.txt 2>err.txt
  status=$?
  check "no X display: vyr $mode names the missing layer-shell in one line, status 1" \
    test "$status" = 1 -a "$(wc -l <err.txt)" = 1 -a -n "$(grep -i layer-shell err.txt)"
done
wl "$SAVER_VYR" >out.txt 2>err.txt &
VYR_PID=$!
check "with DISPLAY set the saver opens its X11 window instead" wait_window
kill "$(saver_vyr_pid)"
if (( FAILURES )); then echo "--- weston"; cat "$WORK/host.log"; fi
finish
