# Helpers of the Windows end-to-end tests, sourced after tests/e2e/lib.sh:
# under wine a program starts more slowly, so the waits are longer.
WINDOW_WAIT_SECONDS=40
WINDOWS_BUILD=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../build-windows" && pwd)
SCR=$WINDOWS_BUILD/vyr.scr
