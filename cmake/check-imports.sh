#!/bin/sh
# Fails when a built program or DLL imports a DLL that a bare 32-bit Windows does not ship.
# Usage: check-imports.sh OBJDUMP DIR
objdump="$1"; dir="$2"
status=0; count=0
for bin in "$dir"/*.exe "$dir"/*.dll; do
  [ -f "$bin" ] || continue
  count=$((count + 1))
  for dll in $("$objdump" -p "$bin" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    case "$(echo "$dll" | tr 'A-Z' 'a-z')" in
      kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|comctl32.dll|comdlg32.dll|shell32.dll|\
      ole32.dll|oleaut32.dll|winmm.dll|msvcrt.dll|ddraw.dll|dinput.dll|version.dll|shlwapi.dll) ;;
      *) echo "$bin imports $dll"; status=1 ;;
    esac
  done
done
echo "$count binaries checked"
[ "$count" -gt 0 ] || status=1
exit $status
