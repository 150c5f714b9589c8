#!/usr/bin/env bash
# The Windows smoke suite. Builds the 32-bit Windows binaries with mingw-w64,
# checks what the host relies on without running them (exported names, the
# DESCRIPTION resource, no compiler runtime DLLs), then runs them under Wine
# next to a Linux build of the same sources: every bundled example is
# exported by both, and each target and report must be byte-identical apart
# from the time stamp and the date and time values; a locked target, a
# created directory and the test-mode error box must behave as on Linux; a
# 32-bit caller calls the exported functions through stdcall pointers.
#
# Where the kernel cannot run 32-bit programs (no IA-32 emulation), Wine
# cannot run the 32-bit build at all: that run is reported as SKIPPED, and the
# same run-time checks go to a 64-bit build of the same sources under 64-bit
# Wine, which exercises the Win32 code of the library and the host program.
#
#   bash scripts/windows-smoke.sh
#
# Environment: WINDOWS_SMOKE_NO_INSTALL=1 skips the package installation.
# Exit status: 0 passed or skipped, 1 a check failed.
set -u

ROOT=$(cd "$(dirname "$0")/.." && pwd)
WIN32_BUILD=$ROOT/build-win
WIN64_BUILD=$ROOT/build-win64
LINUX_BUILD=$ROOT/build-winref
JOBS=${JOBS:-2}

passed=0
failed=0
skipped_notes=()

skip_all() {
  echo "windows smoke suite: SKIPPED ($1)"
  exit 0
}

pass() {
  echo "  ok    $1"
  passed=$((passed + 1))
}

fail() {
  echo "  FAIL  $1"
  failed=$((failed + 1))
}

check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# --- tools ---------------------------------------------------------------------

if [ "${WINDOWS_SMOKE_NO_INSTALL:-0}" != 1 ]; then
  bash "$ROOT/scripts/install-windows-tools.sh" || skip_all "the Windows tools could not be installed"
fi
for tool in i686-w64-mingw32-g++-posix i686-w64-mingw32-objdump i686-w64-mingw32-windres cmake; do
  command -v "$tool" >/dev/null 2>&1 || skip_all "$tool is missing"
done
command -v wine >/dev/null 2>&1 || skip_all "wine is missing"

build() {  # build DIR CMAKE-ARGS...
  local dir=$1
  shift
  mkdir -p "$dir" &&
    cmake -S "$ROOT" -B "$dir" "$@" >"$dir/smoke-configure.log" 2>&1 &&
    cmake --build "$dir" -j"$JOBS" >"$dir/smoke-build.log" 2>&1
}

echo "windows smoke suite: building"
mkdir -p "$WIN32_BUILD" "$LINUX_BUILD"
if ! build "$WIN32_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DORVEX_TESTS=OFF; then
  tail -n 30 "$WIN32_BUILD/smoke-build.log" "$WIN32_BUILD/smoke-configure.log" 2>/dev/null
  echo "windows smoke suite: FAILED (the 32-bit Windows build failed)"
  echo "windows-smoke: 0 passed, 1 failed"
  exit 1
fi
if ! build "$LINUX_BUILD" -DORVEX_TESTS=OFF; then
  tail -n 30 "$LINUX_BUILD/smoke-build.log" "$LINUX_BUILD/smoke-configure.log" 2>/dev/null
  echo "windows smoke suite: FAILED (the Linux reference build failed)"
  echo "windows-smoke: 0 passed, 1 failed"
  exit 1
fi

# --- static checks of the 32-bit binaries -----------------------------------------

export_names() {  # the names in a PE file's export table, one a line
  i686-w64-mingw32-objdump -p "$1" |
    sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p'
}

only_system_dlls() {
  local dll bad=0
  [ -f "$1" ] || return 1
  for dll in $(i686-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    case "${dll,,}" in
      kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | msvcrt.dll) ;;
      *) echo "        $1 imports $dll"; bad=1 ;;
    esac
  done
  return $bad
}

