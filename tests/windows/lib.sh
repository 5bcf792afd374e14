# Helpers of the Windows end-to-end tests, sourced after tests/e2e/lib.sh:
# under wine a program starts more slowly, so the waits are longer.

# Waits up to 40 s for the program's window; prints its X id.
wait_window() {
  local id
  for _ in $(seq 400); do
    id=$(xdotool search --name '^VYR' 2>/dev/null | head -1)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
