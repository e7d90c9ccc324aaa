#!/usr/bin/env bash
# Runs the installer and its uninstaller silently under Wine, as a user would,
# and checks what they leave behind: the program in place and chosen as the
# user's screen saver after installing; after uninstalling, the program gone,
# the earlier screen saver given back (only while cinevane was still the chosen
# one), and the user's other desktop settings untouched.
# usage: installer-test.sh SETUP_EXE PROGRAM   (inside tools/with-wine)
set -uo pipefail
setup=$1 program=$2
: "${WINEPREFIX:?run through tools/with-wine}"

desktop='HKCU\Control Panel\Desktop'
appkey='HKCU\Software\cinevane'
uninstkey='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\cinevane'
failures=0
fail() { echo "FAIL ($case): $*" >&2; failures=$((failures + 1)); }

# Each Wine process costs a fraction of a second, so the user's desktop
# settings are read once per check (snapshot) and looked up in that copy.
desktop_values=""
snapshot() { desktop_values=$("$WINE" reg query "$desktop" 2>/dev/null | tr -d '\r'); }
# Prints a value of the snapshot; fails when the value does not exist.
desktop_get() {
  sed -n "s/^    $(sed 's/[.]/[.]/g' <<<"$1")    REG_[A-Z_]*    \{0,1\}//p" <<<"$desktop_values" | grep ''
}
reg_set() { "$WINE" reg add "$1" /v "$2" /d "$3" /f >/dev/null 2>&1; }
reg_del() { "$WINE" reg delete "$1" /v "$2" /f >/dev/null 2>&1 || true; }
key_exists() { "$WINE" reg query "$1" >/dev/null 2>&1; }

