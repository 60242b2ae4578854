# Shared set-up of ./test and ./run: packages, build, virtual display, wine prefix and server.
# Sourced, not run; leaves BUILD_DIR set and registers the clean-up on exit.

ROOT_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT_DIR/build}"
JOBS="${JOBS:-$(nproc 2>/dev/null || echo 4)}"

PACKAGES="cmake make wine wine32:i386 wine64 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  binutils-mingw-w64-i686 mingw-w64-i686-dev googletest xvfb xauth imagemagick x11-apps
  libgl1:i386 libgl1-mesa-dri:i386 fonts-wine fonts-liberation"

setup_packages() {
  local missing=""
  for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  apt_update "$sudo" || return 1
  apt_install "$sudo" $missing
}

# A mirror in the middle of a sync serves indexes that do not match their release file; apt then
# ignores them and the install fails on unmet dependencies. Both steps are tried a few times with a
# pause, and a failure names what failed instead of leaving a wall of dependency errors.
APT_TRIES="${APT_TRIES:-5}"
apt_update() {
  local sudo="$1" log try
  log="$(mktemp)"
  for try in $(seq "$APT_TRIES"); do
    if $sudo apt-get update -q >"$log" 2>&1 && ! grep -q '^[EW]: \(Failed\|Some index\)' "$log"; then
      rm -f "$log"
      return 0
    fi
    [ "$try" -lt "$APT_TRIES" ] && { echo "apt-get update failed (try $try of $APT_TRIES); again in $((try * 20)) s"; sleep $((try * 20)); }
  done
  echo "set-up stopped: the package index could not be updated after $APT_TRIES tries:" >&2
  grep -E '^(E|W|Err):' "$log" | sed 's/^/  /' >&2
  rm -f "$log"
  return 1
}
apt_install() {
  local sudo="$1" try
  shift
  for try in $(seq "$APT_TRIES"); do
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$@" && return 0
    [ "$try" -lt "$APT_TRIES" ] || break
    echo "apt-get install failed (try $try of $APT_TRIES); updating the index again in $((try * 20)) s"
    sleep $((try * 20))
    apt_update "$sudo" || return 1
  done
  echo "set-up stopped: could not install: $*" >&2
  return 1
}

# Wine's loader is a 32-bit program. Some kernels cannot start 32-bit programs themselves; there
# qemu's user-mode i386 emulator is registered for them (slower, but the same programs and results).
# Wine needs a recent emulator (release 10 or later: older ones crash in wine's threads and
# signals), which a stable Debian has in its backports; wine's server runs natively (wine64).
QEMU_MIN_MAJOR=10
qemu_major() {
  qemu-i386-static --version 2>/dev/null | sed -n '1s/^qemu-i386 version \([0-9]*\).*/\1/p'
}
# Installs a recent enough emulator; says whether it installed one (0) or had one already (1).
setup_qemu() {
  local sudo="$1" codename
  [ "$(qemu_major || true)" -ge "$QEMU_MIN_MAJOR" ] 2>/dev/null && return 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends qemu-user-static
  [ "$(qemu_major || true)" -ge "$QEMU_MIN_MAJOR" ] 2>/dev/null && return 0
  codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
  if [ -n "$codename" ]; then
    echo "deb http://deb.debian.org/debian $codename-backports main" |
      $sudo tee "/etc/apt/sources.list.d/$codename-backports.list" >/dev/null
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
      -t "$codename-backports" qemu-user-static
  fi
  [ "$(qemu_major || true)" -ge "$QEMU_MIN_MAJOR" ] 2>/dev/null ||
    echo "warning: qemu-i386-static is older than release $QEMU_MIN_MAJOR; wine may crash under it" >&2
  return 0
}
setup_i386() {
  local binfmt=/proc/sys/fs/binfmt_misc sudo=""
  [ -x /lib/ld-linux.so.2 ] || return 0
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  [ -e $binfmt/register ] || $sudo mount -t binfmt_misc binfmt_misc $binfmt 2>/dev/null
  if [ ! -e $binfmt/qemu-i386 ]; then
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 && return 0
    echo "This kernel does not run 32-bit programs: registering qemu's i386 emulator for them"
  fi
  # The registration holds the emulator it was made with open: after an upgrade it is made again.
  if setup_qemu "$sudo" || [ ! -e $binfmt/qemu-i386 ]; then
    [ -e $binfmt/qemu-i386 ] && echo -1 | $sudo tee $binfmt/qemu-i386 >/dev/null
    printf '%s' \
      ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      | $sudo tee $binfmt/register >/dev/null
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "32-bit programs cannot run here" >&2; return 1; }
}

setup_build() {
  # Configure every time: the source lists pick up folders that appeared since the last run.
  cmake -S "$ROOT_DIR" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT_DIR/cmake/toolchain-i686-mingw.cmake" >/dev/null || return 1
  cmake --build "$BUILD_DIR" -j "$JOBS"
}

XVFB_PID=""
setup_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  # Xvfb picks a free display itself and writes its number, so parallel runs never collide.
  local numfile
  numfile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" </dev/null >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    if [ -s "$numfile" ]; then
      export DISPLAY=":$(head -n1 "$numfile")"
      rm -f "$numfile"
      return 0
    fi
    sleep 0.1
  done
  rm -f "$numfile"
  echo "Xvfb did not start" >&2
  return 1
}

setup_wine() {
  export WINEPREFIX="$BUILD_DIR/wineprefix"
  export WINEARCH=win32
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the wine prefix in $WINEPREFIX (first time only)"
    wineboot -i </dev/null >/dev/null 2>&1
  fi
  # Without a window manager on the virtual display, wine draws the window frames itself.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  fi
  # Caption buttons (Marlett) and dialog text (Tahoma, MS Sans Serif) need wine's own fonts; this
  # wine does not look for them in its data folder, so the prefix's font folder gets a copy.
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  # A process that crashes ends at once and its case fails: wine's debugger, started on a
  # crash, can hold the process until the case times out.
  if ! grep -q '"Debugger"=""' "$WINEPREFIX/system.reg" 2>/dev/null; then
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d "" /f \
      </dev/null >/dev/null 2>&1
  fi
  wineserver -p </dev/null >/dev/null 2>&1
  # Start wine's own services now, with their output detached: started later by a test they
  # would inherit its pipes and hold them open after the test ends.
  wineboot </dev/null >/dev/null 2>&1
}

cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k </dev/null >/dev/null 2>&1
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  return 0
}

setup_all() {
  setup_packages || return 1
  setup_i386 || return 1
  setup_build || return 1
  trap cleanup EXIT
  setup_display || return 1
  setup_wine
}
