# Shared set-up of ./test and ./run: packages, build, virtual display, wine prefix and server.
# Sourced, not run; leaves BUILD_DIR set and registers the clean-up on exit.

ROOT_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT_DIR/build}"
JOBS="${JOBS:-$(nproc 2>/dev/null || echo 4)}"

PACKAGES="cmake make wine wine32:i386 wine64 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  binutils-mingw-w64-i686 mingw-w64-i686-dev googletest xvfb xauth imagemagick x11-apps x11-utils
  libgl1:i386 libgl1-mesa-dri:i386 fonts-wine fonts-liberation"

# Prints those of the named packages that are not installed.
packages_missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || printf '%s ' "$p"
  done
}

setup_packages() {
  local missing sudo=""
  missing="$(packages_missing $PACKAGES)"
  [ -z "$missing" ] && return 0
  echo "Installing: $missing"
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386 ||
      { echo "set-up stopped: dpkg could not add the i386 architecture" >&2; return 1; }
  fi
  # An index that stays out of date is named; the install may still find everything elsewhere.
  apt_update "$sudo"
  apt_install "$sudo" $missing
}

# A mirror in the middle of a sync serves indexes that do not match their release file; apt then
# ignores them and the install fails on unmet dependencies. Both steps are tried a few times with
# a growing pause, and a failure names the index or the packages that failed instead of leaving a
# wall of dependency errors.
APT_TRIES="${APT_TRIES:-5}"
APT_PAUSE="${APT_PAUSE:-20}"   # seconds before the first retry; each further one waits longer
# Extra options of the two steps: setup_qemu names a source of its own in them, for its own
# commands only.
APT_UPDATE_OPTS=()
APT_INSTALL_OPTS=()
APT_FAILED_INDEXES=""          # apt's lines on the indexes the last update could not fetch

apt_pause() {
  echo "$1 failed (try $2 of $APT_TRIES); again in $(($2 * APT_PAUSE)) s"
  sleep $(($2 * APT_PAUSE))
}

# One update; 0 when every index came.
apt_update_once() {
  local sudo="$1" log rc
  log="$(mktemp)"
  $sudo apt-get update -q "${APT_UPDATE_OPTS[@]}" >"$log" 2>&1
  rc=$?
  APT_FAILED_INDEXES="$(grep -E '^(Err:|E:|W: (Failed|Some index))' "$log")"
  [ "$rc" -ne 0 ] && [ -z "$APT_FAILED_INDEXES" ] && APT_FAILED_INDEXES="$(tail -n 3 "$log")"
  rm -f "$log"
  [ -z "$APT_FAILED_INDEXES" ]
}

apt_update() {
  local sudo="$1" try
  for try in $(seq "$APT_TRIES"); do
    apt_update_once "$sudo" && return 0
    [ "$try" -lt "$APT_TRIES" ] && apt_pause "apt-get update" "$try"
  done
  echo "warning: the package index could not be updated after $APT_TRIES tries:" >&2
  printf '%s\n' "$APT_FAILED_INDEXES" | sed 's/^/  /' >&2
  return 1
}

# apt_install SUDO PACKAGE...: between tries the index is updated again, once.
apt_install() {
  local sudo="$1" try log missing
  shift
  log="$(mktemp)"
  for try in $(seq "$APT_TRIES"); do
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
      "${APT_INSTALL_OPTS[@]}" "$@" 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] && { rm -f "$log"; return 0; }
    [ "$try" -lt "$APT_TRIES" ] || break
    apt_pause "apt-get install" "$try"
    apt_update_once "$sudo"
  done
  missing="$(packages_missing "$@")"
  echo "set-up stopped: apt-get could not install: ${missing:-$*}" >&2
  grep -E '^E:' "$log" | sed 's/^/  /' >&2
  if [ -n "$APT_FAILED_INDEXES" ]; then
    echo "  the package index that could not be updated:" >&2
    printf '%s\n' "$APT_FAILED_INDEXES" | sed 's/^/    /' >&2
  fi
  rm -f "$log"
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
qemu_recent() {
  [ "$(qemu_major)" -ge "$QEMU_MIN_MAJOR" ] 2>/dev/null
}
# Installs a recent enough emulator: the distribution's, else the one in its backports. The
# backports source is a list file of these commands only: the system's apt configuration is
# left as it was.
setup_qemu() {
  local sudo="$1" codename list rc
  apt_update "$sudo"
  apt_install "$sudo" qemu-user-static || return 1
  qemu_recent && return 0
  codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
  if [ -z "$codename" ]; then
    echo "set-up stopped: qemu-i386-static is release $(qemu_major), wine needs $QEMU_MIN_MAJOR or" \
         "later, and this system names no release whose backports could have it" >&2
    return 1
  fi
  echo "Installing qemu-user-static from $codename-backports"
  list="$(mktemp)"
  { cat /etc/apt/sources.list 2>/dev/null
    echo "deb http://deb.debian.org/debian $codename-backports main"; } >"$list"
  chmod 644 "$list"
  # The update fetches this list's indexes only and keeps the others; the install sees both.
  local APT_UPDATE_OPTS=(-o "Dir::Etc::sourcelist=$list" -o "Dir::Etc::sourceparts=-"
                         -o "APT::Get::List-Cleanup=0")
  local APT_INSTALL_OPTS=(-o "Dir::Etc::sourcelist=$list" -t "$codename-backports")
  apt_update "$sudo"
  apt_install "$sudo" qemu-user-static
  rc=$?
  rm -f "$list"
  [ "$rc" -eq 0 ] || return 1
  qemu_recent && return 0
  echo "set-up stopped: qemu-i386-static from $codename-backports is release $(qemu_major);" \
       "wine needs $QEMU_MIN_MAJOR or later" >&2
  return 1
}
setup_i386() {
  local binfmt=/proc/sys/fs/binfmt_misc sudo="" fresh=0
  [ -x /lib/ld-linux.so.2 ] || return 0
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  [ -e $binfmt/register ] || $sudo mount -t binfmt_misc binfmt_misc $binfmt 2>/dev/null
  if [ ! -e $binfmt/qemu-i386 ]; then
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 && return 0
    echo "This kernel does not run 32-bit programs: registering qemu's i386 emulator for them"
  fi
  if ! qemu_recent; then
    setup_qemu "$sudo" || return 1
    fresh=1
  fi
  # The registration holds the emulator it was made with open: after an upgrade it is made again.
  if [ "$fresh" -eq 1 ] || [ ! -e $binfmt/qemu-i386 ]; then
    [ -e $binfmt/qemu-i386 ] && echo -1 | $sudo tee $binfmt/qemu-i386 >/dev/null
    printf '%s' \
      ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      | $sudo tee $binfmt/register >/dev/null ||
      { echo "set-up stopped: qemu's i386 emulator could not be registered in $binfmt" >&2; return 1; }
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "set-up stopped: 32-bit programs cannot run here" >&2; return 1; }
}

