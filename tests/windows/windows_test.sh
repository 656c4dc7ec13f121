#!/usr/bin/env bash
# The Windows test of dist/windows-x64 and dist/windows-x86 (made by scripts/windows.sh):
# - the export table of each korden.dll holds IKORDEN alone, undecorated, and neither DLL imports
#   a MinGW-w64 run-time DLL;
# - the x86 IKORDEN is __stdcall: every return of it removes the two arguments (ret 8);
# - under wine64 a host of our own (host.c) loads the x64 korden.dll by name and calls IKORDEN on
#   every example, with NAMES.dat and the input data file written with CR LF as a Windows host
#   writes them; every file the run writes equals the Linux build's once CR is removed, and every
#   line of it ends in CR LF;
# - a host linked through korden.lib and the header (both architectures; the x64 one runs), and
#   the korden.exe command, give the same files.
# The x86 DLL is checked statically: this machine's kernel does not run 32-bit code.
# Usage: windows_test.sh LINUX_KORDEN WORK_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linux_korden=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
mkdir -p "$2"
work=$(cd "$2" && pwd)
x64="$root/dist/windows-x64"
x86="$root/dist/windows-x86"
epoch=1700000000
wine=/usr/lib/wine/wine64

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
  failed=$((failed + 1))
  echo "FAIL $*"
}
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    pass
  else
    fail "$what"
    return 1
  fi
}

rm -rf "$work/runs" "$work/hosts"
mkdir -p "$work/runs" "$work/hosts"

# --- export tables, imports and the x86 return ----------------------------------------------

# Names of the export name table printed by objdump -p.
exported_names() {
  objdump -p "$1" | awk '/\[Name Pointer\/Ordinal\] Table|\[Ordinal\/Name Pointer\] Table/ {on = 1; next}
    on && /^\t\[ *[0-9]+\] / {print $NF; next}
    on {on = 0}'
}
imported_dlls() { objdump -p "$1" | awk '/DLL Name:/ {print $3}'; }
# (Output is taken whole before grep -q looks at it: grep -q ends at its first match, and the
# writer of a pipe into it would then fail under pipefail.)
no_mingw_runtime() {
  local dlls
  dlls=$(imported_dlls "$1") && [ -n "$dlls" ] && ! grep -qiE 'libgcc|libstdc|winpthread|mingw' <<<"$dlls"
}
names_itself_korden() {
  local dump
  dump=$(objdump -p "$1") && grep -qE '^Name[[:space:]]+[0-9a-f]+ korden\.dll$' <<<"$dump"
}

for dist in "$x64" "$x86"; do
  dll="$dist/korden.dll"
  names=$(exported_names "$dll" | tr '\n' ' ')
  echo "$(basename "$dist") korden.dll exports: ${names% } (imports: $(imported_dlls "$dll" | tr '\n' ' '))"
  check "$dll exports IKORDEN alone" [ "$names" = "IKORDEN " ]
  check "$dll names itself korden.dll" names_itself_korden "$dll"
  for file in "$dll" "$dist/korden.exe"; do
    check "$file needs no MinGW-w64 run-time DLL" no_mingw_runtime "$file"
  done
done

# The x86 IKORDEN: the function at the exported address is the __stdcall _IKORDEN@8 of the symbol
# table, and every ret in it (and in its cold part) is ret $0x8.
dump32=i686-w64-mingw32-objdump
image_base=$(objdump -p "$x86/korden.dll" | awk '/^ImageBase/ {print $2}')
export_rva=$(objdump -p "$x86/korden.dll" | awk '/Export RVA/ {print $(NF-2); exit}')
export_address=$(printf '%x' $((0x$image_base + 0x$export_rva)))
# objdump goes on past the end of a PE symbol into the functions that follow it: each listing is
# cut at the next symbol.
only_symbol() { awk -v name="<$1>:" 'index($0, name) { keep = 1; print; next } / <.*>:$/ { keep = 0 } keep'; }
disassembly=$($dump32 -d --no-show-raw-insn --disassemble='_IKORDEN@8' "$x86/korden.dll" |
  only_symbol '_IKORDEN@8')
