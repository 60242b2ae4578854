#!/usr/bin/env bash
# The set-up steps of scripts/setup.sh against stand-ins (setup_stub.sh) for apt-get, dpkg, qemu
# and wine that fail a given number of times. Only the stand-ins and a few plain tools are on the
# PATH, so nothing here reaches the system's packages, its apt configuration or a real prefix.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

bin="$work/bin"
mkdir -p "$bin"
for tool in apt-get dpkg dpkg-query qemu-i386-static sudo wine wineboot wineserver; do
  ln -s "$here/setup_stub.sh" "$bin/$tool"
done
for tool in bash basename cat chmod cp dirname env grep head id mkdir mktemp nproc rm sed seq \
            sleep tail tee timeout touch; do
  ln -s "$(command -v "$tool")" "$bin/$tool"
done

# Each case runs in a subshell with a fresh state and set-up, and exits with its count of failed
# expectations.
failures=0
check() {  # check TEXT COMMAND...
  if "${@:2}"; then echo "ok    $1"; else echo "FAIL  $1"; failures=$((failures + 1)); fi
}
calls() { grep -c "^$1" "$STUB_STATE/calls" 2>/dev/null; }
says() { grep -qF -- "$2" "$STUB_STATE/$1"; }
lacks() { ! grep -qF -- "$2" "$STUB_STATE/$1"; }
begin() {
  export STUB_STATE="$work/$1"
  mkdir -p "$STUB_STATE"
  : >"$STUB_STATE/calls"
  echo 7 >"$STUB_STATE/qemu-distro"
  echo 10 >"$STUB_STATE/qemu-backports"
  export BUILD_DIR="$STUB_STATE/build" APT_TRIES=3 APT_PAUSE=0 PATH="$bin" JOBS=1
  source "$root/scripts/setup.sh"
  PACKAGES="cmake make wine wine32:i386 libgl1:i386"  # a few stand for all: each costs a call
  echo "-- $1"
}
run_case() {
  ( failures=0; begin "$1"; "case_$1"; exit "$failures" ) || failures=$((failures + 1))
}

