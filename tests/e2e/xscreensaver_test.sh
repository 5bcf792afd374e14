# The real xscreensaver runs VYR as a GL hack with --root: VYR draws inside
# xscreensaver's window and the screen is lit; cycling ends it by the
# signal, as xscreensaver expects of a hack (its log says so: it logs a
# hack's exit only when it cycles), and starts it again; deactivating ends
# it. xscreensaver refuses to run hacks as root, so it runs as a throwaway user.
source "$(dirname "$0")/lib.sh"

if ! command -v xscreensaver >/dev/null || ! command -v xscreensaver-command >/dev/null; then
  echo "SKIP: xscreensaver is not installed"
  exit 77
fi
make_saver_user
cat >"$SAVER_HOME/.xscreensaver" <<EOT
mode:		one
selected:	0
splash:		False
lock:		False
fade:		False
unfade:		False
timeout:	1:00:00
cycle:		0:00:08
programs:	GL: $SAVER_VYR --root \\n
EOT
chown "$SAVER_USER" "$SAVER_HOME/.xscreensaver"

start_as_saver_user xscreensaver -no-splash -verbose
for _ in $(seq 100); do as_saver_user xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.1; done
as_saver_user xscreensaver-command -activate >/dev/null  # -select would not cycle
root=$(xwininfo -root | awk '/Window id:/ {print $4; exit}')
child=$(hosted_window "$root")
check "xscreensaver: VYR's window appears" test -n "$child"
parent=$(xwininfo -id "$child" -tree 2>/dev/null | awk '/Parent window id:/ {print $4, $5; exit}')
check "xscreensaver: VYR draws inside xscreensaver's window" grep -q '"XScreenSaver"' <<<"$parent"
check "xscreensaver: it fills that window" test "$(window_size "$child")" = "$(window_size "${parent%% *}")"
vyr=$(saver_vyr_pid)
check "xscreensaver: VYR runs as its hack" test -n "$vyr"
# At nice 10 on a busy machine the first frames can take a while.
check "xscreensaver: the screen is lit and coloured" wait_lit "$root" 20
exited=""
for _ in $(seq 300); do
  exited=$(grep -E "pid $vyr \(.*\) (exited|unexpectedly)" "$WORK/host.log")
  [[ -n $exited ]] && break
  sleep 0.1
done
echo "xscreensaver cycling: ${exited:-nothing logged}"
check "xscreensaver cycles: VYR exits normally by SIGTERM" grep -q "exited normally with SIGTERM" <<<"$exited"
again=""
for _ in $(seq 100); do again=$(saver_vyr_pid); [[ -n $again && $again != "$vyr" ]] && break; sleep 0.1; done
check "xscreensaver cycles: VYR runs again" test -n "$again" -a "$again" != "$vyr"
as_saver_user xscreensaver-command -deactivate >/dev/null
for _ in $(seq 50); do [[ -z $(saver_vyr_pid) ]] && break; sleep 0.1; done
check "xscreensaver -deactivate ends VYR" test -z "$(saver_vyr_pid)"
check "xscreensaver: no abnormal exit logged" test "$(grep -c 'abnormally' "$WORK/host.log")" -eq 0
as_saver_user xscreensaver-command -exit >/dev/null
if (( FAILURES )); then echo "--- xscreensaver"; cat "$WORK/host.log"; fi
finish