is_i386() { i686-w64-mingw32-objdump -f "$1" | grep -q 'file format pei-i386'; }

hex() { od -An -tx1 -v | tr -d ' \n'; }

has_description_resource() {
  local dll=$1 rc needle section
  rc=$(i686-w64-mingw32-windres -i "$dll" -O rc 2>/dev/null) || return 1
  grep -qx '"DESCRIPTION" "TEXT"' <<<"$rc" || return 1
  grep -qxF '  L"|||Tarnex PCB 2.8 ASCII File (*.PCB)|||"' <<<"$rc" || return 1
  needle=$(printf '%s' '|||Tarnex PCB 2.8 ASCII File (*.PCB)|||' | iconv -f ASCII -t UTF-16LE | hex)
  section=$(i686-w64-mingw32-objcopy -O binary --only-section=.rsrc "$dll" /dev/stdout | hex)
  [[ $section == *"$needle"* ]]
}

no_decorated_exports() { ! export_names "$1" | grep -q '@'; }

exports_with_prefixes() {  # every export starts with one of the prefixes
  local file=$1
  shift
  local pattern
  pattern="^($(IFS='|'; echo "$*"))"
  export_names "$file" | grep -qE "$pattern" && ! export_names "$file" | grep -vqE "$pattern"
}

echo "windows smoke suite: static checks of the 32-bit build"
expected_exports=$'ExportFileFromPcb\nGetPcbExporterDescription\nOrvex16Saver\nRecognisedPcbFormat'
actual_exports=$(export_names "$WIN32_BUILD/SaveVORNPCB.dll" | sort)
echo "$actual_exports" | sed 's/^/        export: /'
check "SaveVORNPCB.dll exports exactly the four entry points by their plain names" \
  test "$actual_exports" = "$expected_exports"
check "SaveVORNPCB.dll carries the DESCRIPTION resource with its UTF-16 text" \
  has_description_resource "$WIN32_BUILD/SaveVORNPCB.dll"
for binary in SaveVORNPCB.dll HostPcb.dll pcbhost.exe stdcall-caller.exe dialog-driver.exe platform-checks.exe; do
  check "$binary is a 32-bit x86 binary" is_i386 "$WIN32_BUILD/$binary"
  check "$binary needs no compiler runtime DLL" only_system_dlls "$WIN32_BUILD/$binary"
done
check "HostPcb.dll exports its PcbApi_ functions undecorated" \
  bash -c "$(declare -f export_names no_decorated_exports); no_decorated_exports '$WIN32_BUILD/HostPcb.dll' &&
    export_names '$WIN32_BUILD/HostPcb.dll' | grep -qx PcbApi_GetCurrentBoardHandle"
check "pcbhost.exe exports its ClientAPI_, VFSAPI_ and DialogAPI_ functions undecorated" \
  bash -c "$(declare -f export_names no_decorated_exports exports_with_prefixes);
    no_decorated_exports '$WIN32_BUILD/pcbhost.exe' &&
    exports_with_prefixes '$WIN32_BUILD/pcbhost.exe' ClientAPI_ VFSAPI_ DialogAPI_"

# --- choosing what runs under Wine -------------------------------------------------

RUN_BUILD=
WINE_CMD=()
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  RUN_BUILD=$WIN32_BUILD
  RUN_KIND="32-bit"
  WINE_CMD=(timeout 300 wine)
  WINESERVER=/usr/lib/wine/wineserver32
  export WINEPREFIX=$WIN32_BUILD/wineprefix
  export WINEARCH=win32