# The index comes on the third try; every package is installed.
case_update_retried() {
  printf 2 >"$STUB_STATE/update-fails"
  setup_packages >"$STUB_STATE/out" 2>&1
  check "the set-up goes on" [ $? -eq 0 ]
  check "the update was tried three times" [ "$(calls "apt-get update")" -eq 3 ]
  check "every package is installed" [ -z "$(packages_missing $PACKAGES)" ]
  check "the i386 architecture was added" says architectures i386
}
# The index never comes: it is named, and the install is still tried.
case_update_failed() {
  printf 9 >"$STUB_STATE/update-fails"
  setup_packages >"$STUB_STATE/out" 2>&1
  check "the set-up goes on when the install finds its packages" [ $? -eq 0 ]
  check "the index that failed is named" says out "binary-i386/Packages.xz  File has unexpected size"
  check "the update was tried APT_TRIES times" [ "$(calls "apt-get update")" -eq 3 ]
}
# The install fails twice: the index is updated again before each retry.
case_install_retried() {
  printf 2 >"$STUB_STATE/install-fails"
  setup_packages >"$STUB_STATE/out" 2>&1
  check "the set-up goes on" [ $? -eq 0 ]
  check "the install was tried three times" [ "$(calls "apt-get install")" -eq 3 ]
  check "the index was updated before each try" [ "$(calls "apt-get update")" -eq 3 ]
}
# The install never succeeds: the packages still missing and the index that failed are named.
case_install_failed() {
  printf 9 >"$STUB_STATE/install-fails"
  printf 9 >"$STUB_STATE/update-fails"
  echo cmake >"$STUB_STATE/installed"
  setup_packages >"$STUB_STATE/out" 2>&1
  check "the set-up stops" [ $? -ne 0 ]
  check "the message names the packages" says out "could not install: make wine wine32:i386"
  check "the message leaves out what is installed" lacks out "install: cmake"
  check "the message gives apt's reason" says out "held broken packages"
  check "the message names the index" says out "binary-i386/Packages.xz"
}
# Adding the architecture fails: nothing more is tried.
case_architecture_failed() {
  printf 1 >"$STUB_STATE/add-architecture-fails"
  setup_packages >"$STUB_STATE/out" 2>&1
  check "the set-up stops" [ $? -ne 0 ]
  check "the message names the step" says out "could not add the i386 architecture"
  check "apt-get was not run" [ "$(calls apt-get)" -eq 0 ]
}
# The distribution's emulator is recent enough: no backports.
case_qemu_distribution() {
  echo 10 >"$STUB_STATE/qemu-distro"
  setup_qemu "" >"$STUB_STATE/out" 2>&1
  check "the set-up goes on" [ $? -eq 0 ]
  check "the emulator is release 10" qemu_recent
  check "no backports were asked for" lacks calls "backports"
}
# The distribution's emulator is too old: the backports' is installed through a source list of
# the set-up's own commands, which is gone afterwards; the system's apt configuration stays.
list_removed() {
  local list
  list="$(sed -n 's/.*Dir::Etc::sourcelist=\([^ ]*\).*/\1/p' "$STUB_STATE/calls" | head -n1)"
  [ -n "$list" ] && [ ! -e "$list" ]
}
case_qemu_backports() {
  local before=(/etc/apt/sources.list.d/*)
  setup_qemu "" >"$STUB_STATE/out" 2>&1
  check "the set-up goes on" [ $? -eq 0 ]
  check "the emulator is release 10" qemu_recent
  check "the install names the backports" says calls "-t bookworm-backports qemu-user-static"
  check "the install's list holds the backports" says sourcelist-install "bookworm-backports main"
  check "its update fetches that list only" says calls "Dir::Etc::sourceparts=-"
  check "the list is removed" list_removed
  local after=(/etc/apt/sources.list.d/*)
  check "the system's apt configuration is as it was" [ "${before[*]}" = "${after[*]}" ]
}
# The backports install fails: the set-up stops naming the package; the list is removed.
case_qemu_backports_failed() {
  printf 9 >"$STUB_STATE/install-backports-fails"
  setup_qemu "" >"$STUB_STATE/out" 2>&1
  check "the set-up stops" [ $? -ne 0 ]
  check "the message names the package" says out "could not install: qemu-user-static"
  check "the list is removed" list_removed
}
# The backports have no recent emulator either: the set-up stops naming the release.
case_qemu_too_old() {
  echo 9 >"$STUB_STATE/qemu-backports"
  setup_qemu "" >"$STUB_STATE/out" 2>&1
  check "the set-up stops" [ $? -ne 0 ]
  check "the message names the release" says out "from bookworm-backports is release 9"
}
# wineboot fails on a first start and leaves a half-made prefix: the set-up stops naming it; the
# next start makes the prefix again from scratch; a finished prefix is kept.
case_wine_prefix() {
  printf 1 >"$STUB_STATE/wineboot-fails"
  setup_wine >"$STUB_STATE/out" 2>&1
  check "the set-up stops when wineboot fails" [ $? -ne 0 ]
  check "the message names wineboot" says out "'wineboot -i' exited with 1"
  check "the half-made prefix has its registry" [ -f "$WINEPREFIX/system.reg" ]
  touch "$WINEPREFIX/left-over"
  setup_wine >"$STUB_STATE/out" 2>&1
  check "the next start succeeds" [ $? -eq 0 ]
  check "the half-made prefix was made again" [ ! -e "$WINEPREFIX/left-over" ]
  check "wine's settings are in" grep -qF '"Managed"="N"' "$WINEPREFIX/user.reg"
  setup_wine >"$STUB_STATE/out" 2>&1
  check "a finished prefix is kept" [ "$(calls "wineboot -i")" -eq 2 ]
  printf 1 >"$STUB_STATE/wineboot-fails"
  setup_wine >"$STUB_STATE/out" 2>&1
  check "a failed start of wine's services stops the set-up" [ $? -ne 0 ]
  check "its message names wine's start" says out "wine did not start"
}

for name in update_retried update_failed install_retried install_failed architecture_failed \
            qemu_distribution qemu_backports qemu_backports_failed qemu_too_old wine_prefix; do
  run_case "$name"
done
echo "$failures of the cases failed"
[ "$failures" -eq 0 ]
