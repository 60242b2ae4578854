#!/usr/bin/env bash
# Stand-in for apt-get, dpkg, dpkg-query, qemu-i386-static, sudo, wine, wineboot and
# wineserver in the set-up tests, chosen by the name it is called by. It keeps its state in
# files of $STUB_STATE: the packages installed, the qemu release, how many more times a step
# fails, and a log of every call.
state="$STUB_STATE"
name="$(basename "$0")"
echo "$name $*" >>"$state/calls"

# Takes one from the step's count of failures still to come; true while there are some.
fails() {
  local file="$state/$1-fails" n
  [ -f "$file" ] || return 1
  n="$(cat "$file")"
  [ "$n" -gt 0 ] || return 1
  echo $((n - 1)) >"$file"
}

case "$name" in
  sudo) exec "$@" ;;
  apt-get)
    step="$1"; shift
    list=""; release=""; packages=()
    while [ $# -gt 0 ]; do
      case "$1" in
        -o) case "$2" in Dir::Etc::sourcelist=*) list="${2#*=}" ;; esac; shift 2 ;;
        -t) release="$2"; shift 2 ;;
        -*) shift ;;
        *) packages+=("$1"); shift ;;
      esac
    done
    # What a source list named for one command said, for the test to read after it is gone.
    [ -n "$list" ] && cp "$list" "$state/sourcelist-$step"
    case "$step" in
      update)
        if fails update; then
          echo "Err:7 http://mirror.test/debian bookworm-security/main i386 Packages"
          echo "E: Failed to fetch http://mirror.test/debian/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1000 != 2000). Mirror sync in progress?"
          echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
          exit 100
        fi
        echo "Reading package lists..." ;;
      install)
        if fails install || { [[ "$release" == *-backports ]] && fails install-backports; }; then
          echo "E: Unable to correct problems, you have held broken packages."
          exit 100
        fi
        for p in "${packages[@]}"; do
          echo "$p" >>"$state/installed"
          if [ "$p" = qemu-user-static ]; then
            case "$release" in *-backports) cat "$state/qemu-backports" ;; *) cat "$state/qemu-distro" ;; esac \
              >"$state/qemu-version"
          fi
        done ;;
    esac ;;
  dpkg-query)
    package="${*: -1}"
    grep -qx "$package" "$state/installed" 2>/dev/null && printf 'install ok installed' ;;
  dpkg)
    case "$1" in
      --print-foreign-architectures) cat "$state/architectures" 2>/dev/null ;;
      --add-architecture) fails add-architecture && exit 2; echo "$2" >>"$state/architectures" ;;
    esac ;;
  qemu-i386-static)
    [ -f "$state/qemu-version" ] || exit 127
    echo "qemu-i386 version $(cat "$state/qemu-version").0.0 (Debian stand-in)" ;;
  wineboot)
    # A first start writes the registry early and fails on its way: a half-made prefix.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    [ -f "$WINEPREFIX/system.reg" ] || echo "WINE REGISTRY Version 2" >"$WINEPREFIX/system.reg"
    [ -f "$WINEPREFIX/user.reg" ] || echo "WINE REGISTRY Version 2" >"$WINEPREFIX/user.reg"
    fails wineboot && exit 1
    exit 0 ;;
  wine)
    case "$*" in
      *Managed*) echo '"Managed"="N"' >>"$WINEPREFIX/user.reg" ;;
      *Debugger*) echo '"Debugger"=""' >>"$WINEPREFIX/system.reg" ;;
    esac ;;
  wineserver) ;;
  *) echo "setup_stub: called as unknown '$name'" >&2; exit 127 ;;
esac
exit 0
