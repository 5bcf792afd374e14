# The Debian package built by CPack: its files, its control fields, lintian,
# and, on a throwaway machine (CI=true, root), installing it with apt-get and
# running the installed program.
source "$(dirname "$0")/../e2e/lib.sh"
BUILD=$(cd "$(dirname "$VYR")" && pwd)

cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/deb" >cpack.txt 2>&1 || { cat cpack.txt; fail "cpack"; finish; }
DEB=$(ls "$WORK"/deb/vyr_*.deb)
VERSION=$("$VYR" --version | grep -oE '[0-9][0-9.]*$')
check "the package is named after the version the program prints" test "$(basename "$DEB")" = "vyr_${VERSION}_$(dpkg --print-architecture).deb"

dpkg-deb -c "$DEB" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 ($7 == "->" ? " -> " $8 : "") }' | sort >files.txt
cat >expected.txt <<'LIST'
usr/bin/vyr
usr/libexec/xscreensaver/vyr -> ../../bin/vyr
usr/share/applications/screensavers/vyr.desktop
usr/share/applications/vyr.desktop
usr/share/doc/vyr/README.md
usr/share/doc/vyr/changelog.gz
usr/share/doc/vyr/copyright
usr/share/icons/hicolor/16x16/apps/vyr.png
usr/share/icons/hicolor/256x256/apps/vyr.png
usr/share/icons/hicolor/32x32/apps/vyr.png
usr/share/icons/hicolor/48x48/apps/vyr.png
usr/share/man/man6/vyr.6.gz
usr/share/metainfo/example.vyr.VYR.metainfo.xml
usr/share/xscreensaver/config/vyr.xml
LIST
check "dpkg-deb -c lists exactly the expected files" diff expected.txt files.txt
check "every file belongs to root" test "$(dpkg-deb -c "$DEB" | awk '$2 != "root/root"' | wc -l)" -eq 0
check "the control file carries the version" test "$(dpkg-deb -f "$DEB" Version)" = "$VERSION"
depends=$(dpkg-deb -f "$DEB" Depends)
check "dependencies come from the libraries the program links (shlibdeps)" \
  grep -qE 'libc6 .*libglut' <<<"$depends"
if ldd "$VYR" | grep -q libwayland-client; then
  check "the Wayland back end's libraries are dependencies" \
    test -n "$(grep libwayland-client0 <<<"$depends" | grep libwayland-egl1 | grep libegl1)"
fi
dpkg-deb --fsys-tarfile "$DEB" | tar -xO ./usr/share/man/man6/vyr.6.gz | gzip -dc >man.txt
check "the packaged manual page is the generated one" cmp -s man.txt "$BUILD/share/vyr.6"

# lintian: errors fail the test, warnings are shown.
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$DEB" >lintian.txt 2>&1
  grep -E '^[EW]: ' lintian.txt
  check "lintian reports no error" test "$(grep -c '^E: ' lintian.txt)" -eq 0
else
  echo "lintian is not installed: not run"
fi

# Installing it, only where the machine is thrown away afterwards.
if [[ ${CI:-} == true && $EUID -eq 0 ]]; then
  export DEBIAN_FRONTEND=noninteractive
  if (cd "$WORK/deb" && apt-get -o DPkg::Lock::Timeout=900 install -y -q "./$(basename "$DEB")") >apt.txt 2>&1; then
    pass "apt-get installs the package"
  else
    fail "apt-get installs the package"
    cat apt.txt
  fi
  check "the installed program is on the path" test "$(vyr --version)" = "$("$VYR" --version)"
  /usr/libexec/xscreensaver/vyr /p >out.txt 2>err.txt
  check "xscreensaver's path runs it (preview)" test $? -eq 0 -a ! -s out.txt -a ! -s err.txt
  check "the manual page is installed" test -f /usr/share/man/man6/vyr.6.gz
  # As xscreensaver runs it: --root with XSCREENSAVER_WINDOW naming a stand-in host.
  if [[ -x ${VYR_TEST_HOST:-} ]]; then
    "$(dirname "$0")/../with-xvfb" bash -c '
      source "$1/e2e/lib.sh" /usr/libexec/xscreensaver/vyr
      start_host --size 320x240
      XSCREENSAVER_WINDOW=$HOST_ID "$VYR" --root --luminance 150 >out.txt 2>err.txt &
      VYR_PID=$!
      check "installed: draws inside the host window" hosted_window "$HOST_ID"
      sleep 3
      check "installed: the host shows the picture" lit_and_coloured "$HOST_ID"
      kill "$VYR_PID"
      wait_exit 3 || fail "installed: SIGTERM did not end it"
      check "installed: SIGTERM ends it by the signal" test "${EXIT_STATUS:-1}" -eq 143
      check "installed: no complaint on stderr" test ! -s err.txt
      finish' _ "$(cd "$(dirname "$0")/.." && pwd)" >hosted.txt 2>&1 || FAILURES=$((FAILURES + 1))
    cat hosted.txt
  fi
  apt-get -o DPkg::Lock::Timeout=900 remove -y -q vyr >apt.txt 2>&1
  check "apt-get removes it again" test ! -e /usr/bin/vyr
else
  echo "not installing the package: only as root on a throwaway machine (CI=true)"
fi

finish