cold=$($dump32 -d --no-show-raw-insn --disassemble='_IKORDEN@8.cold' "$x86/korden.dll" |
  only_symbol '_IKORDEN@8.cold')
returns=$(printf '%s\n%s\n' "$disassembly" "$cold" | grep -E '^ *[0-9a-f]+:\s+ret' || true)
echo "x86 IKORDEN at $export_address:"
echo "$returns"
export_is_ikorden() { grep -q "^0*$export_address <_IKORDEN@8>:" <<<"$disassembly"; }
every_return_removes_8_bytes() { ! grep -vqE 'ret +\$0x8$' <<<"$returns"; }
check "the x86 export points at _IKORDEN@8" export_is_ikorden
check "the x86 IKORDEN returns" [ -n "$returns" ]
check "every return of the x86 IKORDEN is ret \$0x8" every_return_removes_8_bytes

# --- the hosts -------------------------------------------------------------------------------

cflags=(-std=c11 -Wall -Wextra -Wpedantic -Werror -O2 -static)
check "the host builds" x86_64-w64-mingw32-gcc-posix "${cflags[@]}" -o "$work/hosts/host.exe" \
  "$root/tests/windows/host.c"
check "a host links the x64 korden.lib" x86_64-w64-mingw32-gcc-posix "${cflags[@]}" -I"$x64" \
  -o "$work/hosts/linked_host64.exe" "$root/tests/windows/linked_host.c" "$x64/korden.lib"
check "a host links the x86 korden.lib" i686-w64-mingw32-gcc-posix "${cflags[@]}" -I"$x86" \
  -o "$work/hosts/linked_host32.exe" "$root/tests/windows/linked_host.c" "$x86/korden.lib"
# The import name table of korden.dll follows its DLL Name line, after a heading line.
imports_undecorated() {
  $dump32 -p "$1" | awk '/DLL Name: korden.dll/ {n = 4; next} n > 0 && n-- && / IKORDEN$/ {found = 1}
    END {exit !found}'
}
check "the x86 linked host imports IKORDEN from korden.dll by its undecorated name" \
  imports_undecorated "$work/hosts/linked_host32.exe"

# --- runs under wine64 -----------------------------------------------------------------------

export WINEPREFIX="$work/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the wine prefix $WINEPREFIX"
  "$wine" wineboot --init >/dev/null 2>&1
fi

# Every line ends in CR LF: as many CR as LF, no line without its CR, and LF as the last byte.
crlf_lines() {
  local lf cr
  lf=$(tr -cd '\n' <"$1" | wc -c)
  cr=$(tr -cd '\r' <"$1" | wc -c)
  [ "$lf" -gt 0 ] && [ "$cr" -eq "$lf" ] && ! grep -qv $'\r$' "$1" && [ "$(tail -c1 "$1" | od -An -c | tr -d ' ')" = '\n' ]
}
no_cr() { ! grep -q $'\r' "$1"; }
same_once_cr_removed() { tr -d '\r' <"$1" | cmp -s - "$2"; }
ends_the_analysis() { [ "$(tail -n1 "$1")" = $'     END OF ANALYSIS\r' ]; }
# Equal once CR is removed, but for the line of the report that names the input's folder.
same_but_locations() {
  cmp -s <(tr -d '\r' <"$1" | grep -v 'Path to file locations') <(grep -v 'Path to file locations' "$2")
}

names_lines=("KORDEN TEST" "" "" "0" case.dat case.out case.plt case.aux case.pyc case.prs)

