# The wine set-up of the Windows tests: one private prefix under
# build-windows/, quiet, without the .NET and HTML engine installers.
# Sourced; $ROOT is the source tree.
export WINEPREFIX=${WINEPREFIX:-$ROOT/build-windows/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
