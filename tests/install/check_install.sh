#!/usr/bin/env bash
# The install tree of one build, and programs built on it from outside the
# sources: installs BUILD into a fresh prefix under WORK, checks the files, the
# public headers and (natively) what the shared libraries export, builds the
# samples once through find_package and once through pkg-config, and runs them
# on the display, under Wine for Windows. For Windows it also makes the zip of
# the install tree and checks that it holds the same files.
# Run from the repository's top with $DISPLAY set (and the Wine prefix of
# scripts/wine-env.sh for Windows):
#   tests/install/check_install.sh native build/native build/install-native
#   tests/install/check_install.sh mingw-i686 build/mingw-i686 build/install-mingw-i686
set -uo pipefail
kind=$1 build=$2 work=$(realpath -m "$3")
root=$PWD
prefix=$work/prefix
samples=$work/samples # the sample sources, copied away from the tree
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() { echo "install $kind: FAIL: $*"; failures=$((failures + 1)); }

if [[ $kind == native ]]; then
  cc=(cc) cxx=(c++) run=() exe="" gl=(-lGL) glu=(-lGLU) toolchain=()
else
  triple=${kind#mingw-}-w64-mingw32
  cc=("$triple-gcc-posix") cxx=("$triple-g++-posix") run=(wine) exe=.exe gl=(-lopengl32) glu=(-lglu32)
  toolchain=("-DCMAKE_TOOLCHAIN_FILE=$root/cmake/$kind.cmake")
fi

cmake --install "$build" --prefix "$prefix" >/dev/null || { fail "cmake --install"; exit 1; }
# Only the installed package's .pc files, none of the system's.
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
unset PKG_CONFIG_PATH
version=$(pkg-config --modversion openvoskar-toolkit)
major=${version%%.*}

# The files, with the build type taken out of the CMake export file names.
(cd "$prefix" && find . -type f -o -type l) | sed 's|^\./||; s/Targets-[a-z]*\.cmake$/Targets-CONFIG.cmake/' |
  sort >"$work/installed-files.txt"
echo "install $kind: $(wc -l <"$work/installed-files.txt") files in $prefix:"
sed 's/^/  /' "$work/installed-files.txt"
expected=(bin/open-voskar$exe bin/ov-view$exe bin/tk-spin$exe
  include/image/image.h include/textures/texture_table.h
  include/toolkit/ov_export.h include/toolkit/tk.h include/toolkit/tk_error.h
  lib/cmake/OpenVoskar/OpenVoskarConfig.cmake lib/cmake/OpenVoskar/OpenVoskarConfigVersion.cmake
  lib/cmake/OpenVoskar/OpenVoskarStaticTargets.cmake lib/cmake/OpenVoskar/OpenVoskarStaticTargets-CONFIG.cmake
  lib/libopenvoskar.a lib/libopenvoskar-textures.a
  lib/pkgconfig/openvoskar-image.pc lib/pkgconfig/openvoskar-textures.pc lib/pkgconfig/openvoskar-toolkit.pc
  share/openvoskar/crate.bmp share/doc/openvoskar/LICENSE share/doc/openvoskar/README.md)
[[ $kind == native ]] || expected+=(share/doc/openvoskar/THIRD-PARTY-NOTICES.txt)
if [[ $kind == native ]]; then
  expected+=(lib/cmake/OpenVoskar/OpenVoskarSharedTargets.cmake lib/cmake/OpenVoskar/OpenVoskarSharedTargets-CONFIG.cmake)
  for library in openvoskar openvoskar-textures; do
    expected+=("lib/lib$library.so" "lib/lib$library.so.$major" "lib/lib$library.so.$version")
  done
fi
# The reference is Doxygen's many files: its pages of the headers must be there.
reference=share/doc/openvoskar/html
diff <(printf '%s\n' "${expected[@]}" | sort) <(grep -v "^$reference/" "$work/installed-files.txt") ||
  fail "other files installed than expected"
for page in index tk_8h tk__error_8h image_8h texture__table_8h classTextureTable; do
  [[ -f $prefix/$reference/$page.html ]] || fail "the reference has no $page.html"
done

# Each .pc file as pkg-config reads it; freedesktop's pkg-config also refuses
# a field given twice, which pkgconf lets pass.
for module in openvoskar-toolkit openvoskar-image openvoskar-textures; do
  pkg-config --validate "$module" || fail "$module.pc is not valid"
  twice=$(sed -nE 's/^([A-Za-z.]+):.*/\1/p' "$prefix/lib/pkgconfig/$module.pc" | sort | uniq -d)
  [[ -z $twice ]] || fail "$module.pc gives $twice more than once"
done

# Each header: everything it includes from a folder of the install is
# installed (all branches, as written), and it compiles alone, included
# twice, as C11 (not the C++ texture table) and as C++17.
headers=$(cd "$prefix/include" && find . -name '*.h' | sed 's|^\./||' | sort)
for header in $headers; do
  while read -r quote name; do
    if [[ $quote == '"' || -d $prefix/include/${name%%/*} ]] && [[ ! -f $prefix/include/$name ]]; then
      fail "$header includes $name, which is not installed"
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"].*/\1 \2/p' "$prefix/include/$header")
  source=$(printf '#include "%s"\n#include "%s"\nint headerCheck;\n' "$header" "$header")
  flags=(-fsyntax-only -Wall -Wextra -pedantic -Werror -I"$prefix/include")
  if [[ $header != textures/* ]]; then
    (cd "$work" && "${cc[@]}" -std=c11 "${flags[@]}" -x c - <<<"$source") || fail "$header does not compile alone as C11"
  fi
  (cd "$work" && "${cxx[@]}" -std=c++17 "${flags[@]}" -x c++ - <<<"$source") || fail "$header does not compile alone as C++17"
done

# Nothing of Win32 reaches a program on Linux: each header, then X11's own
# BOOL and a program's RGB macro and HANDLE type, compile without a warning,
# and the headers define no macro but the library's own.
if [[ $kind == native ]]; then
  for header in $headers; do
    compile=(cc -std=c11 -x c)
    [[ $header == textures/* ]] && compile=(c++ -std=c++17 -x c++)
    printf '#include <stdint.h>\n' | "${compile[@]}" -E -dM - | sort >"$work/system-macros.txt"
    printf '#include "%s"\n#include <X11/Xlib.h>\n#include <X11/Xmd.h>\n%s\n%s\n%s\n' "$header" \
      '#define RGB(r, g, b) ((r) << 16 | (g) << 8 | (b))' 'typedef void *HANDLE;' \
      'int main(void) { HANDLE h = 0; BOOL b = 1; return (h != 0) + b + RGB(0, 0, 1) - 2; }' |
      "${compile[@]}" -Wall -Werror -I"$prefix/include" -c -o /dev/null - ||
      fail "$header does not leave a Linux program its own names"
    others=$(printf '#include "%s"\n' "$header" | "${compile[@]}" -E -dM -I"$prefix/include" - | sort |
      comm -23 - "$work/system-macros.txt" | awk '{print $2}' | sed 's/(.*//' |
      grep -v -E '^(TK|TOOLKIT_|IMAGE_|TEXTURES_|OV_)')
    [[ -z $others ]] || fail "$header defines $(echo $others)"
  done
fi

# What the shared libraries export: exactly the functions the C headers
# declare, as the compiler reads them, and the texture table's class.
if [[ $kind == native ]]; then
  (cd "$work" && cc -std=c11 -fsyntax-only -aux-info declared.txt -I"$prefix/include" -x c - \
    <<<$'#include "toolkit/tk.h"\n#include "image/image.h"')
  grep -F "/* $prefix/include/" "$work/declared.txt" | sed -E 's|^/\*[^*]*\*/ *||; s/ \(.*//; s/.*[ *]//' |
    sort -u >"$work/declared-functions.txt"
  nm -D --defined-only "$prefix/lib/libopenvoskar.so" | awk '$2 != "A" {sub(/@.*/, "", $3); print $3}' |
    sort -u >"$work/exported-functions.txt"
  [[ -s $work/declared-functions.txt ]] || fail "no functions found in the headers"
  diff "$work/declared-functions.txt" "$work/exported-functions.txt" ||
    fail "libopenvoskar.so exports other functions than the headers declare"
  textures=$(nm -DC --defined-only "$prefix/lib/libopenvoskar-textures.so" | awk '$2 != "A"')
  grep -q 'TextureTable::AddTexture' <<<"$textures" || fail "libopenvoskar-textures.so does not export TextureTable"
  grep -v TextureTable <<<"$textures" | grep . && fail "libopenvoskar-textures.so exports more than TextureTable"
  for library in openvoskar openvoskar-textures; do
    soname=$(readelf -d "$prefix/lib/lib$library.so" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')
    [[ $soname == "lib$library.so.$major" ]] || fail "lib$library.so has the SONAME '$soname'"
  done
fi

# The samples through the CMake package: the plain names, and natively the
# static component too, which must leave no shared library of ours behind.
cp -r "$root/examples" "$samples"
cmake_build() { # directory, sources, options...
  local dir=$1 sources=$2
  shift 2
  cmake -S "$sources" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" \
    "${toolchain[@]}" "$@" >"$dir.log" 2>&1 && cmake --build "$dir" >>"$dir.log" 2>&1 ||
    { cat "$dir.log"; fail "$(basename "$sources") does not build with find_package $*"; }
}
cmake_build "$work/cmake" "$samples"
cmake_version=$(sed -n 's/^-- Samples on OpenVoskar \([^ ]*\) from .*/\1/p' "$work/cmake.log")
grep -q "^-- Samples on OpenVoskar .* from $prefix/" "$work/cmake.log" ||
  fail "find_package took a package from elsewhere"
if [[ $kind == native ]]; then
  cmake_build "$work/cmake-static" "$samples" -DOPENVOSKAR_STATIC=ON
  for program in ov-view tk-spin; do
    readelf -d "$work/cmake-static/$program" | grep -q 'NEEDED.*libopenvoskar' && fail "static $program needs a shared library of ours"
  done
fi

# The README's hello.c with its CMakeLists.txt, a C-only project: as written,
# and with the static component, which must bring the C++ runtime along.
readme_block() { # the line before the block, its language
  awk -v intro="$1" -v fence="\`\`\`$2" '$0 == intro {found = 1; next}
    found && $0 == fence {inside = 1; next} inside && /^```$/ {exit} inside' "$root/README.md"
}
mkdir -p "$work/hello/plain" "$work/hello/static"
readme_block 'A program on the toolkit, `hello.c`:' c >"$work/hello/plain/hello.c"
readme_block 'With CMake, a `CMakeLists.txt` beside it:' cmake >"$work/hello/plain/CMakeLists.txt"
cp "$work/hello/plain/hello.c" "$work/hello/static/"
sed -E 's/(CONFIG REQUIRED)\)/\1 COMPONENTS static)/; s/OpenVoskar::toolkit /OpenVoskar::toolkit-static /' \
  "$work/hello/plain/CMakeLists.txt" >"$work/hello/static/CMakeLists.txt"
grep -q 'project(hello C)' "$work/hello/plain/CMakeLists.txt" && grep -q toolkit-static "$work/hello/static/CMakeLists.txt" ||
  fail "the README's hello.c and CMakeLists.txt were not found as expected"
cmake_build "$work/hello-plain" "$work/hello/plain"
cmake_build "$work/hello-static" "$work/hello/static"
if [[ $kind == native ]]; then
  readelf -d "$work/hello-static/hello" | grep -q 'NEEDED.*libopenvoskar' && fail "the static hello needs a shared library of ours"
fi

# The same through pkg-config, with the C compiler for the C programs.
# Natively the programs find the shared libraries through their run path;
# for Windows everything is linked in, as the tree's own programs are.
pc=$work/pkg-config
mkdir -p "$pc"
cp "$prefix/share/openvoskar/crate.bmp" "$pc/"
if [[ $kind == native ]]; then
  extra=(-Wl,-rpath,"$(pkg-config --variable=libdir openvoskar-toolkit)")
else
  extra=(-static)
fi
# shellcheck disable=SC2046 # pkg-config's output is meant to be split
{
  "${cc[@]}" -std=c11 -Wall -Wextra -o "$pc/ov-view$exe" "$samples/ov_view.c" \
    $(pkg-config --cflags --libs openvoskar-image openvoskar-toolkit) "${gl[@]}" "${extra[@]}" &&
  "${cxx[@]}" -std=c++17 -Wall -Wextra -o "$pc/tk-spin$exe" "$samples/tk_spin.cpp" \
    $(pkg-config --cflags --libs openvoskar-textures) "${gl[@]}" "${glu[@]}" "${extra[@]}" &&
  "${cc[@]}" -std=c11 -Wall -Wextra -o "$pc/version_check$exe" "$root/tests/install/version_check.c" \
    $(pkg-config --cflags --libs openvoskar-toolkit) "${extra[@]}"
} || fail "the samples do not build with pkg-config"
# A static link natively: what Libs.private names must be enough.
if [[ $kind == native ]]; then
  libs=$(pkg-config --static --libs openvoskar-image openvoskar-toolkit | sed -E 's/-lopenvoskar( |$)/-l:libopenvoskar.a\1/')
  # shellcheck disable=SC2086
  cc -std=c11 -o "$work/ov-view-static" "$samples/ov_view.c" $(pkg-config --cflags openvoskar-image) $libs -lGL ||
    fail "ov-view does not link statically with pkg-config --static"
fi

library_version=$(timeout 60 "${run[@]}" "$pc/version_check$exe" | tr -d '\r')
[[ $cmake_version == "$version" && $library_version == "$version" ]] ||
  fail "versions differ: pkg-config '$version', CMake package '$cmake_version', tkVersion '$library_version'"

if [[ $kind != native ]]; then
  cmake --build "$build" --target package >"$work/package.log" 2>&1 || { cat "$work/package.log"; fail "cpack"; }
  zip=$(ls "$build"/openvoskar-"$version"-*.zip)
  diff <(unzip -Z1 "$zip" | grep -v '/$' | sed 's|^[^/]*/||; s/Targets-[a-z]*\.cmake$/Targets-CONFIG.cmake/' | sort) \
    "$work/installed-files.txt" || fail "$zip holds other files than the install"
  echo "install $kind: the Windows build as a zip: $zip"
fi

# The installed tk-spin finds the installed crate.bmp from any folder, and so
# does the zip's wherever it is unpacked.
textured() { # program
  (cd "$work" && timeout 60 "${run[@]}" "$1" --seconds 2 >/dev/null 2>"$work/tk-spin.err") ||
    fail "$1 ended with code $?"
  grep -q 'no texture' "$work/tk-spin.err" && fail "$1: $(cat "$work/tk-spin.err")"
}
textured "$prefix/bin/tk-spin$exe"
if [[ $kind != native ]]; then
  rm -rf "$work/unzipped"
  unzip -q "$zip" -d "$work/unzipped"
  textured "$(echo "$work"/unzipped/*/bin/tk-spin.exe)"
fi

scripts/samples_e2e.sh "$kind find_package" "$work/cmake" "$work/shots-cmake" "${run[@]}" || fail "samples built with find_package"
scripts/samples_e2e.sh "$kind pkg-config" "$pc" "$work/shots-pkg-config" "${run[@]}" || fail "samples built with pkg-config"

[[ $failures -eq 0 ]] && echo "install $kind: ok (version $version)"
[[ $failures -eq 0 ]]