setup_build() {
  # Configured every time: a new build folder needs it, and it costs little when nothing changed.
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

# wineboot -i writes system.reg early: a prefix is finished only when wineboot said so, which
# this file in it records. One without it (wineboot failed or was stopped) is made again.
WINE_PREFIX_DONE=".prefix-complete"
WINE_SETUP_TIMEOUT="${WINE_SETUP_TIMEOUT:-900}"

# wine_step TEXT COMMAND...: runs a wine command detached from the shell's output, and stops
# the set-up with TEXT when it fails.
wine_step() {
  local text="$1" rc
  shift
  timeout "$WINE_SETUP_TIMEOUT" "$@" </dev/null >/dev/null 2>&1
  rc=$?
  [ "$rc" -eq 0 ] && return 0
  echo "set-up stopped: $text ('$*' exited with $rc; 124 is a time-out after $WINE_SETUP_TIMEOUT s)" >&2
  return 1
}

# The run's one wine server, started before any other wine command and kept until the clean-up.
# A server started by a plain wine command ends a few seconds after its last program, taking
# wine's own services with it; the next test program would start them again with its output,
# which they hold open until every program of the run has ended.
wine_server_start() {
  wineserver -p </dev/null >/dev/null 2>&1
}

setup_prefix() {
  [ -f "$WINEPREFIX/$WINE_PREFIX_DONE" ] && return 0
  if [ -e "$WINEPREFIX" ]; then
    echo "The wine prefix in $WINEPREFIX was not finished (wineboot failed or was stopped): making it again"
    wineserver -k </dev/null >/dev/null 2>&1
    rm -rf "$WINEPREFIX"
  fi
  echo "Creating the wine prefix in $WINEPREFIX (first time only)"
  mkdir -p "$WINEPREFIX"
  wine_server_start
  wine_step "wine could not create its prefix in $WINEPREFIX" wineboot -i || return 1
  touch "$WINEPREFIX/$WINE_PREFIX_DONE"
}

setup_wine() {
  export WINEPREFIX="$BUILD_DIR/wineprefix"
  export WINEARCH=win32
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  setup_prefix || return 1
  wine_server_start
  # Without a window manager on the virtual display, wine draws the window frames itself.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine_step "wine's window frames could not be set up" \
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || return 1
  fi
  # Caption buttons (Marlett) and dialog text (Tahoma, MS Sans Serif) need wine's own fonts; this
  # wine does not look for them in its data folder, so the prefix's font folder gets a copy.
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  # A process that crashes ends at once and its case fails: wine's debugger, started on a
  # crash, can hold the process until the case times out.
  if ! grep -q '"Debugger"=""' "$WINEPREFIX/system.reg" 2>/dev/null; then
    wine_step "wine's crash debugger could not be turned off" \
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d "" /f ||
      return 1
  fi
  # Start wine's own services now, with their output detached: started later by a test they
  # would inherit its pipes and hold them open after the test ends.
  wine_step "wine did not start in $WINEPREFIX" wineboot
}

# Wine's desktop (its explorer) is started here and waited for. A program that creates the first
# window starts it itself but waits 10 s at most: under the emulator on a busy machine the
# desktop takes longer, and every window of that program fails. The desktop is up once it has
# made its windows on the display.
setup_desktop() {
  local waited=0
  wine explorer.exe /desktop </dev/null >/dev/null 2>&1 &
  until xwininfo -root -tree 2>/dev/null | grep -q '("explorer.exe"'; do
    if [ "$waited" -ge "$WINE_SETUP_TIMEOUT" ]; then
      echo "set-up stopped: wine's desktop did not start within $WINE_SETUP_TIMEOUT s" >&2
      return 1
    fi
    sleep 1
    waited=$((waited + 1))
  done
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
  setup_wine || return 1
  setup_desktop
}
