#!/usr/bin/env bash
# Checks the built exe from outside: a 32-bit GUI program of subsystem version 4.0 that imports
# only from Windows' own DLLs, small, with its string table.
set -euo pipefail
exe=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
windres=${WINDRES:-i686-w64-mingw32-windres}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers=$("$objdump" -p "$exe")
grep -q 'Magic[[:space:]]*010b' <<<"$headers" || fail "not PE32"
grep -q 'file format pei-i386' <<<"$headers" || fail "not i386"
grep -q 'Subsystem[[:space:]]*00000002' <<<"$headers" || fail "not the GUI subsystem"
grep -q 'MajorSubsystemVersion[[:space:]]*4$' <<<"$headers" || fail "subsystem major version is not 4"
grep -q 'MinorSubsystemVersion[[:space:]]*0$' <<<"$headers" || fail "subsystem minor version is not 0"

allowed='^(KERNEL32|ADVAPI32|USER32|SHELL32|msvcrt)\.dll$'
while read -r dll; do
  [[ $dll =~ $allowed ]] || fail "imports from $dll"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")

size=$(stat -c %s "$exe")
[ "$size" -le 65536 ] || fail "$size bytes, more than 64 KiB"

strings=$("$windres" -i "$exe" -O rc)
expected_prompt="Orvandel would like to learn more about why\\nyou're uninstalling Velnor.\\n\\nWould you like to participate in our exit survey?"
grep -qF "1, \"$expected_prompt\"" <<<"$strings" || fail "string 1 is not the prompt"
grep -qF '2, "Exit Survey"' <<<"$strings" || fail "string 2 is not the caption"
grep -qE '^  3, "http://[^/"]+/uninstall/survey\.cfm"$' <<<"$strings" || fail "string 3 is not the survey URL"
grep -q '^LANGUAGE 9, 1$' <<<"$strings" || fail "string table is not language 1033"

echo "$exe: $size bytes, imports $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
[ "$failures" -eq 0 ]
