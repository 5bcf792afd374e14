# The real xsecurelock runs VYR (through a wrapper adding --root) in the
# window it names in XSCREENSAVER_WINDOW, above every other window: the
# saver's pixels are what the screen shows. It runs as a throwaway user.
source "$(dirname "$0")/lib.sh"

if ! command -v xsecurelock >/dev/null; then
  echo "SKIP: xsecurelock is not installed"
  exit 77
fi
make_saver_user
printf '#!/bin/sh\nexec %s --root\n' "$SAVER_VYR" >"$SAVER_HOME/saver"
chmod 755 "$SAVER_HOME/saver"
# The folder the saver runs in cannot be written by the user, as with xsecurelock.
chown root "$SAVER_HOME"

# No compositing manager runs under Xvfb: draw in plain windows.
start_as_saver_user env XSECURELOCK_SAVER="$SAVER_HOME/saver" XSECURELOCK_NO_COMPOSITE=1 xsecurelock
root=$(xwininfo -root | awk '/Window id:/ {print $4; exit}')
child=$(hosted_window "$root")
check "xsecurelock: VYR's window appears" test -n "$child"
check "xsecurelock: inside the window it names" \
  grep -q '"saver_multiplex_screen"' <(xwininfo -id "$child" -tree 2>/dev/null)
# At nice 10 on a busy machine the first frames can take a while.
check "xsecurelock: the saver's pixels are on the screen" wait_lit "$root" 20
vyr=$(saver_vyr_pid)
kill "$SAVER_PID"  # unlocking needs a password; ending the locker ends its savers
for _ in $(seq 50); do [[ -z $(saver_vyr_pid) ]] && break; sleep 0.1; done
check "xsecurelock ended: VYR ends" test -z "$(saver_vyr_pid)"
if (( FAILURES )); then echo "--- xsecurelock"; cat "$WORK/host.log"; fi
finish