# run_case NAME INPUT HOST: the Linux command and the Windows host HOST (from work/hosts) on INPUT
# in folders of their own; compares every file the runs wrote.
run_case() {
  local name=$1 input=$2 host=$3
  local lin="$work/runs/$name/linux" win="$work/runs/$name/windows"
  mkdir -p "$lin" "$win"
  cp "$input" "$lin/case.dat"
  sed 's/\r*$/\r/' "$input" >"$win/case.dat"
  printf '%s\n' "${names_lines[@]}" >"$lin/NAMES.dat"
  printf '%s\r\n' "${names_lines[@]}" >"$win/NAMES.dat"
  cp "$x64/korden.dll" "$work/hosts/$host" "$win/"
  (cd "$lin" && SOURCE_DATE_EPOCH=$epoch "$linux_korden" >stdout.txt 2>stderr.txt)
  local lin_code=$?
  (cd "$win" && SOURCE_DATE_EPOCH=$epoch "$wine" "$host" >stdout.txt 2>stderr.txt)
  local win_code=$?
  check "$name: the Linux run ends normally (exit $lin_code)" [ "$lin_code" -eq 0 ]
  if ! check "$name: IKORDEN returns 0 under wine64 (got $win_code)" [ "$win_code" -eq 0 ]; then
    sed 's/^/    /' "$win/stderr.txt"
    return
  fi
  local before=$failed compared=()
  for file in case.out case.aux case.plt case.pyc case.prs; do
    case $file in
      case.pyc | case.prs) [ -f "$lin/$file" ] || { check "$name: no $file on Windows either" [ ! -f "$win/$file" ]; continue; } ;;
    esac
    check "$name: $file written on Windows" [ -f "$win/$file" ] || continue
    check "$name: $file equal to the Linux file once CR is removed" same_once_cr_removed "$win/$file" "$lin/$file"
    check "$name: every line of the Windows $file ends in CR LF" crlf_lines "$win/$file"
    check "$name: the Linux $file has LF line ends" no_cr "$lin/$file"
    compared+=("$file")
  done
  check "$name: the report ends with END OF ANALYSIS" ends_the_analysis "$win/case.out"
  [ "$failed" -eq "$before" ] && echo "ok   $name ($host): ${compared[*]}"
}

for input in "$root"/examples/*.dat; do
  run_case "$(basename "$input" .dat)" "$input" host.exe
done
run_case linked-host "$root/examples/tied_back_wall_two_anchors_si.dat" linked_host64.exe

# The command: korden.exe alone in its folder, `korden run` with an output folder.
cmd="$work/runs/command"
mkdir -p "$cmd/bin" "$cmd/linux"
cp "$x64/korden.exe" "$cmd/bin/"
sed 's/\r*$/\r/' "$root/examples/staged_excavation_three_stages_english.dat" >"$cmd/staged.dat"
cp "$root/examples/staged_excavation_three_stages_english.dat" "$cmd/linux/staged.dat"
(cd "$cmd" && SOURCE_DATE_EPOCH=$epoch "$wine" bin/korden.exe run staged.dat --out out >stdout.txt 2>stderr.txt)
command_code=$?
(cd "$cmd/linux" && SOURCE_DATE_EPOCH=$epoch "$linux_korden" run staged.dat --out out >stdout.txt 2>stderr.txt)
if check "korden.exe run ends normally (exit $command_code)" [ "$command_code" -eq 0 ]; then
  check "korden.exe run tells where the report is" grep -q '^Output report: ' "$cmd/stdout.txt"
  for file in staged.aux staged.plt; do
    check "korden.exe: $file equal to the Linux command's once CR is removed" \
      same_once_cr_removed "$cmd/out/$file" "$cmd/linux/out/$file"
    check "korden.exe: every line of $file ends in CR LF" crlf_lines "$cmd/out/$file"
  done
  check "korden.exe: the report equals the Linux command's but for the file locations" \
    same_but_locations "$cmd/out/staged.out" "$cmd/linux/out/staged.out" &&
    echo "ok   korden.exe run: staged.out staged.aux staged.plt"
else
  sed 's/^/    /' "$cmd/stderr.txt"
fi

echo "Windows test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
