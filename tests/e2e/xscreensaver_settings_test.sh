# xscreensaver's settings app lists VYR from the generated vyr.xml: it reads
# the file without a warning, starts VYR's preview, and opens VYR's dialog
# (Alt+S, its Settings button) no taller than 700 pixels. The app refuses to run
# as root, so it runs as a throwaway user; vyr.xml reaches its fixed config
# folder through a bind mount in a private mount namespace.
source "$(dirname "$0")/lib.sh"
XML=$(dirname "$VYR")/share/vyr.xml
CONFIG=/usr/share/xscreensaver/config

skip() { echo "SKIP: $*"; exit 77; }
command -v xscreensaver-settings >/dev/null || skip "xscreensaver-settings is not installed"
[[ -d $CONFIG ]] || skip "$CONFIG does not exist"
(( EUID == 0 )) || skip "needs root to add a throwaway user and bind-mount vyr.xml into $CONFIG"
command -v useradd >/dev/null && command -v runuser >/dev/null || skip "useradd or runuser missing"
unshare -m true 2>/dev/null || skip "no private mount namespace here (unshare -m fails)"

USER_NAME=vyrx$$
USER_HOME=/tmp/$USER_NAME
useradd -M -d "$USER_HOME" -s /bin/sh "$USER_NAME" || skip "useradd failed"
stop_user() {  # the settings app and its preview: the user's processes, by id
  local uid status key real pid
  uid=$(id -u "$USER_NAME") || return
  for status in /proc/[0-9]*/status; do
    while read -r key real _; do
      [[ $key == Uid: ]] || continue
      pid=${status#/proc/}
      [[ $real == "$uid" ]] && kill "${pid%/status}" 2>/dev/null
      break
    done 2>/dev/null <"$status"
  done
}
trap 'stop_user; sleep 0.3; userdel "$USER_NAME" 2>/dev/null; rm -rf "$USER_HOME"; cleanup' EXIT

mkdir -p "$USER_HOME/config" "$USER_HOME/bin"
cp "$XML" "$USER_HOME/config/"
cp "$VYR" "$USER_HOME/bin/vyr"
printf 'mode: one\nselected: 0\nprograms: GL: "VYR" vyr --root \\n\\\n' >"$USER_HOME/.xscreensaver"
chown -R "$USER_NAME" "$USER_HOME"

unshare -m sh -c "mount --bind '$USER_HOME/config' '$CONFIG' &&
  exec runuser -u '$USER_NAME' -- env -i HOME='$USER_HOME' DISPLAY='$DISPLAY' PATH='$USER_HOME/bin:/usr/bin:/bin' \
    timeout 60 xscreensaver-settings --debug" >settings.txt 2>&1 &
APP=$!
for _ in $(seq 300); do
  grep -qE 'forked [0-9]+ \(vyr\)' settings.txt && break
  kill -0 "$APP" 2>/dev/null || break
  sleep 0.1
done
sleep 1  # warnings about the file come with its reading, before the preview starts
app_window=$(xdotool search --onlyvisible --name '^XScreenSaver: ' | head -1)
xdotool windowfocus "$app_window" 2>/dev/null
xdotool key alt+s
for _ in $(seq 50); do
  dialog=$(xdotool search --onlyvisible --name '^XScreenSaver: ' | grep -vx "$app_window" | head -1)
  [[ -n $dialog ]] && break
  sleep 0.1
done
size=$(window_size "${dialog:-0}")
name=$(xdotool getwindowname "${dialog:-0}" 2>/dev/null)
echo "VYR's dialog: $size, $name"
stop_user
wait "$APP" 2>/dev/null

check "the settings app reads vyr.xml" grep -qE "reading $CONFIG/vyr.xml" settings.txt
check "the settings app finds nothing wrong in it" test "$(grep -c 'vyr.xml: ' settings.txt)" -eq 0
check "the settings app starts VYR's preview" grep -qE 'forked [0-9]+ \(vyr\)' settings.txt
check "VYR's dialog opens, named VYR" test "$name" = "XScreenSaver: VYR Settings"
check "VYR's dialog fits a 768-line laptop screen: at most 700 pixels tall" test "${size#*x}" -le 700
(( FAILURES )) && cat settings.txt
finish
