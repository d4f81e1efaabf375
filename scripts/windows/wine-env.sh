# Sourced by scripts/windows-test and scripts/windows-screenshot. Sets up Wine to run the
# Windows build of $KORVEX_WIN_ARCH (x86_64 or i686): a prefix that starts programs, and the
# search paths of the build's DLLs and Qt plugins. Sets win_build, tools and target.
arch=${KORVEX_WIN_ARCH:-x86_64}
case $arch in
  x86_64) win_build=${KORVEX_WIN_BUILD_DIR:-build-win64}; tools=${KORVEX_WIN_TOOLS:-/opt/korvex-win} ;;
  i686) win_build=${KORVEX_WIN_BUILD_DIR:-build-win32}; tools=${KORVEX_WIN_TOOLS:-/opt/korvex-win32} ;;
  *) echo "KORVEX_WIN_ARCH must be x86_64 or i686, not $arch" >&2; exit 2 ;;
esac
target=$arch-w64-mingw32

wine_packages=(wine wine64)
# KORVEX_WINE32=1 asks for Wine's 32-bit half with the 64-bit build too (the setup program).
if [ "$arch" = i686 ] || [ -n "${KORVEX_WINE32:-}" ]; then
  # 32-bit Windows programs need Wine's 32-bit half, from Debian's i386 packages.
  dpkg --print-foreign-architectures | grep -qx i386 || {
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO dpkg --add-architecture i386
  }
  # and its ODBC calls reach the 32-bit driver manager and SQLite driver (the ODBC tests)
  wine_packages+=(wine32:i386 libodbc2:i386 libsqliteodbc:i386)
fi
wine_missing=()
for p in "${wine_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || wine_missing+=("$p")
done
if [ ${#wine_missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${wine_missing[@]}" >/dev/null
fi

export WINEPREFIX=${KORVEX_WINEPREFIX:-$HOME/.wine-korvex}
export WINEDEBUG=-all
# no Mono or Gecko installer dialogs: the program needs neither
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_starts() {
  wine cmd /c exit 0 >/dev/null 2>&1 || return 1
  # a 32-bit program too, when the 32-bit half is asked for
  if [ "$arch" = i686 ] || [ -n "${KORVEX_WINE32:-}" ]; then
    wine 'C:\windows\syswow64\cmd.exe' /c exit 0 >/dev/null 2>&1 || return 1
  fi
}
if ! wine_starts; then
  # A prefix made by another Wine (say before wine32 came) may start nothing: make it anew.
  echo "Wine: making the prefix $WINEPREFIX (about 20 s, once)"
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wine_starts || { echo "Wine does not start programs in $WINEPREFIX" >&2; exit 1; }
fi
gcc_dir=$(dirname "$("$target-g++-posix" -print-libgcc-file-name)")
WINEPATH="$(winepath -w "$tools/qt6-mingw/bin");$(winepath -w "$tools/sysroot/bin")"
WINEPATH+=";$(winepath -w "$gcc_dir");$(winepath -w "/usr/$target/lib")"
export WINEPATH
QT_PLUGIN_PATH=$(winepath -w "$tools/qt6-mingw/plugins")
export QT_PLUGIN_PATH
