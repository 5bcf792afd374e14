# The files the build generates or installs beside the program, each checked
# by its own validator, and the generated ones held against the option table
# as the program itself prints it in its usage text.
source "$(dirname "$0")/../e2e/lib.sh"
BUILD=$(cd "$(dirname "$VYR")" && pwd)
DATA=$(cd "$(dirname "$0")/../../data" && pwd)
XML=$BUILD/share/vyr.xml
MAN=$BUILD/share/vyr.6

"$VYR" --help >help.txt 2>err.txt
# One line per entry: continuation lines joined to the option line.
awk '/^  [^ ]/ { if (e) print e; e = $0; next } /^   / { sub(/^ +/, " "); e = e $0; next }
     { if (e) print e; e = "" } END { if (e) print e }' help.txt >entries.txt
sed -n '/^Settings/,/^$/p' help.txt | grep -oE -- '^  --[a-z0-9-]+' | sed 's/^  --//' | sort >settings.txt
entry() { grep -E -- "^  --$1[ ,]" entries.txt; }
check "the usage text lists the twenty settings" test "$(wc -l <settings.txt)" -eq 20

# ---- xscreensaver settings file ----------------------------------------------
check "vyr.xml is well-formed" xmllint --noout "$XML"
xpath() { xmllint --xpath "$1" "$XML" 2>/dev/null; }
check "vyr.xml names the saver" test "$(xpath 'string(/screensaver/@name)')/$(xpath 'string(/screensaver/@_label)')" = vyr/VYR
check "vyr.xml runs it with --root" test "$(xpath 'string(/screensaver/command/@arg)')" = --root
check "vyr.xml has a description" test -n "$(xpath 'normalize-space(/screensaver/_description)')"
xpath '//*[self::boolean or self::select or self::number]/@id' | grep -oE '"[^"]+"' | tr -d '"' | sort >xml-ids.txt
check "one vyr.xml element per setting option, the full-screen ones left out" \
  cmp -s xml-ids.txt <(grep -v '^fullscreen' settings.txt)
check "vyr.xml in three columns" test "$(xpath 'count(/screensaver/hgroup/vgroup)')" -eq 3

# Every control starts "as saved", passing nothing, so the file's value is
# used; every other position passes its value.
for id in $(cat xml-ids.txt); do
  e=$(entry "$id")
  kind=$(xpath "name(//*[@id='$id'])")
  case $kind in
  select)
    first=$(xpath "string(//select[@id='$id']/option[1]/@_label)")
    check "$id: the first choice is \"as saved\" and passes nothing" \
      test "${first##*: }/$(xpath "count(//select[@id='$id']/option[1]/@arg-set)")" = "as saved/0"
    args=$(xpath "//select[@id='$id']/option/@arg-set" | grep -oE '"[^"]+"' | tr -d '"' | tr '\n' ' ')
    if grep -q "on or off" <<<"$e"; then
      want="--$id --no-$id "
    else
      want=$(for k in $(seq 0 $(($(grep -oE '[0-9]+=' <<<"$e" | wc -l) - 1))); do printf -- '--%s %s ' "$id" "$k"; done)
    fi
    check "$id: every other choice passes its value" test "$args" = "$want" ;;
  number)
    low=$(xpath "string(//number[@id='$id']/@low)")
    high=$(xpath "string(//number[@id='$id']/@high)")
    read -r min max < <(grep -oE ': [-0-9.]+ to [-0-9.]+' <<<"$e" | awk '{print $2, $4}')
    check "$id: slider up to the top of its range" test "$high" = "$max"
    check "$id: the slider's default is its \"as saved\" end, below its range" \
      test "$(xpath "string(//number[@id='$id']/@default)")/$(xpath "string(//number[@id='$id']/@_low-label)")" = "$low/as saved" -a \
        "$(awk -v l="$low" -v m="$min" 'BEGIN {print (l < m)}')" = 1
    check "$id: slider passes its value" test "$(xpath "string(//number[@id='$id']/@arg)")" = "--$id %" ;;
  *) fail "$id: unexpected element $kind" ;;
  esac
done

# ---- Manual page --------------------------------------------------------------
groff -man -ww -z "$MAN" >groff.txt 2>&1
check "groff reads vyr.6 without a warning" test ! -s groff.txt
groff -man -Tascii -P-cbou -rLL=250n "$MAN" >man.txt 2>/dev/null
for section in "RUN MODES" "HOSTED RUN" "SETTING OPTIONS" KEYS FILES ENVIRONMENT "EXIT STATUS"; do
  check "vyr.6 has the section $section" grep -qx "$section" man.txt
done
grep -oE -- '--[a-z0-9-]*[a-z0-9]' help.txt | sort -u >help-options.txt
grep -oE -- '--[a-z0-9-]*[a-z0-9]' man.txt | sort -u >man-options.txt
check "vyr.6 and --help list the same options" diff help-options.txt man-options.txt
check "vyr.6 carries the version" grep -qF "$("$VYR" --version)" man.txt

# ---- Desktop entries ------------------------------------------------------------
for f in vyr.desktop vyr-screensaver.desktop; do
  check "$f passes desktop-file-validate" desktop-file-validate "$DATA/$f"
done
check "the application entry opens the configure window with the user's settings" \
  grep -qx "Exec=vyr /c --user-settings" "$DATA/vyr.desktop"
check "the screen-saver entry runs a hosted run" grep -qx "Exec=vyr --root" "$DATA/vyr-screensaver.desktop"
check "the screen-saver entry is a screen saver" grep -qx "Categories=Screensaver;" "$DATA/vyr-screensaver.desktop"
for f in vyr.desktop vyr-screensaver.desktop; do
  check "$f names the installed icon" grep -qx "Icon=vyr" "$DATA/$f"
done

# ---- AppStream metainfo and icons -----------------------------------------------
check "appstreamcli validates the metainfo" appstreamcli validate --no-net "$DATA/example.vyr.VYR.metainfo.xml"
check "the metainfo carries the version" grep -qF "<release version=\"$("$VYR" --version | grep -oE '[0-9][0-9.]*$')\"" \
  "$DATA/example.vyr.VYR.metainfo.xml"
for size in 16 32 48 256; do
  check "the ${size}-pixel icon is ${size}x${size}" \
    grep -q "PNG image data, $size x $size" <(file "$BUILD/share/icons/vyr-$size.png")
done
# At 16 pixels on a dark taskbar (#202020): the share of the icon brighter
# than the taskbar by a quarter of full brightness, and the corners that
# show the taskbar through it.
read -r standing corners < <(/usr/bin/python3 - "$BUILD/share/icons/vyr-16.png" <<'PY'
import sys
from PIL import Image
icon = Image.open(sys.argv[1]).convert("RGBA")
bar = Image.new("RGBA", icon.size, (32, 32, 32, 255))
bar.alpha_composite(icon)
lum = [0.2126 * r + 0.7152 * g + 0.0722 * b for r, g, b, _ in bar.getdata()]
print(sum(l >= 32 + 64 for l in lum) * 100 // len(lum), sum(icon.getpixel(p)[3] < 128 for p in ((0, 0), (15, 0), (0, 15), (15, 15))))
PY
)
check "the 16-pixel icon reads on a dark taskbar: half of it stands out (${standing:-?} %)" test "${standing:-0}" -ge 50
check "the icon is no opaque square: its corners show the taskbar" test "${corners:-0}" -eq 4

finish
