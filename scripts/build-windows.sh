#!/usr/bin/env bash
# Cross-builds Corvane for 64-bit Windows with MinGW-w64 on Debian 12: the command line and
# the desktop program.
# Usage: scripts/build-windows.sh [--deps-only] [TARGET...]
#   Installs what it needs with apt-get (as root), builds the libraries Corvane links from
#   Debian's source packages into a cache folder (once: build-windows-deps/, or
#   $CORVANE_WINDOWS_DEPS), then builds the programs and tests into build-windows/ and,
#   unless TARGETs are named, packs build-windows/corvane-windows-x64.zip for Windows users.
#   --deps-only  stops after the libraries.
# Qt (shared, as DLLs) is Debian's qt6-base source cross-built by build_qt below. A copy built by
# that recipe, checked by its checksum, is unpacked instead where it lies ready
# ($CORVANE_WINDOWS_QT, or ../shared/windows/ beside the source tree): building Qt takes about
# 3,500 seconds of processor time.
# Standard output gets only the build folder; progress goes to standard error.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-windows"
deps="${CORVANE_WINDOWS_DEPS:-$root/build-windows-deps}"
host=x86_64-w64-mingw32
jobs="$(nproc)"
deps_only=false
targets=()
for argument in "$@"; do
    case "$argument" in
    --deps-only) deps_only=true ;;
    -*) echo "usage: $0 [--deps-only] [TARGET...]" >&2; exit 2 ;;
    *) targets+=(--target "$argument") ;;
    esac
done
exec 3>&1 1>&2 # everything but the last line goes to standard error

# The posix thread model: the default win32 variant of g++ 12 has no std::thread. The i686
# compiler builds the add-in for the VB6 IDE, a 32-bit program.
packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools wine64 dpkg-dev autoconf automake libtool
          autopoint pkg-config cmake ninja-build googletest zip unzip fp-compiler fp-utils hunspell-en-us
          qt6-base-dev qt6-base-dev-tools xz-utils fonts-wine)
missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
sources_list=/etc/apt/sources.list.d/corvane-deb-src.sources
if ((${#missing[@]})) || [ ! -f "$sources_list" ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "build-windows: run as root, or install ${missing[*]} and add a deb-src line" >&2
        exit 1
    fi
    if [ ! -f "$sources_list" ]; then
        cat >"$sources_list" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    fi
    apt-get update -q
    ((${#missing[@]})) && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cc="$host-gcc-posix"
cxx="$host-g++-posix"
toolchain="$deps/toolchain.cmake"
mkdir -p "$deps/src" "$deps/prefix"
cat >"$toolchain" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $cc)
set(CMAKE_CXX_COMPILER $cxx)
set(CMAKE_RC_COMPILER $host-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$host $deps/prefix $deps/qt)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
EOF
export PKG_CONFIG_LIBDIR="$deps/prefix/lib/pkgconfig:$deps/prefix/share/pkgconfig"
export PKG_CONFIG_PATH=""
common_cmake=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
              -DCMAKE_INSTALL_PREFIX="$deps/prefix" -DBUILD_SHARED_LIBS=OFF)

# Unpacks Debian's source package NAME into $deps/src/NAME (once) and prints that folder.
unpack() {
    local name="$1" folder="$deps/src/$1"
    if [ ! -d "$folder" ]; then
        local scratch="$deps/src/.get-$name"
        rm -rf "$scratch" && mkdir -p "$scratch"
        (cd "$scratch" && apt-get source -q "$name" >&2)
        mv "$(find "$scratch" -mindepth 1 -maxdepth 1 -type d | head -1)" "$folder"
        rm -rf "$scratch"
    fi
    echo "$folder"
}

# Runs a dependency's build once: its stamp file says it is in the cache (a new stamp name
# rebuilds it where the way it is built changed).
built() { [ -f "$deps/prefix/.built-$1" ]; }
mark() { touch "$deps/prefix/.built-$1"; }
timed() {
    local name="$1" start=$SECONDS
    shift
    built "$name" && return 0
    echo "build-windows: building $name" >&2
    "$@"
    mark "$name"
    echo "build-windows: $name built in $((SECONDS - start)) s" >&2
}

cmake_dependency() {
    local source="$1" work="$2"
    shift 2
    cmake -S "$source" -B "$work" "${common_cmake[@]}" "$@"
    cmake --build "$work" -j"$jobs"
    cmake --install "$work"
}

build_pugixml() {
    local source
    source="$(unpack pugixml)"
    cmake_dependency "$source" "$deps/work/pugixml" -DPUGIXML_BUILD_TESTS=OFF
}

# Only operator new and delete go through mimalloc (mimalloc-new-delete.h, in the program):
# Debian's source has no redirection DLL for malloc itself.
build_mimalloc() {
    local source
    source="$(unpack mimalloc)"
    cmake_dependency "$source" "$deps/work/mimalloc" -DMI_BUILD_SHARED=OFF -DMI_BUILD_OBJECT=OFF \
        -DMI_BUILD_TESTS=OFF -DMI_OVERRIDE=OFF -DMI_INSTALL_TOPLEVEL=ON
}

build_uchardet() {
    local source
    source="$(unpack uchardet)"
    cmake_dependency "$source" "$deps/work/uchardet" -DBUILD_BINARY=OFF -DBUILD_STATIC=ON
}

build_expat() {
    local source
    source="$(unpack expat)"
    [ -f "$source/expat/CMakeLists.txt" ] && source="$source/expat"
    # Debian's security patches test "XML_DTD == 1", which its CMake build defines empty.
    sed -i 's/^\(# *\)if XML_DTD == 1/\1if defined(XML_DTD)/' "$source/lib/xmlparse.c"
    cmake_dependency "$source" "$deps/work/expat" -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
        -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_SHARED_LIBS=OFF
}

# Hunspell as a static library: its users define HUNSPELL_STATIC (the .pc file says so).
build_hunspell() {
    local source
    source="$(unpack hunspell)"
    (cd "$source" && autoreconf -fi >&2 &&
        ./configure --host="$host" CC="$cc" CXX="$cxx" --prefix="$deps/prefix" --disable-shared \
            --enable-static --disable-nls --without-ui --without-readline CXXFLAGS="-O2 -DHUNSPELL_STATIC" >&2 &&
        make -C src/hunspell -j"$jobs" >&2 && make -C src/hunspell install >&2)
    mkdir -p "$deps/prefix/lib/pkgconfig"
    cat >"$deps/prefix/lib/pkgconfig/hunspell.pc" <<EOF
prefix=$deps/prefix
Name: hunspell
Description: Hunspell spell checking library, static
Version: 1.7
Libs: -L\${prefix}/lib -lhunspell-1.7
Cflags: -I\${prefix}/include -I\${prefix}/include/hunspell -DHUNSPELL_STATIC
EOF
}

# chmlib opens files by their ANSI name; ChmArchive hands it a short or ANSI path. On Windows
# chmlib opens a file for itself alone: a help file the viewer has open could not be opened a
# second time, nor read through by the trial program, nor replaced. It shares reading and
# deletion instead, as the program's own readers do.
build_chmlib() {
    local source
    source="$(unpack chmlib)"
    sed -i '/CreateFileA(filename,/{n;n;s/^\( *\)0,$/\1FILE_SHARE_READ | FILE_SHARE_DELETE,/}' "$source/src/chm_lib.c"
    grep -q 'FILE_SHARE_READ | FILE_SHARE_DELETE' "$source/src/chm_lib.c"
    (cd "$source" && autoreconf -fi >&2 &&
        ./configure --host="$host" CC="$cc" --prefix="$deps/prefix" --disable-shared --enable-static \
            --disable-examples >&2 &&
        make -C src -j"$jobs" libchm.la >&2 &&
        install -m 644 src/chm_lib.h "$deps/prefix/include/" &&
        install -m 644 src/.libs/libchm.a "$deps/prefix/lib/")
}

build_googletest() {
    cmake_dependency /usr/src/googletest "$deps/work/googletest" -Dgtest_disable_pthreads=OFF
}

# Free Pascal's CHM compiler (and its reader chmls) for Windows, from Debian's fpc source with
# Debian's compiler, in UTF-8 as on Linux (scripts/windows/utf8rtl.pp): the
# win64 run time first (its system unit alone, then the rest through buildrtl, as the run
# time's own makefile does), then chmcmd, whose units the compiler builds as it finds them.
build_chmcmd() {
    local source units="$deps/work/fpc-win64" rtl packages
    source="$(unpack fpc)/fpcsrc"
    rtl="$source/rtl"
    packages="$source/packages"
    rm -rf "$units" && mkdir -p "$units" "$deps/prefix/bin"
    local fpc=(ppcx64 -n -Twin64 -Px86_64 -O2 -FU"$units" -Fu"$units" -Fi"$rtl/inc" -Fi"$rtl/x86_64")
    (cd "$rtl/win64" &&
        "${fpc[@]}" -Us -Sg -Fi../win system.pp &&
        "${fpc[@]}" -I../objpas ../objpas/objpas.pp &&
        "${fpc[@]}" -Fi../objpas/sysutils -Fi../objpas/classes -Fu../x86_64 -I../win -I../objpas -I../win/wininc \
            -Fu../win/wininc -Fu../win -Fu../inc -Fu../objpas buildrtl.pp) >"$units/rtl.log" ||
        { cat "$units/rtl.log" >&2; return 1; }
    local folder paths=()
    for folder in chm/src fcl-base/src fcl-base/src/win fcl-xml/src rtl-generics/src rtl-generics/src/inc \
                  rtl-objpas/src/win rtl-objpas/src/inc rtl-objpas/src/common; do
        paths+=(-Fu"$packages/$folder" -Fi"$packages/$folder")
    done
    # utf8rtl (loaded first, -Fa) makes the programs read their arguments and name files in UTF-8.
    paths+=(-Fu"$root/scripts/windows" -Fautf8rtl)
    local program
    for program in chmcmd chmls; do # chmls lists and extracts a .chm: the tests read what was compiled
        "${fpc[@]}" "${paths[@]}" -FE"$deps/prefix/bin" "$packages/chm/src/$program.lpr" >"$units/$program.log" ||
            { cat "$units/$program.log" >&2; return 1; }
        rm -f "$deps/prefix/bin/$program.o"
    done
}

# Qt 6.4.2 for MinGW as DLLs, from Debian's qt6-base source with Debian's own Qt tools on the
# host. Only the features the desktop program uses: Debian's source has no Wintab (tablet
# events off); Direct 2D stays on, as Qt 6.4.2's Windows platform plugin does not link without
# it. The toolchain file is needed: -xplatform alone configures a Linux build.
qt_version=6.4.2
qt_configure=(-release -shared -nomake examples -nomake tests
              -no-dbus -no-opengl -no-feature-vulkan -no-feature-sql -no-feature-network
              -no-feature-printsupport -no-feature-concurrent -no-feature-xml -no-feature-tabletevent
              -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -no-icu)
# The archive this recipe made on Debian 12 (qt6-base 6.4.2+dfsg-10, g++-mingw-w64 12.2.0).
qt_archive="${CORVANE_WINDOWS_QT:-$root/../shared/windows/qt$qt_version-mingw64-shared.tar.xz}"
qt_archive_sha256=e95bba7adcad46721333c23488ab081178318864ffc963efcce677d1d946c3f8

build_qt() {
    rm -rf "$deps/qt"
    if [ -f "$qt_archive" ] && echo "$qt_archive_sha256  $qt_archive" | sha256sum -c --quiet - 2>/dev/null; then
        echo "build-windows: unpacking Qt from $qt_archive" >&2
        local scratch="$deps/.qt-unpack"
        rm -rf "$scratch" && mkdir -p "$scratch"
        tar -xJf "$qt_archive" -C "$scratch"
        mv "$scratch"/* "$deps/qt" && rmdir "$scratch"
        return
    fi
    echo "build-windows: no Qt archive of this recipe at $qt_archive: building Qt from source" >&2
    local source work="$deps/work/qt6-base"
    source="$(unpack qt6-base)"
    rm -rf "$work" && mkdir -p "$work"
    (cd "$work" && "$source/configure" -prefix "$deps/qt" -qt-host-path /usr -xplatform win32-g++ \
        -device-option CROSS_COMPILE="$host-" "${qt_configure[@]}" \
        -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2 &&
        ninja -j"$jobs" >&2 && ninja install >&2)
}

deps_start=$SECONDS
timed pugixml build_pugixml
timed mimalloc build_mimalloc
timed uchardet build_uchardet
timed expat build_expat
timed hunspell build_hunspell
timed chmlib-shared build_chmlib
timed googletest build_googletest
timed chmtools-utf8 build_chmcmd
timed qt-$qt_version-shared build_qt
echo "build-windows: libraries ready in $deps/prefix ($((SECONDS - deps_start)) s)" >&2
if $deps_only; then
    echo "$deps/prefix" >&3
    exit 0
fi

build_start=$SECONDS
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$deps/prefix;$deps/qt" -DQT_HOST_PATH=/usr -DCORVANE_BUILD_BENCH=OFF \
    -DCORVANE_WERROR="${CORVANE_WERROR:-OFF}" -DCORVANE_CHMCMD_EXE="$deps/prefix/bin/chmcmd.exe" \
    -DCMAKE_EXE_LINKER_FLAGS="-static -static-libgcc -static-libstdc++"
cmake --build "$build" -j"$jobs" "${targets[@]}"
echo "build-windows: built in $((SECONDS - build_start)) s" >&2

# The DLLs the Qt programs load, beside them in bin/ as in the zip: the Qt and MinGW run-time
# DLLs, and the platform and style plugins, which Qt looks for in the program's folder.
mingw_runtime=("$($cxx -print-file-name=libstdc++-6.dll)" "$($cxx -print-file-name=libgcc_s_seh-1.dll)"
               "$($cxx -print-file-name=libwinpthread-1.dll)")
qt_runtime=("$deps/qt/bin/Qt6Core.dll" "$deps/qt/bin/Qt6Gui.dll" "$deps/qt/bin/Qt6Widgets.dll")
mkdir -p "$build/bin/platforms" "$build/bin/styles"
cp -u "${mingw_runtime[@]}" "${qt_runtime[@]}" "$deps/qt/bin/Qt6Test.dll" "$build/bin/"
cp -u "$deps/qt/plugins/platforms/qwindows.dll" "$deps/qt/plugins/platforms/qoffscreen.dll" "$build/bin/platforms/"
cp -u "$deps/qt/plugins/styles/qwindowsvistastyle.dll" "$build/bin/styles/"

# The add-in the VB6 IDE loads, for 32 bits as the IDE is: its few sources straight through the
# i686 compiler, with no library of the program and no Qt (the 64-bit build of the same
# sources, in the tree above, is the one the tests load under 64-bit Wine).
build_vb6addin32() {
    local out="$build/vb6addin32" flags=(-std=c++20 -O2 -Wall -Wextra -Wpedantic -Wshadow -Wcast-align
        -Woverloaded-virtual -Wimplicit-fallthrough -Wno-non-virtual-dtor)
    [ "${CORVANE_WERROR:-OFF}" = ON ] && flags+=(-Werror)
    mkdir -p "$out"
    i686-w64-mingw32-windres -I "$root/resources" "$root/src/vbaddin/addin.rc" -O coff -o "$out/addin.o"
    i686-w64-mingw32-g++-posix "${flags[@]}" -I"$root/src" -shared -s -o "$out/corvane-addin.dll" \
        "$root"/src/vbaddin/*.cpp "$out/addin.o" -static -static-libgcc -static-libstdc++ -Wl,--kill-at \
        -lole32 -loleaut32 -luuid -ladvapi32 -luser32 -lgdi32
}
if ((${#targets[@]} == 0)); then
    build_vb6addin32
fi
if ((${#targets[@]})); then
    echo "$build" >&3
    exit 0
fi

# The zip a Windows user unpacks and runs: the command line and the desktop program with the Qt
# and MinGW run-time DLLs and Qt's plugins beside it (Qt finds plugins in the program's folder),
# the help compilers, the data folder with Debian's English dictionary, a README, and the
# licence texts of every third-party part the zip holds.
# The command line loads no Qt: only corvane-gui.exe imports Qt's DLLs.
if $host-objdump -p "$build/bin/corvane.exe" | grep -qi 'DLL Name: Qt6'; then
    echo "build-windows: corvane.exe imports a Qt DLL; the command line must link only the core" >&2
    exit 1
fi
package="$build/package/corvane"
rm -rf "$build/package" && mkdir -p "$package/bin/helpcompilers" "$package/bin/platforms" "$package/bin/styles" \
    "$package/share/corvane/dictionaries" "$package/licenses"
cp "$build/bin/corvane.exe" "$build/bin/corvane-gui.exe" "$build/bin/corvane-chm-trial.exe" "$package/bin/"
# The VB6 add-in beside corvane-gui.exe, which it runs; it imports only Windows' own DLLs.
if i686-w64-mingw32-objdump -p "$build/vb6addin32/corvane-addin.dll" | grep 'DLL Name:' |
        grep -viE 'DLL Name: (kernel32|user32|gdi32|advapi32|ole32|oleaut32|msvcrt)\.dll'; then
    echo "build-windows: the VB6 add-in imports a DLL Windows does not have" >&2
    exit 1
fi
cp "$build/vb6addin32/corvane-addin.dll" "$package/bin/"
cp "${qt_runtime[@]}" "${mingw_runtime[@]}" "$package/bin/"
cp "$deps/qt/plugins/platforms/qwindows.dll" "$package/bin/platforms/"
cp "$deps/qt/plugins/styles/qwindowsvistastyle.dll" "$package/bin/styles/"
cp "$build/bin/helpcompilers/hhc.exe" "$build/bin/helpcompilers/chmcmd.exe" "$package/bin/helpcompilers/"
cp -r "$build/share/corvane/." "$package/share/corvane/"
cp /usr/share/hunspell/en_US.aff /usr/share/hunspell/en_US.dic "$package/share/corvane/dictionaries/"
cp /usr/share/doc/hunspell-en-us/copyright "$package/share/corvane/dictionaries/en_US-copyright.txt"
licenses="$package/licenses"
# Debian's copyright file of each source package (who holds what, under which licence), the
# upstream licence texts, and the full texts of the licences those files name only.
cp /usr/share/doc/libqt6core6/copyright "$licenses/Qt-copyright.txt"
cp /usr/share/common-licenses/LGPL-3 "$licenses/LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$licenses/GPL-3.txt"
cp /usr/share/common-licenses/GPL-2 "$licenses/GPL-2.txt"
cp /usr/share/common-licenses/LGPL-2.1 "$licenses/LGPL-2.1.txt"
cp /usr/share/common-licenses/MPL-1.1 "$licenses/MPL-1.1.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$licenses/MinGW-GCC-runtime-copyright.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$licenses/MinGW-w64-winpthreads-copyright.txt"
cp "$deps/src/hunspell/debian/copyright" "$licenses/Hunspell-copyright.txt"
cp "$deps/src/hunspell/COPYING.MPL" "$licenses/Hunspell-COPYING.MPL.txt"
cp "$deps/src/hunspell/license.hunspell" "$licenses/Hunspell-license.hunspell.txt"
cp "$deps/src/hunspell/license.myspell" "$licenses/Hunspell-license.myspell.txt"
cp /usr/share/doc/hunspell-en-us/copyright "$licenses/Hunspell-en_US-dictionary-copyright.txt"
cp "$deps/src/chmlib/debian/copyright" "$licenses/chmlib-copyright.txt"
cp "$deps/src/chmlib/COPYING" "$licenses/chmlib-COPYING.txt"
cp "$deps/src/fpc/debian/copyright" "$licenses/FreePascal-chm-tools-copyright.txt"
cp "$deps/src/fpc/fpcsrc/rtl/COPYING.FPC" "$licenses/FreePascal-COPYING.FPC.txt"
cp "$deps/src/pugixml/debian/copyright" "$licenses/pugixml-copyright.txt"
cp "$deps/src/pugixml/LICENSE.md" "$licenses/pugixml-LICENSE.txt"
cp "$deps/src/mimalloc/debian/copyright" "$licenses/mimalloc-copyright.txt"
cp "$deps/src/mimalloc/LICENSE" "$licenses/mimalloc-LICENSE.txt"
cp "$deps/src/uchardet/debian/copyright" "$licenses/uchardet-copyright.txt"
cp "$deps/src/uchardet/COPYING" "$licenses/uchardet-COPYING.txt"
cp "$deps/src/expat/debian/copyright" "$licenses/expat-copyright.txt"
cp "$(dirname "$(find "$deps/src/expat" -maxdepth 2 -name COPYING | head -1)")/COPYING" "$licenses/expat-COPYING.txt"
sed 's/$/\r/' "$root/scripts/windows/LICENSES-Windows.txt" >"$licenses/README.txt"
for text in "$licenses"/*.txt; do # Notepad wants CR LF
    [ "$text" = "$licenses/README.txt" ] || sed -i 's/\r*$/\r/' "$text"
done
sed 's/$/\r/' "$root/scripts/windows/README-Windows.txt" >"$package/README.txt"
(cd "$build/package" && rm -f ../corvane-windows-x64.zip && zip -q -r -X ../corvane-windows-x64.zip corvane)
echo "build-windows: packed $build/corvane-windows-x64.zip" >&2
echo "$build" >&3
