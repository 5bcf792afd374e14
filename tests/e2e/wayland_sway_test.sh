# The Wayland back end under sway (headless, drawn by pixman) with two
# 640x480 outputs side by side, run by a throwaway user (sway refuses root):
# the saver started by hand and by swayidle, scale 2, and the wallpaper.
source "$(dirname "$0")/lib.sh"

for tool in sway swaymsg swayidle grim wtype weston-terminal python3; do
  command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[[ -x ${VYR_TEST_POINTER:-} ]] || { echo "SKIP: built without the Wayland back end"; exit 77; }
make_saver_user
install -m 755 "$VYR_TEST_POINTER" "$SAVER_HOME/pointer"
# swaybg would stack over a later background surface in sway 1.7: none runs.
cat >"$SAVER_HOME/sway.conf" <<'EOF'
swaybg_command -
output HEADLESS-1 resolution 640x480 position 0 0
output HEADLESS-2 resolution 640x480 position 640 0
output HEADLESS-3 resolution 800x600 position 1280 0
EOF
start_compositor WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$SAVER_HOME/sway.conf"
for _ in $(seq 100); do ls "$RUN"/sway-ipc.*.sock >/dev/null 2>&1 && break; sleep 0.1; done
SWAYSOCK=$(ls "$RUN"/sway-ipc.*.sock 2>/dev/null | head -1)
sway() { wl swaymsg "$@" >/dev/null; }
sway create_output