expect_value() {  # NAME EXPECTED
  local got
  if ! got=$(desktop_get "$1"); then fail "$1 is missing, expected '$2'"
  elif [ "$got" != "$2" ]; then fail "$1 is '$got', expected '$2'"; fi
}
expect_no_value() {
  local got
  if got=$(desktop_get "$1"); then fail "$1 should be absent, is '$got'"; fi
}
# Unix path of a path on drive C:.
unix_path() { local p=${1#[Cc]:\\}; printf '%s/drive_c/%s\n' "$WINEPREFIX" "${p//\\//}"; }

# The installer takes /D= unquoted, blanks and all, as the last argument;
# a batch file passes the command line on exactly as written.
# cmd answers 9009 (49 in the low byte, all that a process exit passes on)
# when it could not start the installer at all; this was seen once under Wine
# on a heavily loaded machine. The installer itself answers only 0, 1 or 2,
# so that start is tried again, and said; any other code is the installer's.
install() {  # [DIR]
  local rc batch output attempt said
  batch=$(mktemp --suffix=.bat)
  output=$(mktemp)
  printf '@echo off\r\n"%s" /S%s\r\nexit %%ERRORLEVEL%%\r\n' "$("$WINE" winepath -w "$setup")" "${1:+ /D=$1}" > "$batch"
  for attempt in 1 2 3; do
    "$WINE" cmd /c "$("$WINE" winepath -w "$batch")" >"$output" 2>&1
    rc=$?
    said=$(iconv -c -f CP932 -t UTF-8 <"$output" | tr -d '\r' | tr '\n' ' ')
    [ $rc -eq 49 ] || break
    echo "   cmd could not start the installer (attempt $attempt): $said"
  done
  [ $rc -eq 0 ] || fail "installer exited with $rc: $said"
  rm -f "$batch" "$output"
}

# The uninstaller copies itself to the temporary folder and returns at once;
# it is done when its last step, removing the program's own key, has run.
uninstall() {  # INSTALL_DIR (Unix path)
  local rc deadline=$((SECONDS + 90))
  "$WINE" "$("$WINE" winepath -w "$1/cinevane-uninstall.exe")" /S >/dev/null 2>&1
  rc=$?
  [ $rc -eq 0 ] || fail "uninstaller exited with $rc"
  while key_exists "$appkey" || [ -e "$1/cinevane-uninstall.exe" ]; do
    if [ $SECONDS -ge $deadline ]; then fail "uninstaller did not finish"; return; fi
    sleep 0.2
  done
}

expect_installed() {  # INSTALL_DIR
  local saver prog
  snapshot
  if ! saver=$(desktop_get SCRNSAVE.EXE); then fail "SCRNSAVE.EXE not set"; return; fi
  prog=$("$WINE" winepath -u "$saver" 2>/dev/null)
  [ "$(realpath -m "$prog")" = "$(realpath -m "$1/cinevane.scr")" ] ||
    fail "SCRNSAVE.EXE names $saver, not $1/cinevane.scr"
  cmp -s "$prog" "$program" || fail "installed program differs from the built one"
  case "$saver" in *' '*) fail "SCRNSAVE.EXE '$saver' holds a blank";; esac
  expect_value ScreenSaveActive 1
  key_exists "$uninstkey" || fail "no entry in the list of installed programs"
  [ -e "$1/cinevane-uninstall.exe" ] || fail "no uninstaller beside the program"
}

expect_removed() {  # INSTALL_DIR
  snapshot
  [ ! -e "$1" ] || fail "install folder left behind: $(ls -A "$1" | tr '\n' ' ')"
  key_exists "$appkey" && fail "HKCU\\Software\\cinevane left behind"
  key_exists "$uninstkey" && fail "uninstall entry left behind"
}

# The user's own values, put back at the end.
saved=()
snapshot
for name in SCRNSAVE.EXE ScreenSaveActive ScreenSaveTimeOut; do
  saved+=("$name=$(desktop_get "$name" || echo '<none>')")
done
restore() {
  for entry in "${saved[@]}"; do
    name=${entry%%=*} value=${entry#*=}
    if [ "$value" = '<none>' ]; then reg_del "$desktop" "$name"; else reg_set "$desktop" "$name" "$value"; fi
  done
}
trap restore EXIT

default_dir=$(unix_path 'C:\users')/$("$WINE" cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')/AppData/Local/Programs/cinevane

# The user's other settings, which nothing may touch.
reg_set "$desktop" ScreenSaveTimeOut 600
"$WINE" reg delete "$appkey" /f >/dev/null 2>&1
"$WINE" reg delete "$uninstkey" /f >/dev/null 2>&1

case="earlier saver given back"; echo "-- $case"
reg_set "$desktop" SCRNSAVE.EXE 'C:\windows\system32\other.scr'
reg_set "$desktop" ScreenSaveActive 0
install
expect_installed "$default_dir"
printf '[Setting]\r\nRandom=1\r\n' > "$default_dir/cinevane.ini"   # as the settings dialog leaves it
uninstall "$default_dir"
expect_removed "$default_dir"
expect_value SCRNSAVE.EXE 'C:\windows\system32\other.scr'
expect_value ScreenSaveActive 0
expect_value ScreenSaveTimeOut 600

case="choice made after installing kept"; echo "-- $case"
install
expect_installed "$default_dir"
reg_set "$desktop" SCRNSAVE.EXE 'C:\windows\system32\chosen.scr'
uninstall "$default_dir"
expect_removed "$default_dir"
expect_value SCRNSAVE.EXE 'C:\windows\system32\chosen.scr'
expect_value ScreenSaveActive 1
expect_value ScreenSaveTimeOut 600

case="no earlier saver, installed twice"; echo "-- $case"
reg_del "$desktop" SCRNSAVE.EXE
reg_del "$desktop" ScreenSaveActive
install
install
expect_installed "$default_dir"
uninstall "$default_dir"
expect_removed "$default_dir"
expect_no_value SCRNSAVE.EXE
expect_no_value ScreenSaveActive
expect_value ScreenSaveTimeOut 600

case="folder chosen by the user, with a blank in its name"; echo "-- $case"
reg_set "$desktop" SCRNSAVE.EXE 'C:\windows\system32\other.scr'
reg_set "$desktop" ScreenSaveActive 1
chosen_dir=$(unix_path 'C:\cinevane test folder')
rm -rf "$chosen_dir"
install 'C:\cinevane test folder'
expect_installed "$chosen_dir"
uninstall "$chosen_dir"
expect_removed "$chosen_dir"
expect_value SCRNSAVE.EXE 'C:\windows\system32\other.scr'
expect_value ScreenSaveActive 1

if [ $failures -ne 0 ]; then
  echo "installer test: $failures failure(s)" >&2
  exit 1
fi
echo "installer test: all cases passed"
