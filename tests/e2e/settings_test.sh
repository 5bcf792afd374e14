# The settings file around the real program: reset empties it, cancel leaves
# it, save rewrites it whole, and a folder, pipe or device in its place gives
# the messages without holding up start-up.
source "$(dirname "$0")/lib.sh"

run_with_key() {  # start in configure mode, press one key, wait for the exit
  start_vyr /c
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

finish
