#!/usr/bin/env bash
# scripts/bench.sh: the same set-up as ./test, then runs the benchmarks under wine and prints
# their figures. Run it on an otherwise quiet machine.
set -u
source "$(dirname "$0")/setup.sh"
setup_all || exit 1
work="$BUILD_DIR/benchrun"
mkdir -p "$work" && cd "$work" || exit 1
"$BUILD_DIR/wine-emulator.sh" "$BUILD_DIR/bin/zuleditor_bench.exe" "$@" </dev/null
"$BUILD_DIR/wine-emulator.sh" "$BUILD_DIR/bin/pack_bench.exe" </dev/null
