#!/bin/sh
# Fails unless the DLL exports exactly the given names, the first at ordinal 1, the next at 2...
# Usage: check-exports.sh OBJDUMP DLL NAME...
objdump="$1"; dll="$2"; shift 2
dump="$("$objdump" -p "$dll")" || exit 1
base="$(echo "$dump" | sed -n 's/^Ordinal Base[[:space:]]*\([0-9]*\)/\1/p' | head -n1)"
# "[   i] name" rows of the name table; i + base is the ordinal.
actual="$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*\([0-9]*\)\][[:space:]]*\(.*\)$/\1 \2/p' |
  while read -r index name; do echo "$((index + base)) $name"; done | sort -n)"
expected="$(i=1; for n in "$@"; do echo "$i $n"; i=$((i + 1)); done)"
if [ "$actual" != "$expected" ]; then
  echo "exports of $dll differ:"; echo "expected:"; echo "$expected"; echo "actual:"; echo "$actual"
  exit 1
fi
echo "$# exports of $dll as expected"
