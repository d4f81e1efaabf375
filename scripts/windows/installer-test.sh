# Sourced by scripts/windows-test: the setup program (scripts/windows-installer) under Wine,
# for the build being tested. On a sample school it checks, each as one test:
#   - a silent install (/S /D=folder) with the 64-bit Access driver registered in the 64-bit
#     registry view (when testing the 64-bit build) or not (the 32-bit build) installs that
#     build, exactly the files of its zip, and leaves the school's files as they were;
#     Programs and Features and the two shortcuts name the folder;
#   - korvex-batch.exe from the installed folder, with nothing of the build folders on its
#     path, runs start-up there;
#   - a reinstall with /BITS= of the other build, and one from a setup program in the school
#     folder itself (no /D), replace the program files, leave no file of the other build,
#     keep ASSISTANT.INI byte for byte and the school's files as they were;
#   - the silent uninstall leaves exactly the school's files, and no entry or shortcut;
#   - into a new folder, install and uninstall leave no folder behind;
#   - bad command lines end with status 2 and change nothing.
# Uses project, work, arch, linux_build, passed, failed and failures of windows-test.

installer_version=$(sed -n 's/^project(korvex VERSION \([0-9.]*\).*/\1/p' "$project/CMakeLists.txt")
installer_setup=$project/dist/korvex-assistant-$installer_version-setup.exe
installer_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvexAssistant'
installer_drivers='HKLM\SOFTWARE\ODBC\ODBCINST.INI\ODBC Drivers'
installer_access='Microsoft Access Driver (*.mdb, *.accdb)'

# The 64-bit Access driver, as its setup registers it, in the 64-bit registry view.
installer_driver() {  # add|remove
  if [ "$1" = add ]; then
    wine reg add "$installer_drivers" /v "$installer_access" /t REG_SZ /d Installed /f /reg:64 >/dev/null 2>&1
  else
    wine reg delete "$installer_drivers" /v "$installer_access" /f /reg:64 >/dev/null 2>&1 || true
  fi
}

installer_check() {  # what, command...
  local what=$1; shift
  if "$@"; then
    passed=$(( passed + 1 ))
    echo "windows-test: installer: $what: ok"
  else
    failed=$(( failed + 1 ))
    failures+=("installer: $what")
    echo "windows-test: installer: $what: FAILED"
  fi
}

# "sha256  path" for every file under a folder, sorted.
installer_snapshot() {
  (cd "$1" && find . -type f -printf '%P\0' | LC_ALL=C sort -z | xargs -0 -r sha256sum | LC_ALL=C sort)
}

# The registry value of the uninstall entry (32-bit view, where the installer writes it).
installer_reg() {  # value
  wine reg query "$installer_key" /v "$1" /reg:32 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 \{1,\}REG_[A-Z_]* \{1,\}//p"
}

# The machine field of a PE file's header: i386 or x86-64.
installer_machine() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read(4096)
pe = struct.unpack_from('<I', data, 0x3c)[0]
machine = struct.unpack_from('<H', data, pe + 4)[0] if data[pe:pe + 4] == b'PE\0\0' else 0
print({0x14c: 'i386', 0x8664: 'x86-64'}.get(machine, hex(machine)))
PY
}

# Wine's all-users Start menu and desktop.
installer_links() {
  find "$WINEPREFIX/drive_c" -ipath '*start menu/programs/KORVEX小幫手.lnk' -o \
       -ipath '*/public/desktop/KORVEX小幫手.lnk' 2>/dev/null | LC_ALL=C sort
}

# Both shortcuts there, each starting korvex-assistant.exe of the folder in the folder.
installer_links_point_at() {  # windows folder
  local links
  links=$(installer_links)
  [ "$(printf '%s\n' "$links" | grep -c .)" -eq 2 ] || { echo "windows-test:   shortcuts: $links"; return 1; }
  printf '%s\n' "$links" | while read -r link; do
    python3 - "$link" "$1" <<'PY' || exit 1
import sys
data = open(sys.argv[1], 'rb').read().lower()
folder = sys.argv[2].lower()
ok = (folder.encode('utf-16-le') in data or folder.encode('latin-1', 'replace') in data) and \
     (b'k\0o\0r\0v\0e\0x\0-\0a\0s\0s\0i\0s\0t\0a\0n\0t\0.\0e\0x\0e\0' in data or b'korvex-assistant.exe' in data)
if not ok:
    print('windows-test:   %s does not start korvex-assistant.exe in %s' % (sys.argv[1], sys.argv[2]))
sys.exit(0 if ok else 1)
PY
  done
}

