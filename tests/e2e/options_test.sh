# Setting options on the real program's command line: they win over VYR.ini
# for the run, and the save command writes the values in effect; bad options
# are named on stderr and the program runs on; --help and --version.
source "$(dirname "$0")/lib.sh"

printf '[VYR Version 1.0]\nMotion blur=4\n[DISPLAY]\nLuminance : %%.0f%%%%=30\nRounded points=1\n[ATTRACTOR]\nMin attractor degree : %%d=10\nMax attractor degree : %%d=12\n' >VYR.ini
start_vyr /c --luminance 150 --no-rounded-points --limit-cpu-usage --max-attractor-degree 4 \
  --cycle-length=99 --bogus --motion-blur
id=$(wait_window)
check "runs despite the bad options" test -n "$id"
sleep 0.5
keys "$id" s
wait_exit 5 || fail "s did not end the program"
check "save exits with status 0" test "${EXIT_STATUS:-1}" -eq 0
check "option value saved" grep -qx "Luminance : %.0f%%=150.000000" VYR.ini
check "check box cleared by --no-" grep -qx "Rounded points=0" VYR.ini
check "check box set" grep -qx "Limit CPU usage=1" VYR.ini
check "out-of-range value clamped" grep -qx "Cycle length : %.1f sec=20.000000" VYR.ini
check "a maximum given alone brings the file's minimum down" \
  grep -qx "Min attractor degree : %d=4" VYR.ini
check "maximum degree saved" grep -qx "Max attractor degree : %d=4" VYR.ini
check "the file's value stays where no option is given" grep -qx "Motion blur=4" VYR.ini
check "one line on stderr per bad option" test "$(wc -l <err.txt)" -eq 2
check "unknown option named with the hint" grep -q -- "--bogus.*vyr --help" err.txt
check "missing value named with the hint" grep -q -- "--motion-blur.*vyr --help" err.txt

# --help and --version end at once with status 0 and never open VYR.ini: a
# FIFO in its place would block them.
rm VYR.ini
mkfifo VYR.ini
timeout 5 "$VYR" --help >out.txt 2>err.txt
check "--help exits 0" test $? -eq 0
check "--help prints the usage" grep -q "^Usage: vyr" out.txt
check "--help lists the options" grep -q -- "--requested-frame-rate N" out.txt
timeout 5 "$VYR" /c --version >out.txt 2>err.txt
check "--version exits 0" test $? -eq 0
check "--version prints the version" test "$(cat out.txt)" = "VYR Version 1.0"
# Preview stays silent whatever else is given.
timeout 5 "$VYR" /p --bogus --luminance x >out.txt 2>err.txt
check "preview with bad options returns 0 silently" test $? -eq 0 -a ! -s out.txt -a ! -s err.txt

finish
