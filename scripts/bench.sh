#!/usr/bin/env bash
# scripts/bench.sh [NAME [ARGS...]]: the same set-up as ./test, then the benchmarks under wine.
# Without arguments every benchmark runs (build/benchmarks.txt lists them); with a name, that one
# alone with the arguments that follow (scripts/bench.sh zuleditor 2000 20000; the "_bench"
# ending may be left out). Each runs in a folder of its own under build/benchrun. The figures
# are only as quiet as the machine: each benchmark's heading shows the load average.
# A new benchmark is one korbalt_add_bench line in bench/CMakeLists.txt (its head says how).
set -u
source "$(dirname "$0")/setup.sh"
setup_all || exit 1
list="$BUILD_DIR/benchmarks.txt"
if [ $# -gt 0 ]; then
  names=("${1%_bench}_bench")
  shift
  if ! grep -qx "${names[0]}" "$list"; then
    echo "no benchmark ${names[0]}; there are:" >&2
    sed 's/_bench$//; s/^/  /' "$list" >&2
    exit 2
  fi
else
  mapfile -t names <"$list"
fi
status=0
for name in "${names[@]}"; do
  echo "== $name (load average $(cut -d' ' -f1-3 /proc/loadavg))"
  mkdir -p "$BUILD_DIR/benchrun/$name"
  (cd "$BUILD_DIR/benchrun/$name" && "$BUILD_DIR/wine-emulator.sh" "$BUILD_DIR/bin/$name.exe" "$@" </dev/null) ||
    { echo "$name failed"; status=1; }
  echo
done
exit $status