# The folder holds exactly the school's files (unchanged), the files of one build's zip
# (identical) and the uninstaller.
installer_holds() {  # folder, school's snapshot, build
  local folder=$1 school=$2 build=$3 ok=0
  [ -f "$folder/korvex-uninstall.exe" ] || { echo "windows-test:   no korvex-uninstall.exe"; ok=1; }
  LC_ALL=C sort "$school" "$installer_root/$build.files" >"$installer_root/expected"
  installer_snapshot "$folder" | grep -v '  korvex-uninstall\.exe$' >"$installer_root/found" || true
  if ! cmp -s "$installer_root/expected" "$installer_root/found"; then
    diff "$installer_root/expected" "$installer_root/found" | head -20
    ok=1
  fi
  local want=i386; [ "$build" = win64 ] && want=x86-64
  local exe
  for exe in korvex-assistant.exe korvex-batch.exe; do
    [ "$(installer_machine "$folder/$exe")" = "$want" ] || { echo "windows-test:   $exe is not $want"; ok=1; }
  done
  return $ok
}

# The snapshot lines of the program's own files in the folder (the build's and the
# uninstaller), whatever else a running program writes there.
installer_program_files() {  # folder, build
  installer_snapshot "$1" | awk 'NR == FNR { want[substr($0, 67)] = 1; next }
    substr($0, 67) in want || substr($0, 67) == "korvex-uninstall.exe"' "$installer_root/$2.files" -
}

installer_entry_is() {  # windows folder, build
  local v l b
  v=$(installer_reg DisplayVersion); l=$(installer_reg InstallLocation); b=$(installer_reg Build)
  [ "$v" = "$installer_version" ] && [ "$l" = "$1" ] && [ "$b" = "$2" ] || {
    echo "windows-test:   Programs and Features: version '$v', folder '$l', build '$b'"; return 1; }
}
installer_no_entry() {
  ! wine reg query "$installer_key" /reg:32 >/dev/null 2>&1 && [ -z "$(installer_links)" ]
}
installer_same() { cmp -s "$1" "$2" || { diff "$1" "$2" | head -20; return 1; }; }
installer_ended_well() {  # exit status, check...
  local rc=$1; shift
  [ "$rc" -eq 0 ] || { echo "windows-test:   exit status $rc"; return 1; }
  "$@"
}

installer_run() {  # log, program, arguments...: the program's exit status
  local log=$1; shift
  set +e
  timeout 300 wine "$@" >>"$log" 2>&1
  local rc=$?
  # the uninstaller goes on in a copy of itself: wait for every Wine program to end
  timeout 120 wineserver -w
  set -e
  return $rc
}

# The same, without waiting for every Wine program (one of ours runs on).
installer_run_while() {  # log, program, arguments...
  local log=$1; shift
  set +e
  timeout 300 wine "$@" >>"$log" 2>&1
  local rc=$?
  set -e
  return $rc
}

