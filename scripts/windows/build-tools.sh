#!/bin/sh
# Builds the Windows (mingw-w64) tool folder from Debian's own sources:
# sqlite3 as a DLL, GoogleTest, and qtbase 6.4.2 (core, gui, widgets, sql with the sqlite
# and odbc drivers, the windows/offscreen/minimal platforms). About 45 minutes on 2 cores.
# KORVEX_WIN_ARCH=x86_64 (default, folder /opt/korvex-win) or i686 (folder /opt/korvex-win32);
# KORVEX_WIN_TOOLS overrides the folder.
# Needs: g++-mingw-w64-<arch>-posix gcc-mingw-w64-<arch>-posix mingw-w64-tools libwine-dev
#        cmake ninja-build pkg-config tcl qt6-base-dev qt6-base-dev-tools libgtest-dev
set -e
ARCH=${KORVEX_WIN_ARCH:-x86_64}
case $ARCH in
  x86_64) W=${KORVEX_WIN_TOOLS:-/opt/korvex-win}; PROC=AMD64 ;;
  i686) W=${KORVEX_WIN_TOOLS:-/opt/korvex-win32}; PROC=X86 ;;
  *) echo "build-tools: unknown architecture $ARCH (x86_64 or i686)" >&2; exit 2 ;;
esac
T=$ARCH-w64-mingw32
HERE=$(cd "$(dirname "$0")" && pwd)
rm -f $W/.complete
A=$W/apt; mkdir -p $A/parts $A/lists/partial
# source lines made from this machine's own Debian package sources
for f in /etc/apt/sources.list.d/*.sources; do
  grep -q 'Suites: bookworm' "$f" && sed 's/^Types: deb$/Types: deb-src/' "$f" > $A/parts/$(basename "$f")
done
APT="-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts=$A/parts -o Dir::State::Lists=$A/lists -o Debug::NoLocking=1"
apt-get $APT update
mkdir -p $W/src && cd $W/src
apt-get $APT source --download-only qt6-base=6.4.2+dfsg-10 sqlite3
rm -rf qtbase-everywhere-src-6.4.2 sqlite3-3.40.1
tar xf qt6-base_6.4.2+dfsg.orig.tar.xz && tar xf sqlite3_3.40.1.orig.tar.xz
Q=$W/src/qtbase-everywhere-src-6.4.2
(cd $Q && tar xf ../qt6-base_6.4.2+dfsg-10.debian.tar.xz && for p in $(grep -v '^#' debian/patches/series); do patch -p1 -s < debian/patches/$p; done)
# -no-feature-direct2d breaks the link of qwindows.dll upstream
(cd $Q && patch -p1 < $HERE/patches/qt-direct2d-off.patch)
# Debian's source drops src/3rdparty/wintab: Wine's headers serve behind a wrapper
mkdir -p $Q/src/3rdparty/wintab
cp /usr/include/wine/wine/windows/pktdef.h $Q/src/3rdparty/wintab/
cp /usr/include/wine/wine/windows/wintab.h $Q/src/3rdparty/wintab/wine_wintab.h
cp $HERE/patches/wintab-wrapper.h $Q/src/3rdparty/wintab/wintab.h
# sqlite must be one DLL: Qt's driver and the program share its handle
mkdir -p $W/build-sqlite $W/sysroot/include $W/sysroot/lib/pkgconfig $W/sysroot/bin && cd $W/build-sqlite
$W/src/sqlite3-3.40.1/configure --disable-tcl >/dev/null && make sqlite3.c >/dev/null
$T-gcc-posix -O2 -fno-strict-aliasing -DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_COLUMN_METADATA \
  -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_FTS3_PARENTHESIS -DSQLITE_ENABLE_RTREE=1 -DSQLITE_SOUNDEX=1 \
  -DSQLITE_ENABLE_UNLOCK_NOTIFY -DSQLITE_OMIT_LOOKASIDE=1 -DSQLITE_ENABLE_DBSTAT_VTAB \
  -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1 -DSQLITE_ENABLE_JSON1 -DSQLITE_LIKE_DOESNT_MATCH_BLOBS \
  -DSQLITE_THREADSAFE=1 -DSQLITE_USE_URI=1 -DSQLITE_MAX_SCHEMA_RETRY=25 -DSQLITE_ENABLE_PREUPDATE_HOOK \
  -DSQLITE_ENABLE_SESSION -DSQLITE_ENABLE_STMTVTAB -DSQLITE_MAX_VARIABLE_NUMBER=250000 \
  -DSQLITE_MAX_DEFAULT_PAGE_SIZE=32768 -c sqlite3.c -o sqlite3.o
$T-gcc-posix -shared -o $W/sysroot/bin/libsqlite3-0.dll sqlite3.o -Wl,--out-implib,$W/sysroot/lib/libsqlite3.dll.a
cp sqlite3.h $W/src/sqlite3-3.40.1/src/sqlite3ext.h $W/sysroot/include/
printf 'prefix=${pcfiledir}/../..\nName: SQLite\nDescription: SQLite\nVersion: 3.40.1\nLibs: -L${prefix}/lib -lsqlite3\nCflags: -I${prefix}/include\n' > $W/sysroot/lib/pkgconfig/sqlite3.pc
printf 'Name: ODBC\nDescription: Windows odbc32\nVersion: 3.80\nLibs: -lodbc32\nCflags:\n' > $W/sysroot/lib/pkgconfig/odbc.pc
# the toolchain file names the compilers of the chosen architecture
sed -e "s/x86_64-w64-mingw32/$T/" -e "s/AMD64/$PROC/" $HERE/mingw-toolchain.cmake > $W/mingw-toolchain.cmake
cmake -G Ninja -S /usr/src/googletest -B $W/build-gtest -DCMAKE_TOOLCHAIN_FILE=$W/mingw-toolchain.cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=ON -DCMAKE_INSTALL_PREFIX=$W/sysroot
ninja -C $W/build-gtest install
mkdir -p $W/build-qt && cd $W/build-qt
$Q/configure -prefix $W/qt6-mingw -qt-host-path /usr -release -shared -nomake examples -nomake tests \
  -no-dbus -no-opengl -sql-sqlite -system-sqlite -sql-odbc \
  -no-sql-psql -no-sql-mysql -no-sql-ibase -no-sql-oci -no-sql-db2 \
  -qt-zlib -qt-pcre -qt-libpng -qt-harfbuzz -qt-doubleconversion -no-feature-jpeg -no-feature-gif \
  -no-feature-network -no-feature-xml -no-feature-testlib -no-feature-concurrent \
  -no-feature-printsupport -no-feature-vulkan -no-feature-androiddeployqt -no-feature-direct2d \
  -- -DCMAKE_TOOLCHAIN_FILE=$W/mingw-toolchain.cmake -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
     -DSQLite3_INCLUDE_DIR=$W/sysroot/include -DSQLite3_LIBRARY=$W/sysroot/lib/libsqlite3.dll.a
nice -n 10 ninja -j"$(nproc)"
cmake --install .
cp -r $HERE/build-tools.sh $HERE/patches $W/
date > $W/.complete
