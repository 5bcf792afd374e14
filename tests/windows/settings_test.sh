# vyr.scr under wine: /c:HWND opens the configure window with the menu shown,
# keys change values, s saves a VYR.ini with Windows line ends that the Linux
# build reads back to the same values, and the reverse; a VYR.ini that
# cannot be written is reported and leaves nothing behind. Started by
# Windows, in its system folder, the settings live in %APPDATA%\VYR.
# $1: tests/windows/wine-scr, $2: the Linux vyr.
LINUX_VYR=${2:?usage: $0 wine-scr linux-vyr}
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/lib.sh"

# Starts the Linux build instead of vyr.scr.
start_linux() {
  "$LINUX_VYR" "$@" >out.txt 2>err.txt &
  VYR_PID=$!
}

# Saves with s in the window just started, and waits for the exit.
save_and_wait() {
  local id
  id=$(wait_window)
  sleep 1
  keys "$id" "$@" s
  wait_exit 20
}

every_line_ends_in_crlf() { ! grep -qv $'\r$' "$1"; }
same_values() { cmp -s <(tr -d '\r' <"$1") <(tr -d '\r' <"$2"); }

# The settings button of the control panel passes /c: and a window handle.
# From the title row: seven rows down is "Motion blur" (one choice right),
# then "Requested frame rate" (Page Up: +10). The keys reach the menu only
# when it is shown.
start_vyr /c:1234
save_and_wait Down Down Down Down Down Down Down Right Down Prior
check "/c:1234 saves with s and exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
check "the menu was shown: motion blur moved" grep -q "^Motion blur=2"$'\r'"\$" VYR.ini
check "frame rate 40 + 10" grep -q "^Requested frame rate: %d=50"$'\r'"\$" VYR.ini
check "every line of the Windows file ends in CR LF" every_line_ends_in_crlf VYR.ini
cp VYR.ini windows.ini

# The Linux build reads the Windows file: saved again at once, the same values.
start_linux /c
save_and_wait
check "Linux reads the Windows file" test "$(grep -c "Cannot read" out.txt)" -eq 0
check "Linux reads the Windows values back" same_values VYR.ini windows.ini

# The reverse: Linux changes motion blur again; Windows reads and saves.
start_linux /c
save_and_wait Down Down Down Down Down Down Down Right
cp VYR.ini linux.ini
check "Linux saved a new value" grep -qx "Motion blur=3" linux.ini
start_vyr /c:1234
save_and_wait
check "Windows reads the Linux file" test "$(grep -c "Cannot read" out.txt)" -eq 0
check "Windows reads the Linux values back" same_values VYR.ini linux.ini
check "Windows writes CR LF again" every_line_ends_in_crlf VYR.ini

# A folder named VYR.ini cannot be replaced: the message, status 0, and
# nothing new beside it.
rm VYR.ini
mkdir VYR.ini
before=$(ls -A | grep -v '^out.txt$\|^err.txt$')
start_vyr /c
save_and_wait
check "unwritable: exit status 0" test "${EXIT_STATUS:-1}" -eq 0
check "unwritable: the write message" grep -qx $'Cannot write fileVYR.ini\r\\?' out.txt
check "unwritable: the folder stays, empty" test -d VYR.ini -a -z "$(ls -A VYR.ini)"
check "unwritable: nothing left behind" test "$(ls -A | grep -v '^out.txt$\|^err.txt$')" = "$before"

# Started in the system folder, as Windows starts a saver: /c saves into
# %APPDATA%\VYR\VYR.ini, making the folder, and /s started there reads it.
SYSTEM=$WINEPREFIX/drive_c/windows/system32
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/VYR
start_in_system_folder() { (cd "$SYSTEM" && exec "$VYR" "$@") >out.txt 2>err.txt & VYR_PID=$!; }
start_in_system_folder /c:1234
save_and_wait Down Down Down Down Down Down Down Right
saved=$(ls "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/VYR/VYR.ini 2>/dev/null)
check "system folder: s saves into %APPDATA%\\VYR\\VYR.ini" grep -q "^Motion blur=2"$'\r'"\$" "${saved:-/nonexistent}"
check "system folder: nothing saved there" test ! -e "$SYSTEM/VYR.ini"
start_in_system_folder /s
keys "$(wait_window)" a
wait_exit 20
check "system folder: /s reads the saved file" test "$(grep -c "Cannot read" out.txt)" -eq 0
check "system folder: /s leaves it as it was" grep -q "^Motion blur=2"$'\r'"\$" "${saved:-/nonexistent}"

finish
