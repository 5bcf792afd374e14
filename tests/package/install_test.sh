# cmake --install into a staging folder: the files and where they go, the
# xscreensaver link to the one program, and the installed program runs.
source "$(dirname "$0")/../e2e/lib.sh"
BUILD=$(cd "$(dirname "$VYR")" && pwd)

cmake --install "$BUILD" --prefix "$WORK/stage" >install.txt 2>&1 || { cat install.txt; fail "cmake --install"; }
(cd stage && find . -mindepth 1 ! -type d -printf '%P\n' | sort) >files.txt
cat >expected.txt <<'LIST'
bin/vyr
libexec/xscreensaver/vyr
share/applications/screensavers/vyr.desktop
share/applications/vyr.desktop
share/doc/vyr/LICENSE
share/doc/vyr/README.md
share/icons/hicolor/16x16/apps/vyr.png
share/icons/hicolor/256x256/apps/vyr.png
share/icons/hicolor/32x32/apps/vyr.png
share/icons/hicolor/48x48/apps/vyr.png
share/man/man6/vyr.6
share/metainfo/example.vyr.VYR.metainfo.xml
share/xscreensaver/config/vyr.xml
LIST
check "the staging folder holds exactly the expected files" diff expected.txt files.txt
check "libexec/xscreensaver/vyr is a relative link" test "$(readlink stage/libexec/xscreensaver/vyr)" = ../../bin/vyr
check "the link reaches the program" test stage/libexec/xscreensaver/vyr -ef stage/bin/vyr
check "the installed settings file is the generated one" cmp -s stage/share/xscreensaver/config/vyr.xml "$BUILD/share/vyr.xml"
check "the installed manual page is the generated one" cmp -s stage/share/man/man6/vyr.6 "$BUILD/share/vyr.6"
check "the installed program runs from the link" test "$(stage/libexec/xscreensaver/vyr --version)" = "$("$VYR" --version)"
stage/libexec/xscreensaver/vyr /p >out.txt 2>err.txt
check "the installed program previews silently" test $? -eq 0 -a ! -s out.txt -a ! -s err.txt

# DESTDIR puts the same tree under a root of its own.
DESTDIR=$WORK/dest cmake --install "$BUILD" --prefix /usr >install.txt 2>&1
check "DESTDIR install under usr" test -x dest/usr/bin/vyr -a -L dest/usr/libexec/xscreensaver/vyr

finish
