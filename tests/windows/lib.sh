# Helpers of the Windows end-to-end tests, sourced after tests/e2e/lib.sh:
# under wine a program starts more slowly, so the waits are longer.
WINDOW_WAIT_SECONDS=40
