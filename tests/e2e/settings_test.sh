# The settings file around the real program: reset empties it, cancel leaves
# it, save rewrites it whole, and a folder, pipe or device in its place gives
# the messages without holding up start-up. Runs a host or a desktop starts
# keep the user's own file; a run in a folder keeps that folder's.
source "$(dirname "$0")/lib.sh"

run_with_key() {  # start in configure mode with more arguments, press one key, wait for the exit
  start_vyr /c "${@:2}"
  local id
  id=$(wait_window)
  sleep 0.5
  keys "$id" "$1"
  wait_exit 5 || fail "$1 did not end the program"
}

# A partial, hand-edited file: saving writes every row, the values kept.
printf '; mine\n[VYR Version 1.0]\r\nMotion blur=4\r\n  Limit CPU usage=7\n[ATTRACTOR]\nMax attractor degree : %%d=99\n' >VYR.ini
run_with_key s
check "save exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
check "save writes the whole menu" test "$(grep -c '^\[' VYR.ini)" -eq 4
check "loaded value kept" grep -qx "Motion blur=4" VYR.ini
check "nonzero check-box value saved as 1" grep -qx "Limit CPU usage=1" VYR.ini
check "out-of-range degree clamped to 15" grep -qx "Max attractor degree : %d=15" VYR.ini
check "no temporary file left" test "$(ls -A | grep -c 'VYR.ini.')" -eq 0

# Cancel: nothing written.
cp VYR.ini before.ini
run_with_key q
check "cancel exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
check "cancel leaves the file" cmp -s VYR.ini before.ini

# Reset: the file exists and is empty; the message.
run_with_key r
check "reset exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
check "reset empties the file" test -f VYR.ini -a ! -s VYR.ini
check "reset prints its message" grep -qx "Settings reset, restart the application" out.txt

# An empty file gives the defaults.
run_with_key s
check "empty file saves the defaults" grep -qx "Motion blur=1" VYR.ini

# A folder named VYR.ini: the message, status 0, the folder untouched.
rm VYR.ini
mkdir VYR.ini
touch VYR.ini/keep
run_with_key s
check "save over a folder exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
check "save over a folder prints the message" grep -qx "Cannot write fileVYR.ini" out.txt
check "the folder is left as it was" test -d VYR.ini -a -f VYR.ini/keep
check "no temporary file left after the failure" test "$(ls -A | grep -c 'VYR.ini.')" -eq 0

# A pipe and an endless device: start-up goes on with the defaults; save and
# reset give the message and leave them as they were.
rm -rf VYR.ini
for kind in pipe device; do
  for key in s r; do
    if [[ $kind == pipe ]]; then mkfifo VYR.ini; else ln -s /dev/zero VYR.ini; fi
    run_with_key "$key"
    check "$kind, $key: exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
    check "$kind, $key: start-up could not read it" grep -qx "Cannot read file VYR.ini" out.txt
    check "$kind, $key: the write is refused" grep -qx "Cannot write fileVYR.ini" out.txt
    check "$kind, $key: left as it was" test -p VYR.ini -o -c VYR.ini
    check "$kind, $key: nothing else written" test "$(ls -A | grep -c 'VYR.ini')" -eq 1
    rm -f VYR.ini
  done
done

# ---- Where each run keeps its settings, as --help names it: hosted, desktop
# entry, terminal, HOME unset or empty (the password database), a relative
# XDG_CONFIG_HOME (ignored), and the file kept in the home folder before.
rm -rf VYR.ini
H=$WORK/home
mkdir "$H"
PASSWD_HOME=$(getent passwd "$(id -u)" | cut -d: -f6)
while IFS='|' read -r what environment arguments want; do
  [[ $what == "old file"* ]] && echo old >"$H/VYR.ini"
  got=$(env $environment "$VYR" $arguments --help | sed -n 's/^Settings file of this run: //p; s/^Read from \(.*\) until.*/read from \1/p')
  check "$what: $want" test "$(echo $got)" = "$want"
  rm -f "$H/VYR.ini"
done <<EOT
terminal|HOME=$H|/c|VYR.ini in the current folder
hosted in a window|HOME=$H|--window-id 0x400001|$H/.config/vyr/VYR.ini
hosted in the root window|HOME=$H XDG_CONFIG_HOME=$WORK/config|--root|$WORK/config/vyr/VYR.ini
desktop entry|HOME=$H|/c --user-settings|$H/.config/vyr/VYR.ini
relative XDG_CONFIG_HOME ignored|HOME=$H XDG_CONFIG_HOME=config|--root|$H/.config/vyr/VYR.ini
HOME unset|-u HOME|--root|$PASSWD_HOME/.config/vyr/VYR.ini
HOME empty|HOME=|/c --user-settings|$PASSWD_HOME/.config/vyr/VYR.ini
old file in the home folder only|HOME=$H|/c --user-settings|$H/.config/vyr/VYR.ini read from $H/VYR.ini
old file in the home folder, terminal|HOME=$H|/c|VYR.ini in the current folder
EOT

# ---- Saves: a desktop entry makes the user's folder at its first save and
# moves the file kept in the home folder there; a terminal run saves here.
mkdir elsewhere
printf '[VYR Version 1.0]\nMotion blur=4\n' >"$H/VYR.ini"
cd elsewhere
HOME=$H run_with_key s --user-settings
cd "$WORK"
check "desktop entry: saved in the user's folder" grep -qx "Motion blur=4" "$H/.config/vyr/VYR.ini"
check "desktop entry: that folder is the user's alone" test "$(stat -c %a "$H/.config/vyr")" = 700
check "desktop entry: the home folder's file moved" test ! -e "$H/VYR.ini"
check "desktop entry: nothing written in the current folder" test "$(ls -A elsewhere | tr '\n' ' ')" = "err.txt out.txt "
HOME=$H run_with_key s
check "terminal: saved in the current folder" grep -qx "Motion blur=1" VYR.ini
check "terminal: the user's file untouched" grep -qx "Motion blur=4" "$H/.config/vyr/VYR.ini"

# ---- Messages about the user's file: the program's line, then its full path and the reason.
rm "$H/.config/vyr/VYR.ini"
mkdir "$H/.config/vyr/VYR.ini"
HOME=$H run_with_key s --user-settings
for line in "Cannot read file VYR.ini" "Cannot write fileVYR.ini"; do
  check "user's file: \"$line\", then its path and reason" \
    test "$(grep -x -A1 "$line" out.txt | tail -1)" = "$H/.config/vyr/VYR.ini: not a regular file"
done

finish