installer_test() {
  local build other bits other_bits
  if [ "$arch" = x86_64 ]; then build=win64; other=win32; bits=64; other_bits=32
  else build=win32; other=win64; bits=32; other_bits=64; fi
  installer_root=$work/installer
  local school=$installer_root/school log=$installer_root/log rc
  mkdir -p "$installer_root"
  : >"$log"
  # A server that ends with the last program, so that wineserver -w returns.
  wineserver -k >/dev/null 2>&1 || true
  local zip
  for b in win32 win64; do
    zip=$project/dist/korvex-assistant-$installer_version-$b.zip
    mkdir -p "$installer_root/zip-$b"
    unzip -q "$zip" -d "$installer_root/zip-$b"
    installer_snapshot "$installer_root/zip-$b/korvex-assistant-$installer_version-$b" >"$installer_root/$b.files"
  done
  # no installation registered from an earlier run
  wine reg delete "$installer_key" /f /reg:32 >/dev/null 2>&1 || true
  if [ $build = win64 ]; then installer_driver add; else installer_driver remove; fi

  "$linux_build/korvex-sample" create --folder "$school" --students 60 --seed 5 >/dev/null
  local win_school
  win_school=$(winepath -w "$school")
  installer_snapshot "$school" >"$installer_root/school.before"

  rc=0; installer_run "$log" "$installer_setup" /S "/D=$win_school" || rc=$?
  installer_check "silent install ends with 0 (was $rc)" [ "$rc" -eq 0 ]
  installer_check "the Access driver's bitness chose the $bits-bit build; exactly its files, the school's untouched" \
    installer_holds "$school" "$installer_root/school.before" $build
  installer_check "Programs and Features names version $installer_version and the folder" \
    installer_entry_is "$win_school" $build
  installer_check "Start-menu and desktop shortcuts start korvex-assistant.exe in the folder" \
    installer_links_point_at "$win_school"

  # The installed program on its own: its folder's DLLs and plugins, no build folder.
  set +e
  (cd "$installer_root" && env -u WINEPATH -u QT_PLUGIN_PATH timeout 300 wine "$school/korvex-batch.exe" \
     --user admin --password admin startup >"$installer_root/startup.out" 2>&1)
  rc=$?
  set -e
  installer_check "korvex-batch.exe from the installed folder runs startup there (exit $rc)" \
    bash -c '[ "$0" -eq 0 ] && [ -f "$1/ASSISTANT.INI" ] && [ -f "$1/scorep.xls" ] && ! grep -q critical "$2"' \
    "$rc" "$school" "$installer_root/startup.out"
  [ "$rc" -eq 0 ] || head -5 "$installer_root/startup.out"

  # A program running in the folder cannot be replaced: the install stops before it
  # changes anything. (Wine, as Windows, refuses to write an executable that runs.)
  installer_program_files "$school" $build >"$installer_root/program.running"
  (cd "$installer_root" && exec env -u WINEPATH -u QT_PLUGIN_PATH wine "$school/korvex-assistant.exe" \
     >"$installer_root/running.out" 2>&1) &
  local running=$!
  sleep 5
  rc=0; installer_run_while "$log" "$installer_setup" /S "/D=$win_school" || rc=$?
  installer_program_files "$school" $build >"$installer_root/program.after"
  local alive=no
  kill -0 "$running" 2>/dev/null && alive=yes
  kill "$running" 2>/dev/null || true
  wait "$running" 2>/dev/null || true
  timeout 120 wineserver -w || true
  installer_check "korvex-assistant.exe running (still: $alive): install ends with 2 ($rc), no program file changed" \
    bash -c '[ "$0" = yes ] && [ "$1" -eq 2 ] && cmp -s "$2" "$3"' \
    "$alive" "$rc" "$installer_root/program.running" "$installer_root/program.after"
  # The school's files now: what the program wrote besides the ones it came with.
  installer_snapshot "$school" | grep -v '  korvex-uninstall\.exe$' |
    LC_ALL=C comm -23 - "$installer_root/$build.files" >"$installer_root/school.data"
  cp "$school/ASSISTANT.INI" "$installer_root/ASSISTANT.INI.kept"

  rc=0; installer_run "$log" "$installer_setup" /S /BITS=$other_bits "/D=$win_school" || rc=$?
  installer_check "reinstall with /BITS=$other_bits: the $other_bits-bit build replaces the $bits-bit one (exit $rc)" \
    installer_ended_well $rc installer_holds "$school" "$installer_root/school.data" $other
  installer_check "that reinstall keeps ASSISTANT.INI byte for byte" \
    installer_same "$installer_root/ASSISTANT.INI.kept" "$school/ASSISTANT.INI"

  # The setup program started from the school's folder installs there without /D.
  cp "$installer_setup" "$school/korvex-setup.exe"
  rc=0; installer_run "$log" "$school/korvex-setup.exe" /S || rc=$?
  rm -f "$school/korvex-setup.exe"
  installer_check "setup.exe in the school folder, /S alone: installs there, the $bits-bit build again (exit $rc)" \
    installer_ended_well $rc installer_holds "$school" "$installer_root/school.data" $build
  installer_check "and keeps ASSISTANT.INI byte for byte" \
    installer_same "$installer_root/ASSISTANT.INI.kept" "$school/ASSISTANT.INI"

  rc=0; installer_run "$log" "$school/korvex-uninstall.exe" /S || rc=$?
  installer_snapshot "$school" >"$installer_root/school.after"
  installer_check "silent uninstall leaves exactly the school's files, unchanged (exit $rc)" \
    installer_ended_well $rc installer_same "$installer_root/school.data" "$installer_root/school.after"
  installer_check "and removes the Programs and Features entry and the shortcuts" installer_no_entry

  # A folder the install made goes with the uninstall; one without exam.mdb is accepted
  # when silent (the grading program may come later).
  local fresh=$installer_root/new-folder
  rc=0; installer_run "$log" "$installer_setup" /S "/D=$(winepath -w "$fresh")" || rc=$?
  local installed=no
  [ "$rc" -eq 0 ] && [ -f "$fresh/korvex-uninstall.exe" ] && installed=yes
  rc=0; installer_run "$log" "$fresh/korvex-uninstall.exe" /S || rc=$?
  installer_check "into a new folder: installed ($installed), and the uninstall removes the folder" \
    bash -c '[ "$0" = yes ] && [ ! -e "$1" ]' "$installed" "$fresh"

  # Refusals: no folder (the setup program's own has no exam.mdb), a bad /BITS.
  installer_snapshot "$project/dist" >"$installer_root/dist.before"
  rc=0; installer_run "$log" "$installer_setup" /S || rc=$?
  installer_check "silent, no /D and no exam.mdb beside it: ends with 2, installs nothing" \
    bash -c '[ "$0" -eq 2 ] && cmp -s "$1" <(cd "$2" && find . -type f -printf "%P\0" | LC_ALL=C sort -z | xargs -0 -r sha256sum | LC_ALL=C sort)' \
    "$rc" "$installer_root/dist.before" "$project/dist"
  rc=0; installer_run "$log" "$installer_setup" /S /BITS=16 "/D=$win_school" || rc=$?
  installer_snapshot "$school" >"$installer_root/school.after"
  installer_check "/BITS=16: ends with 2, the folder unchanged" \
    bash -c '[ "$0" -eq 2 ] && cmp -s "$1" "$2"' "$rc" "$installer_root/school.data" "$installer_root/school.after"

  # The prefix as it was: the driver's registration would change the ODBC tests' drivers.
  installer_driver remove
}