# vyr as the user; VYR_PID and its output in out.txt, err.txt.
start_wl() {
  wl env --default-signal=INT ${VYR_ENV:-} "$SAVER_VYR" --seed 1 "$@" >out.txt 2>err.txt &
  VYR_PID=$!
  # The last run's picture may still be on screen: the new process counts first.
  for _ in $(seq 100); do [[ -n $(saver_vyr_pid) ]] && break; sleep 0.1; done
  wait_area_lit "${SHOWN:-HEADLESS-2}" 20 >/dev/null  # the second output is free in every case
}
# "lit L of N peaks P" for a screen area X,Y,WxH (grim's layout pixels) or an
# output's name: L pixels brighter than 40 of N, P one pixel wide bright peaks.
# The grey (63) sway shows where nothing is drawn does not count as lit.
area() {
  local where=(-o "$1")
  [[ $1 != *,* ]] || where=(-g "$(sed -E 's/^([0-9]+,[0-9]+),/\1 /' <<<"$1")")
  wl grim -t ppm "${where[@]}" - | python3 -c '
import sys
d = sys.stdin.buffer.read().split(b"\n", 3)
w, h = map(int, d[1].split()); p = d[3]
lum = [0 if p[3*i:3*i+3] == bytes([63] * 3) else (p[3*i] * 3 + p[3*i+1] * 6 + p[3*i+2]) // 10 for i in range(w * h)]
lit = sum(v > 40 for v in lum)
peaks = sum(1 for y in range(h) for x in range(1, w - 1)
            if lum[y*w+x] > lum[y*w+x-1] + 24 and lum[y*w+x] > lum[y*w+x+1] + 24)
print("lit", lit, "of", w * h, "peaks", peaks)'
}
running() { sleep 1; kill -0 "$VYR_PID" 2>/dev/null; }
ends_with() { wait_exit 5 && test "$EXIT_STATUS" = "$1"; }
stop_vyr() { kill "$(saver_vyr_pid)" 2>/dev/null; wait "$VYR_PID" 2>/dev/null; VYR_PID=""; }
# Opens a terminal window on output $1 and waits up to 10 s for it.
terminal_on() {
  local before
  before=$(wl swaymsg -t get_tree | grep -c '"app_id": "org.freedesktop.weston')
  sway focus output "$1"
  wl weston-terminal >/dev/null 2>&1 &
  for _ in $(seq 50); do
    (( $(wl swaymsg -t get_tree | grep -c '"app_id": "org.freedesktop.weston') > before )) && break
    sleep 0.2
  done
  sleep 0.5
}

# ---- Saver: a picture per output, the seam dark; what ends it -------------------
start_wl
check "saver: the left output shows a picture" wait_area_lit 0,0,640x480
check "saver: the right output shows a picture" wait_area_lit 640,0,640x480
seam_dark() {
  read -r _ lit _ total _ < <(area 608,0,64x480)
  read -r _ screenLit _ screenTotal _ < <(area 0,0,1280x480)
  echo "$lit of $total lit, $screenLit of $screenTotal"
  (( lit * screenTotal * 4 < screenLit * total ))
}
seam=$(seam_dark)
check "saver: the band around the seam is dark ($seam)" test $? = 0
wl "$SAVER_HOME/pointer" move 5 0
check "saver: a 5 px move does not end it" running
wl "$SAVER_HOME/pointer" move 20 0
check "saver: a 20 px move ends it with status 0" ends_with 0
for ending in "key:wtype -s 1000 a" "button:$SAVER_HOME/pointer click" "SIGTERM:kill -TERM"; do
  start_wl
  if [[ ${ending#*:} == kill* ]]; then kill -TERM "$(saver_vyr_pid)"; status=143; else wl ${ending#*:}; status=0; fi
  check "saver: ${ending%%:*} ends it with status $status" ends_with $status
  stop_vyr
done

# Frames composed in memory go to the outputs in wl_shm buffers of vyr's own
# (XRGB8888, two per output, made once per size; EGL's are made per frame),
# seen in the requests WAYLAND_DEBUG prints: "N M", N of the last 40 buffers
# attached vyr's, M made.
shm_frames() {
  python3 -c '
import re, sys
ours, made, shown = set(), 0, []
for l in open("err.txt"):
    m = re.search(r"create_buffer\(new id wl_buffer@(\d+), .*, (\d+)\)$", l)
    if m: ours.discard(m[1]); made += m[2] == "1"; ours |= {m[1]} if m[2] == "1" else set()
    m = re.search(r"attach\(wl_buffer@(\d+)", l)
    if m: shown.append(m[1] in ours)
print(sum(shown[-40:]), made)'
}
VYR_ENV=WAYLAND_DEBUG=client start_wl --renderer memory
sleep 2
wait_area_lit HEADLESS-1 >/dev/null; lit=$?
read -r ours made < <(shm_frames)
seam=$(seam_dark); dark=$?
check "memory frames: the last 40 shown are vyr's wl_shm buffers ($ours; $made made), both outputs lit, the seam dark ($seam)" \
  test "$ours" = 40 -a "$made" = 4 -a "$lit" = 0 -a "$dark" = 0
sway output HEADLESS-2 resolution 800x600  # now drawn there, and scaled on HEADLESS-1
sleep 2
wait_area_lit HEADLESS-1 >/dev/null; lit=$?
read -r ours made < <(shm_frames)
check "memory frames: the smaller output gets them scaled by a viewport ($ours of the last 40 vyr's, lit: $lit)" \
  test "$ours" = 40 -a "$lit" = 0 -a -n "$(grep 'set_destination(640, 480)' err.txt)"
sway output HEADLESS-2 resolution 640x480
stop_vyr

# ---- An idle daemon starts it, as the README's line does ---------------------------------
wl swayidle -w timeout 1 "$SAVER_VYR --user-settings --seed 1" >>"$WORK/host.log" 2>&1 &
for _ in $(seq 50); do [[ -n $(saver_vyr_pid) ]] && break; sleep 0.1; done
check "swayidle starts the saver after its timeout" test -n "$(saver_vyr_pid)"
check "swayidle's saver covers the outputs" wait_area_lit 0,0,1280x480
wl wtype -s 1000 a
for _ in $(seq 50); do [[ -z $(saver_vyr_pid) ]] && break; sleep 0.1; done
check "a key ends swayidle's saver" test -z "$(saver_vyr_pid)"
kill $(ps -u "$SAVER_USER" -o pid=,comm= | awk '$2 == "swayidle" {print $1}')

# ---- Scale 2: the output's buffers at full resolution ----------------------------------
start_wl --no-rounded-points --attenuation 100 --sharpness 200
sway output HEADLESS-1 scale 2
sleep 2
read -r _ lit _ _ _ peaks < <(area HEADLESS-1)
# A picture drawn at 320x240 and scaled up has no one-pixel peaks; drawn at
# 640x480 its lone points are peaks (how many depends on the load: a fifth of
# the lit pixels and more where frames go straight to the compositor).
check "scale 2: the picture is drawn at 640x480 ($peaks one-pixel peaks, $lit lit)" \
  test "$lit" -gt 50 -a $((peaks * 10)) -ge "$lit"
sway output HEADLESS-1 scale 1
stop_vyr

# ---- Wallpaper: behind windows, idle while covered, on a new output --------------------
terminal_on HEADLESS-1
start_wl --wallpaper
check "wallpaper: the free output shows a picture" wait_area_lit 640,0,640x480
read -r _ lit _ total _ < <(area 40,240,560x200)  # inside the terminal, off its frame
check "wallpaper: the window stays on top of it ($lit of $total lit under the window)" test "$lit" -lt $((total / 100))
terminal_on HEADLESS-2
sway '[app_id=".*"]' fullscreen enable
sleep 1
pid=$(saver_vyr_pid)
ticks=$(cpu_over_2s "$pid")
check "wallpaper: no processor time while full-screen windows cover every output ($ticks ticks in 2 s)" test "$ticks" -le 2
sway '[app_id=".*"]' fullscreen disable
sleep 1
check "wallpaper: drawing again once uncovered" test "$(cpu_over_2s "$pid")" -gt 2
sway '[app_id=".*"]' kill
sway create_output
check "wallpaper: an output added gets a picture" wait_area_lit HEADLESS-3
# The frame is now drawn on the larger new output and shown on the others.
moving() { local a; a=$(wl grim -o "$1" - | md5sum); sleep 1; [[ $(wl grim -o "$1" - | md5sum) != "$a" ]]; }
check "wallpaper: the other outputs' pictures still move" moving HEADLESS-2
check "wallpaper: still running" kill -0 "$VYR_PID"
stop_vyr

# ---- Outputs removed and switched off: a sway nested in this one --------------------
# Its outputs are windows here: closing one unplugs that output; hiding them all
# stops their refresh, as switching them off does.
echo 'swaybg_command -' >"$SAVER_HOME/inner.conf"
wl env WLR_BACKENDS=wayland WLR_RENDERER=pixman sway -c "$SAVER_HOME/inner.conf" >>"$WORK/host.log" 2>&1 &
for _ in $(seq 100); do
  INNER=$(cd "$RUN" && ls | grep -E '^wayland-[^.]+$' | grep -vx "$WL")
  INNER_SOCK=$(ls "$RUN"/sway-ipc.*.sock | grep -vx "$SWAYSOCK")
  [[ -n $INNER && -n $INNER_SOCK ]] && break
  sleep 0.1
done
inner() { WL=$INNER SWAYSOCK=$INNER_SOCK SHOWN=WL-2 "$@"; }
OUTPUTS=1
plug() { OUTPUTS=$((OUTPUTS + 1)); inner sway create_output; }
# Closes the window of the inner output WL-$1 once it is there.
unplug() { for _ in $(seq 50); do sway "[title=\"WL-$1\$\"] kill" && return; sleep 0.1; done; }
plug
inner start_wl --wallpaper
sway '[app_id=wlroots] move scratchpad'
sleep 1
ticks=$(cpu_over_2s "$(saver_vyr_pid)")
check "wallpaper: no processor time while every output is off ($ticks ticks in 2 s)" test "$ticks" -le 2
sway '[app_id=wlroots] scratchpad show, resize set 400 300'
check "wallpaper: drawing again once they are on" inner moving WL-2
unplug 1  # of two alike the first shows the frame
check "wallpaper: the remaining output's picture still moves after one is removed" inner moving WL-2
for _ in $(seq 16); do plug; unplug $OUTPUTS; done
plug
check "wallpaper: an output plugged in after 16 were unplugged gets a picture" inner wait_area_lit WL-$OUTPUTS
check "wallpaper: still running" kill -0 "$VYR_PID"
stop_vyr
sway '[app_id=wlroots] floating enable, resize set 400 300'
inner start_wl
unplug 2  # the frame's own, shown last, so sway gave its surface the keyboard
check "saver: still running after an output is removed" running
inner wl wtype -s 1000 a
check "saver: a key still ends it" ends_with 0

if (( FAILURES )); then echo "--- sway"; cat "$WORK/host.log"; fi
finish
