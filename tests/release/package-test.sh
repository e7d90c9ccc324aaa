#!/usr/bin/env bash
# Makes the Windows download with tools/package from the finished build and
# checks what a user unpacks: exactly the program, the installer, the 64-bit
# program in x64\, a README in both languages that Notepad on Japanese
# Windows reads, and the licence.
# usage: package-test.sh SOURCE_DIR BUILD_DIR BUILD64_DIR WORK_DIR
set -uo pipefail
src=$1 build=$2 build64=$3 work=$4
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rm -rf "$work" && mkdir -p "$work"
"$src/tools/package" --no-build --build "$build" --build64 "$build64" --dist "$work/dist" || { echo "FAIL: tools/package failed" >&2; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip=$work/dist/cinevane-$version.zip
[ -f "$zip" ] || { echo "FAIL: $zip not made" >&2; exit 1; }
unzip -tq "$zip" >/dev/null || fail "the zip does not test clean"

expected="cinevane-$version/
cinevane-$version/LICENSE.txt
cinevane-$version/README.txt
cinevane-$version/cinevane-setup.exe
cinevane-$version/cinevane.scr
cinevane-$version/x64/
cinevane-$version/x64/cinevane.scr"
listed=$(unzip -Z1 "$zip" | sort)
[ "$listed" = "$(sort <<<"$expected")" ] || fail "zip holds:
$listed
expected:
$expected"

unzip -q "$zip" -d "$work/unpacked"
top=$work/unpacked/cinevane-$version
cmp -s "$top/cinevane.scr" "$build/cinevane.scr" || fail "cinevane.scr is not the built program"
cmp -s "$top/x64/cinevane.scr" "$build64/cinevane.scr" || fail "x64/cinevane.scr is not the built 64-bit program"
LC_ALL=C file -b "$top/cinevane.scr" | grep -q '^PE32 executable (GUI) Intel 80386' || fail "cinevane.scr is not a 32-bit Windows program"
LC_ALL=C file -b "$top/x64/cinevane.scr" | grep -q '^PE32+ executable (GUI) x86-64' || fail "x64/cinevane.scr is not a 64-bit Windows program"
cmp -s "$top/cinevane-setup.exe" "$build/cinevane-setup.exe" || fail "cinevane-setup.exe is not the built installer"
cmp -s "$work/dist/cinevane-$version-setup.exe" "$build/cinevane-setup.exe" || fail "no installer beside the zip"

readme=$top/README.txt
if ! text=$(iconv -f CP932 -t UTF-8 "$readme" 2>/dev/null); then
  fail "README.txt is not in the Japanese ANSI code page"
else
  [ "$(grep -c $'\r$' "$readme")" -eq "$(wc -l < "$readme")" ] || fail "README.txt has lines without CRLF"
  for phrase in "cinevane $version" "インストール" "右クリック" "設定の保存場所" \
                "cinevane-setup.exe" "right-click it and choose \"Install\"" \
                "Where the settings are kept" "cinevane.ini" "LICENSE.txt" \
                'x64\cinevane.scr' "64 ビット" "64-bit"; do
    grep -qF -- "$phrase" <<<"$text" || fail "README.txt lacks \"$phrase\""
  done
  grep -q '@VERSION@' <<<"$text" && fail "README.txt still holds the version placeholder"
fi

licence=$top/LICENSE.txt
grep -q '^MIT License' "$licence" || fail "LICENSE.txt is not the MIT licence"
grep -qF 'Copyright (c) 2026 the cinevane authors' "$licence" || fail "LICENSE.txt lacks the copyright line"
cmp -s <(tr -d '\r' < "$licence") "$src/LICENSE" || fail "LICENSE.txt differs from LICENSE"

[ $failures -eq 0 ] || { echo "package test: $failures failure(s)" >&2; exit 1; }
echo "package test: $zip holds what it should"
