#!/usr/bin/env bash
# Runs one native fuzz target of the viewer's loaders (tests/fuzz) for a time:
#
#   scripts/fuzz.sh FORMAT SECONDS [libFuzzer options...]
#
# FORMAT is one of qev jup daz yub wix kez tga vop ini; SECONDS 0 runs the seeds and the kept
# corpus once, without fuzzing. Installs what it needs (clang with its i386 sanitizer and fuzzer
# runtimes, the 32-bit C and C++ development files), writes the seed corpora once with the
# fixture writers under wine (build-fuzz/seeds), builds the target in build-fuzz/ and runs it in
# a work folder of its own. New inputs are kept in build-fuzz/corpus/FORMAT, findings in
# build-fuzz/findings/FORMAT, the run's output in build-fuzz/logs/FORMAT.log.
set -u
source "$(dirname "$0")/setup.sh"

FORMATS="qev jup daz yub wix kez tga vop ini"
# The targets that read other files of a game folder besides their input.
GAME_FORMATS="jup daz wix"
FUZZ_DIR="${FUZZ_DIR:-$ROOT_DIR/build-fuzz}"
NATIVE_PACKAGES="cmake make clang libclang-rt-14-dev g++-multilib"

usage() {
  echo "usage: scripts/fuzz.sh FORMAT SECONDS [libFuzzer options...]; FORMAT one of: $FORMATS" >&2
  exit 2
}
[ $# -ge 2 ] || usage
format="$1" seconds="$2"
shift 2
case " $FORMATS " in *" $format "*) ;; *) usage ;; esac
case "$seconds" in '' | *[!0-9]*) usage ;; esac

fuzz_packages() {
  local missing="" p sudo=""
  for p in $NATIVE_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  apt_update "$sudo" && apt_install "$sudo" $missing
}

# The seeds are written by the fixture writers, which are Windows code: once, and again when
# the writers changed.
fuzz_seeds() {
  local stamp="$FUZZ_DIR/seeds/.written" folder
  if [ -f "$stamp" ] && [ -z "$(find "$ROOT_DIR/tests/fixtures" "$ROOT_DIR/tests/fuzz/seeds" \
                                  -type f -newer "$stamp" | head -n1)" ]; then
    return 0
  fi
  echo "Writing the seed corpora with the fixture writers (under wine)"
  setup_packages && setup_i386 || return 1
  cmake -S "$ROOT_DIR" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT_DIR/cmake/toolchain-i686-mingw.cmake" \
    >/dev/null && cmake --build "$BUILD_DIR" -j "$JOBS" --target fuzz_seeds >/dev/null || return 1
  trap cleanup EXIT
  setup_display && setup_wine || return 1
  mkdir -p "$FUZZ_DIR"
  folder="Z:$(printf '%s' "$FUZZ_DIR/seeds" | tr '/' '\\')"
  # From build-fuzz/, where the settings file that the writer leaves behind does no harm.
  if ! (cd "$FUZZ_DIR" && "$BUILD_DIR/wine-emulator.sh" "$BUILD_DIR/bin/fuzz_seeds.exe" "$folder") \
    </dev/null >"$FUZZ_DIR/seeds.log" 2>&1; then
    echo "the seeds could not be written: see $FUZZ_DIR/seeds.log" >&2
    return 1
  fi
  cleanup
  trap - EXIT
  touch "$stamp"
}

fuzz_build() {
  cmake -S "$ROOT_DIR/tests/fuzz" -B "$FUZZ_DIR" -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
    cmake --build "$FUZZ_DIR" -j "$JOBS" --target "fuzz_$format" >/dev/null
}

fuzz_packages || exit 1
setup_i386 || exit 1
# Several targets may run side by side: one at a time writes the seeds and builds.
mkdir -p "$FUZZ_DIR"
exec 9>"$FUZZ_DIR/.lock"
flock 9
fuzz_seeds || exit 1
fuzz_build || { echo "the fuzz target did not build" >&2; exit 1; }
flock -u 9
exec 9>&-

corpus="$FUZZ_DIR/corpus/$format"
findings="$FUZZ_DIR/findings/$format"
mkdir -p "$corpus" "$findings" "$FUZZ_DIR/logs"
# A work folder in memory where there is one: the target writes every input there.
parent=/dev/shm
[ -d "$parent" ] && [ -w "$parent" ] || parent="${TMPDIR:-/tmp}"
work="$(mktemp -d "$parent/korbalt-fuzz-$format.XXXXXX")"
trap 'rm -rf "$work"' EXIT
case " $GAME_FORMATS " in *" $format "*) cp -r "$FUZZ_DIR/seeds/game/." "$work/" ;; esac
# A 32-bit libFuzzer cannot list folders whose entries have 64-bit offsets (ext4 under the
# i386 emulator): the seeds and the kept corpus go in as a list of files.
find "$FUZZ_DIR/seeds/$format" "$corpus" -type f | paste -sd, - >"$work/.inputs"

options=(-print_final_stats=1 -detect_leaks=0 -timeout=60 -seed_inputs=@"$work/.inputs"
         -artifact_prefix="$findings/")
if [ "$seconds" -eq 0 ]; then options+=(-runs=0); else options+=(-max_total_time="$seconds"); fi
# The sanitizers' leak check stops the world with ptrace, which the i386 emulator cannot do:
# the targets check the heap after each input themselves.
export ASAN_OPTIONS="detect_leaks=0:allocator_may_return_null=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
echo "Fuzzing $format for $seconds s in $work (log: $FUZZ_DIR/logs/$format.log)"
(cd "$work" && "$FUZZ_DIR/fuzz_$format" "${options[@]}" "$@" "$corpus") </dev/null 2>&1 |
  tee "$FUZZ_DIR/logs/$format.log" | grep -E '^(stat::|==|SUMMARY|INFO: (seed|-max_len)|#[0-9]+ +(INITED|DONE))|Test unit written|assertion'
exit "${PIPESTATUS[0]}"
