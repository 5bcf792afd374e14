# vyr-setup.exe in a fresh wine prefix: a silent install puts vyr.scr into
# the system folder, an uninstall entry into the registry and, with /ACTIVE,
# VYR as the active screen saver, announced to every program as a change of
# SPI_SETSCREENSAVEACTIVE (17) so that it holds at once; the silent
# uninstall removes all three and announces that too.
# $1: tests/windows/wine-scr.
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/lib.sh"
export WINEPREFIX=$WORK/prefix
trap 'wineserver --kill 2>/dev/null; cleanup' EXIT
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VYR'
SYSTEM=$WINEPREFIX/drive_c/windows/system32

# The value $2 of registry key $1, empty if there is none.
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v {print $3; exit}'; }

wine wineboot --init >/dev/null 2>&1
# A program's window, hearing the setting changes the system announces (it
# ends at SPI_SETSCREENSAVEACTIVE, or after 20 s); the waits for the wine
# server take it in.
listen() {
  wine "$WINDOWS_BUILD/vyr-test-panel.exe" listen 17 20000 >changes.txt 2>/dev/null &
  for _ in $(seq 300); do grep -q listening changes.txt && break; sleep 0.1; done
}
announced() { grep -qx "setting-change 17" changes.txt; }
listen
wine "$WINDOWS_BUILD/vyr-setup.exe" /S /ACTIVE >/dev/null 2>&1
wineserver --wait
check "install: vyr.scr in the system folder" cmp -s "$SYSTEM/vyr.scr" "$SCR"
uninstaller=$(reg_value "$UNINSTALL_KEY" UninstallString)
check "install: an uninstall entry in the registry ($uninstaller)" test -n "$uninstaller"
check "install: /ACTIVE makes VYR the active screen saver" \
  test "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" = 'C:\windows\system32\vyr.scr'
check "install: the change is announced to every program" announced
check "install: the screen saver is on" test "$(reg_value 'HKCU\Control Panel\Desktop' ScreenSaveActive)" = 1

listen
wine 'C:\Program Files\VYR\uninstall.exe' /S >/dev/null 2>&1
wineserver --wait  # the uninstaller runs on from a copy of itself
check "uninstall: vyr.scr is gone" test ! -e "$SYSTEM/vyr.scr"
check "uninstall: the uninstall entry is gone" test -z "$(reg_value "$UNINSTALL_KEY" UninstallString)"
check "uninstall: VYR is no longer the active screen saver" \
  test -z "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)"
check "uninstall: the change is announced to every program" announced
finish
