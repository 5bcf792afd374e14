# vyr.scr as Windows and Explorer read it, from its PE headers: a GUI
# program, and its four resources (the name, the icon, the version, the
# manifest with per-monitor DPI awareness); and the installer's own icon and
# version.
# $1: tests/windows/wine-scr, $2: the Linux vyr (for the version).
LINUX_VYR=${2:?usage: $0 wine-scr linux-vyr}
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/lib.sh"

# One "name value..." line per fact of each file, read with pefile.
facts() {
/usr/bin/python3 - "$1" <<'PY' || fail "pefile reads $1"
import struct, sys, pefile
pe = pefile.PE(sys.argv[1])
print("subsystem", pe.OPTIONAL_HEADER.Subsystem)
kinds = {e.id: e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries}
def data(kind):
    lang = kinds[kind].directory.entries[0].directory.entries[0]
    return pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
if 6 in kinds:
    for block in kinds[6].directory.entries:
        for number, text in block.directory.strings.items():
            print("string", number, text)
if 14 in kinds:  # the icon group: 6 bytes of header, 14 per image; a width of 0 is 256
    group = data(14)
    widths = sorted(group[6 + 14 * i] or 256 for i in range(struct.unpack_from("<H", group, 4)[0]))
    print("icon", *widths)
for info in getattr(pe, "FileInfo", [[]])[0]:
    for table in getattr(info, "StringTable", []):
        print("version", table.entries.get(b"ProductVersion", b"").decode())
if 24 in kinds:
    manifest = data(24).decode()
    print("dpiAwareness", manifest.split("<dpiAwareness", 1)[1].split(">", 1)[1].split("<", 1)[0])
    print("supportedOS", manifest.count("<supportedOS "))
PY
}
facts "$SCR" >facts.txt
facts "$WINDOWS_BUILD/vyr-setup.exe" | sed 's/^/installer /' >>facts.txt

version=$("$LINUX_VYR" --version | grep -oE '[0-9][0-9.]*$')
while IFS='|' read -r what fact; do
  check "$what" grep -qxF "$fact" facts.txt
done <<TABLE
a GUI program: no console window|subsystem 2
the name the control panel lists (string 1)|string 1 VYR
an icon at 16, 32, 48 and 256 pixels|icon 16 32 48 256
version information of the project|version $version
manifest: per-monitor DPI awareness v2|dpiAwareness PerMonitorV2, PerMonitor
manifest: the supported OS list|supportedOS 4
the installer: VYR's icon, not NSIS's|installer icon 16 32 48 256
the installer: version information of the project|installer version $version
TABLE
grep -q . facts.txt || cat facts.txt
finish