else
  reason="this kernel cannot run 32-bit programs, so 32-bit Wine cannot start"
  skipped_notes+=("32-bit run under Wine SKIPPED ($reason)")
  echo "windows smoke suite: 32-bit run SKIPPED ($reason)"
  if [ -x /usr/lib/wine/wine64 ] && command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1; then
    echo "windows smoke suite: building the 64-bit stand-in"
    mkdir -p "$WIN64_BUILD"
    if build "$WIN64_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" -DORVEX_TESTS=OFF; then
      RUN_BUILD=$WIN64_BUILD
      RUN_KIND="64-bit stand-in"
      WINE_CMD=(timeout 300 /usr/lib/wine/wine64)
      WINESERVER=/usr/lib/wine/wineserver64
      export WINELOADER=/usr/lib/wine/wine64
      export WINEPREFIX=$WIN64_BUILD/wineprefix
      export WINEARCH=win64
    else
      tail -n 30 "$WIN64_BUILD/smoke-build.log"
      fail "the 64-bit Windows build"
    fi
  else
    skipped_notes+=("64-bit stand-in SKIPPED (no 64-bit Wine or compiler)")
  fi
fi

# --- run-time checks under Wine ----------------------------------------------------

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_reg() { "${WINE_CMD[@]}" reg "$@" >/dev/null 2>&1; }
set_test_mode() { wine_reg add 'HKLM\Software\Marnel\TestMode' /f; }
clear_test_mode() {
  wine_reg delete 'HKLM\Software\Marnel\TestMode' /f
  ! wine_reg query 'HKLM\Software\Marnel\TestMode'
}

# The time stamp and the date and time fields are the only values that may
# differ between two exports of one board.
normalise_output() {
  sed -E -e 's/^(  \(timeStamp)[0-9 ]*\)/\1 T)/' \
    -e 's/(\(fieldDef "Date" ")[^"]*"/\1D"/' -e 's/(\(fieldDef "Time" ")[^"]*"/\1T"/' "$1"
}

same_output() { cmp -s <(normalise_output "$1") <(normalise_output "$2"); }
same_file() { cmp -s "$1" "$2"; }
# Windows' standard output in text mode ends lines in CR LF.
same_stdout() { [ -f "$1" ] && [ -f "$2" ] && cmp -s <(tr -d '\r' <"$1") <(tr -d '\r' <"$2"); }

LIN=
WIN=
# run_both NAME ARGS...: runs pcbhost in $LIN and pcbhost.exe in $WIN with the
# same arguments and relative names; leaves NAME.out and NAME.rc in each.
run_both() {
  local name=$1
  shift
  (cd "$LIN" && "$LINUX_BUILD/pcbhost" "$@" >"$name.out" 2>&1; echo $? >"$name.rc")
  (cd "$WIN" && "${WINE_CMD[@]}" "$RUN_BUILD/pcbhost.exe" "$@" >"$name.out" 2>&1; echo $? >"$name.rc")
}

# compare_run NAME LABEL FILE...: the exit statuses, standard outputs and the
# files of the run NAME must agree.
compare_run() {
  local run=$1 name=$2 f
  shift 2
  check "$name: same exit status ($(cat "$LIN/$run.rc") on Linux, $(cat "$WIN/$run.rc") under Wine)" \
    same_file "$LIN/$run.rc" "$WIN/$run.rc"
  if ! same_stdout "$LIN/$run.out" "$WIN/$run.out"; then
    diff <(tr -d '\r' <"$LIN/$run.out") <(tr -d '\r' <"$WIN/$run.out") | head -n 10 | sed 's/^/        /'
    fail "$name: same standard output"
  else
    pass "$name: same standard output"
  fi
  for f in "$@"; do
    if [ ! -e "$LIN/$f" ] && [ ! -e "$WIN/$f" ]; then
      pass "$name: $f written by neither"
    elif [ -e "$LIN/$f" ] && [ -e "$WIN/$f" ] && same_output "$LIN/$f" "$WIN/$f"; then
      pass "$name: $f identical (time values aside)"
    else
      [ -e "$LIN/$f" ] && [ -e "$WIN/$f" ] &&
        diff <(normalise_output "$LIN/$f") <(normalise_output "$WIN/$f") | head -n 10 | sed 's/^/        /'
      fail "$name: $f identical (time values aside)"
    fi
  done
}

# Both sides start from the same files: a fresh directory with the examples.
fresh_dirs() {
  rm -rf "$SMOKE_DIR"
  LIN=$SMOKE_DIR/linux
  WIN=$SMOKE_DIR/wine
  mkdir -p "$LIN/out" "$WIN/out"
}

if [ -n "$RUN_BUILD" ]; then
  SMOKE_DIR=$RUN_BUILD/smoke
  echo "windows smoke suite: running the $RUN_KIND build under Wine"
  # One Wine session for the whole run, on a display of its own: Wine binds
  # its desktop to the display its first process saw.
  "$WINESERVER" -k >/dev/null 2>&1
  XVFB_PID=
  # However the run ends, nothing it started is left running.
  trap '"$WINESERVER" -k >/dev/null 2>&1; [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null' EXIT
  if command -v Xvfb >/dev/null 2>&1; then
    display_file=$RUN_BUILD/xvfb.display
    rm -f "$display_file"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
    if [ -s "$display_file" ]; then export DISPLAY=":$(cat "$display_file")"; else unset DISPLAY; fi
  else
    unset DISPLAY
  fi
  if ! "${WINE_CMD[@]}" wineboot -i >"$RUN_BUILD/wineboot.log" 2>&1; then
    fail "Wine prepares its prefix ($WINEPREFIX)"
  fi

  caller_log=$RUN_BUILD/stdcall-caller.log
  (cd "$RUN_BUILD" && "${WINE_CMD[@]}" stdcall-caller.exe SaveVORNPCB.dll >"$caller_log" 2>&1)
  caller_rc=$?
  sed 's/^/        /' "$caller_log"
  check "the exported functions called by plain name through stdcall pointers" test $caller_rc -eq 0

  if [ -n "${DISPLAY:-}" ]; then
    dialog_log=$RUN_BUILD/dialog-driver.log
    (cd "$RUN_BUILD" && "${WINE_CMD[@]}" dialog-driver.exe >"$dialog_log" 2>&1)
    dialog_rc=$?
    if [ $dialog_rc -ne 0 ] && [ ! -s "$dialog_log" ]; then
      # Nothing ran at all: Wine could not reach the display. Once more.
      echo "        dialog-driver.exe printed nothing (exit status $dialog_rc); trying once more"
      sleep 2
      (cd "$RUN_BUILD" && "${WINE_CMD[@]}" dialog-driver.exe >"$dialog_log" 2>&1)
      dialog_rc=$?
    fi
    grep -v '^ok ' "$dialog_log" | sed 's/^/        /'
    check "the dialogs as real windows: places, sizes, clicks, keys and close requests (exit status $dialog_rc)" test $dialog_rc -eq 0
  else
    skipped_notes+=("dialog windows SKIPPED (no X display)")
  fi

  check "test-mode registry key absent for the ordinary runs" clear_test_mode
  check "the test mode is off without the registry key" \
    bash -c "cd '$RUN_BUILD' && ${WINE_CMD[*]} platform-checks.exe . no-testmode >/dev/null 2>&1"

  # The operating-system layer, also replacing a file across volumes when a
  # second file system is at hand.
  platform_dir=$RUN_BUILD/platform-checks
  other_dir=/dev/shm/windows-smoke-$$
  rm -rf "$platform_dir" && mkdir -p "$platform_dir"
  platform_args=("Z:${platform_dir//\//\\}")
  if mkdir -p "$other_dir" 2>/dev/null && [ "$(stat -c %d "$other_dir")" != "$(stat -c %d "$platform_dir")" ]; then
    platform_args+=("Z:${other_dir//\//\\}")
  else
    skipped_notes+=("replacing across volumes SKIPPED (no second file system)")
  fi
  (cd "$RUN_BUILD" && "${WINE_CMD[@]}" platform-checks.exe "${platform_args[@]}" >platform-checks.log 2>&1)
  platform_rc=$?
  grep -v '^ok ' "$RUN_BUILD/platform-checks.log" | sed 's/^/        /'
  check "the Win32 operating-system layer" test $platform_rc -eq 0
  rm -rf "$other_dir"
  fresh_dirs
  for board in "$ROOT"/examples/*.json; do
    name=$(basename "$board" .json)
    run_both "export-$name" export "$board" "out/$name.pcb"
    compare_run "export-$name" "export $name" "out/$name.pcb" "out/$name.Rep"
  done

  # A target that another user holds keeps its content; the run still goes on.
  for side in "$LIN" "$WIN"; do
    printf 'old content\r\n' >"$side/out/locked.pcb"
    printf 'ComputerName=ELSEWHERE\r\nUserName=alice\r\nProcessID=1\r\n' >"$side/out/~\$locked.pcb_loc"
  done
  board=$(ls "$ROOT"/examples/*.json | head -n 1)
  run_both locked export "$board" out/locked.pcb
  compare_run locked "locked target" out/locked.pcb out/locked.Rep
  check "locked target: keeps its old content under Wine" \
    bash -c "printf 'old content\r\n' | cmp -s - '$WIN/out/locked.pcb'"

  # Missing directories are created on a Yes, with their missing parents.
  run_both created --create-dir yes export "$board" out/new/deeper/board.pcb
  compare_run created "created directory" out/new/deeper/board.pcb out/new/deeper/board.Rep

  # A target named the Windows way, with backslashes, is the same file as
  # with slashes; only the magic line names the target as given.
  (cd "$WIN" && "${WINE_CMD[@]}" "$RUN_BUILD/pcbhost.exe" export "$board" out/slash.pcb >slash.out 2>&1 &&
    "${WINE_CMD[@]}" "$RUN_BUILD/pcbhost.exe" export "$board" 'out\backslash.pcb' >backslash.out 2>&1)
  check "backslash target: written under Wine as with slashes" \
    bash -c "$(declare -f normalise_output); cmp -s <(normalise_output '$WIN/out/slash.pcb' | tail -n +2) \
      <(normalise_output '$WIN/out/backslash.pcb' | tail -n +2)"

  # The host's unattended test mode: an error box ends the host with 1.
  for side in "$LIN" "$WIN"; do printf 'x' >"$side/out/file"; done
  check "test-mode registry key set" set_test_mode
  check "the test mode is on with the registry key" \
    bash -c "cd '$RUN_BUILD' && ${WINE_CMD[*]} platform-checks.exe . testmode >/dev/null 2>&1"
  run_both testmode --test-mode --create-dir yes export "$board" out/file/sub/board.pcb
  compare_run testmode "test-mode error box" out/file/sub/board.pcb
  check "test-mode error box: the message on standard output under Wine" \
    grep -q 'ShowDialogWithCaption withError Unable to Create Directory' "$WIN/testmode.out"
  check "test-mode error box: exit status 1 under Wine" test "$(cat "$WIN/testmode.rc")" = 1
  check "test-mode registry key removed again" clear_test_mode

  # Without the key the same run is not in test mode: the host shows the box.
  run_both no-testmode --create-dir yes export "$board" out/file/sub/board.pcb
  compare_run no-testmode "error box outside test mode" out/file/sub/board.pcb
  check "outside test mode: no test-mode message under Wine" \
    bash -c "! grep -q ShowDialogWithCaption '$WIN/no-testmode.out'"

  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
fi

# --- result -----------------------------------------------------------------------

notes=""
for note in "${skipped_notes[@]}"; do notes="$notes; $note"; done
if [ $failed -ne 0 ]; then
  echo "windows smoke suite: FAILED ($failed of $((passed + failed)) checks failed$notes)"
elif [ -n "$RUN_BUILD" ]; then
  echo "windows smoke suite: PASSED (static checks of the 32-bit build; run-time checks of the $RUN_KIND build under Wine$notes)"
else
  echo "windows smoke suite: PASSED static checks only$notes"
fi
echo "windows-smoke: $passed passed, $failed failed"
[ $failed -eq 0 ]
