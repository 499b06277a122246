#!/usr/bin/env bash
# Installs the Debian package into a fresh, minimal Debian 12 root (debootstrap + chroot) with
# its dependencies from the mirror, and checks that it works there: the programs and their
# private libraries, the command-line tool, the desktop entry, the MIME type (by name and by the
# first bytes), opening a recording by its type under a virtual X server, the manual pages, and
# that removing the package leaves nothing behind. Prints PASS or FAIL per check and exits 1
# when any check fails. Needs root. Not part of CI.
#
# usage: scripts/check-package.sh [--root DIR] [--mirror URL] [--security-mirror URL] PACKAGE.deb
#   --root DIR   where the pristine root (DIR/base, made once and reused), the root of this run
#                (DIR/run, made afresh from DIR/base), the downloaded packages and the pictures
#                and logs (DIR/out) live; default build-package/check-root
#   --mirror URL Debian mirror; default the one apt on this machine uses for bookworm
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

usage() {
  echo "usage: $0 [--root DIR] [--mirror URL] [--security-mirror URL] PACKAGE.deb" >&2
  exit 2
}
dir=build-package/check-root
mirror=""
security=""
deb=""
while [ $# -gt 0 ]; do
  case "$1" in
    --root) [ $# -ge 2 ] || usage; dir=$2; shift 2 ;;
    --mirror) [ $# -ge 2 ] || usage; mirror=$2; shift 2 ;;
    --security-mirror) [ $# -ge 2 ] || usage; security=$2; shift 2 ;;
    -h | --help) usage ;;
    -*) usage ;;
    *) [ -z "$deb" ] || usage; deb=$1; shift ;;
  esac
done
[ -n "$deb" ] || usage
[ -f "$deb" ] || { echo "check-package: no such file: $deb" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "check-package: needs root (debootstrap, chroot, mount)" >&2; exit 2; }
for tool in dpkg-deb readelf; do
  command -v "$tool" >/dev/null || { echo "check-package: $tool is missing (apt-get install dpkg-dev)" >&2; exit 2; }
done
if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null || exit 2
fi
# The mirror apt already uses here, so that the check needs no other network access.
[ -n "$mirror" ] || mirror=$(apt-cache policy 2>/dev/null | awk '$3 == "bookworm/main" { print $2; exit }')
[ -n "$mirror" ] || mirror=http://deb.debian.org/debian
[ -n "$security" ] || security=$(apt-cache policy 2>/dev/null | awk '$3 == "bookworm-security/main" { print $2; exit }')

mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")
base=$dir/base
run=$dir/run
out=$dir/out
archives=$dir/archives
private=/usr/lib/x86_64-linux-gnu/pelix-player
mime=application/x-pelix-recording
failures=0

pass() { echo "PASS  $1: $2"; }
fail() {
  echo "FAIL  $1: $2"
  failures=$((failures + 1))
}
# Runs a command in the root with a clean environment (nothing of this machine's session).
in_root() {
  chroot "$run" /usr/bin/env -i HOME=/root PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin LANG=C.UTF-8 "$@"
}
apt_in_root() {
  in_root DEBIAN_FRONTEND=noninteractive apt-get -y -q -o Dpkg::Use-Pty=0 "$@"
}
mounted_below() { findmnt -rn -o TARGET | grep -q "^$1/"; }
unmount_root() {
  local target
  for target in var/cache/apt/archives dev/shm dev/pts dev sys proc; do
    if mountpoint -q "$run/$target" 2>/dev/null; then
      umount "$run/$target" 2>/dev/null || umount -l "$run/$target"
    fi
  done
}
remove_tree() {
  if mounted_below "$1"; then
    echo "check-package: something is still mounted below $1; not removing it" >&2
    exit 1
  fi
  rm -rf --one-file-system "$1"
}
# Each bind mount is made private at once, so that nothing mounted below it shows on this machine.
bind_private() {
  mount --bind "$1" "$2" && mount --make-private "$2"
}

# The pristine root: made once, reused by every later run.
if [ ! -e "$base/.pelix-check-base" ]; then
  echo "Making a minimal Debian 12 root in $base from $mirror (once)..."
  remove_tree "$base.new"
  if ! debootstrap --variant=minbase bookworm "$base.new" "$mirror" >"$dir/debootstrap.log" 2>&1; then
    echo "check-package: debootstrap failed, see $dir/debootstrap.log" >&2
    exit 1
  fi
  {
    echo "deb $mirror bookworm main"
    echo "deb $mirror bookworm-updates main"
    [ -z "$security" ] || echo "deb $security bookworm-security main"
  } >"$base.new/etc/apt/sources.list"
  # Packages installed in the root start no services.
  printf '#!/bin/sh\nexit 101\n' >"$base.new/usr/sbin/policy-rc.d"
  chmod 755 "$base.new/usr/sbin/policy-rc.d"
  touch "$base.new/.pelix-check-base"
  mv "$base.new" "$base"
fi

# This run's root, fresh from the pristine one.
trap unmount_root EXIT
unmount_root
remove_tree "$run"
cp -a "$base" "$run"
mkdir -p "$out" "$archives/partial"
rm -f "$out"/*.png "$out"/*.log
mount -t proc proc "$run/proc"
mount -t sysfs sys "$run/sys"
bind_private /dev "$run/dev"
bind_private /dev/pts "$run/dev/pts"
mount -t tmpfs -o mode=1777 tmpfs "$run/dev/shm"
bind_private "$archives" "$run/var/cache/apt/archives"
mkdir -p "$run/tmp/pkg"
cp "$deb" "$run/tmp/pkg/"
pkg=/tmp/pkg/$(basename "$deb")

echo "Package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
echo "Root: $run (mirror $mirror)"
echo

# 1. Installing on the bare root: the package's own Depends must be enough (no Recommends).
if ! apt_in_root update >"$out/apt-update.log" 2>&1; then
  fail "apt-get update" "see $out/apt-update.log"
  exit 1
fi
if apt_in_root install --no-install-recommends "$pkg" >"$out/install.log" 2>&1; then
  pass "install" "apt-get install --no-install-recommends: $(grep -m1 'newly installed' "$out/install.log")"
else
  fail "install" "apt-get install failed, see $out/install.log"
  exit 1
fi

missing=""
for program in PelixPlayer pelix pelix-synth; do
  [ -x "$run/usr/bin/$program" ] || missing="$missing $program"
done
[ -x "$run/usr/libexec/pelix/pelix-draw" ] || missing="$missing /usr/libexec/pelix/pelix-draw"
if [ -z "$missing" ]; then pass "programs" "PelixPlayer, pelix, pelix-synth in /usr/bin, pelix-draw in /usr/libexec/pelix"; else fail "programs" "missing:$missing"; fi

libs=$(find "$run$private" -mindepth 1 -printf "%f\n" 2>/dev/null | LC_ALL=C sort | paste -sd " ")
if [ "$libs" = "libAscanView.so libPelixPlatform.so libPelix_Cal.so" ]; then
  pass "private libraries" "$private: $libs"
else
  fail "private libraries" "$private holds: ${libs:-nothing}"
fi

bad=""
for program in PelixPlayer pelix pelix-synth; do
  runpath=$(readelf -d "$run/usr/bin/$program" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
  [ "$runpath" = "\$ORIGIN/../lib/x86_64-linux-gnu/pelix-player" ] || bad="$bad $program=$runpath"
done
runpath=$(readelf -d "$run/usr/libexec/pelix/pelix-draw" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
[ "$runpath" = "\$ORIGIN/../../lib/x86_64-linux-gnu/pelix-player" ] || bad="$bad pelix-draw=$runpath"
for lib in $libs; do
  runpath=$(readelf -d "$run$private/$lib" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
  [ "$runpath" = "\$ORIGIN" ] || bad="$bad $lib=$runpath"
done
if [ -z "$bad" ]; then pass "run path" "programs \$ORIGIN/../lib/x86_64-linux-gnu/pelix-player, libraries \$ORIGIN"; else fail "run path" "$bad"; fi

not_found=""
for file in /usr/bin/PelixPlayer /usr/bin/pelix /usr/bin/pelix-synth /usr/libexec/pelix/pelix-draw $(for lib in $libs; do echo "$private/$lib"; done); do
  in_root ldd "$file" >"$out/ldd.log" 2>&1 || not_found="$not_found $file(ldd failed)"
  grep -q "not found" "$out/ldd.log" && not_found="$not_found $file:$(grep 'not found' "$out/ldd.log" | awk '{print $1}' | tr '\n' ' ')"
done
platform=$(in_root ldd /usr/libexec/pelix/pelix-draw | awk '$1 == "libPelixPlatform.so" { print $3 }')
if [ -z "$not_found" ] && [ "$platform" = "/usr/libexec/pelix/../../lib/x86_64-linux-gnu/pelix-player/libPelixPlatform.so" ]; then
  pass "ldd" "nothing not found; libPelixPlatform.so => $platform"
else
  fail "ldd" "not found:${not_found:- none}; libPelixPlatform.so => ${platform:-?}"
fi

# 2. The command-line tool: `pelix` itself loads no toolkit and no video library.
toolkit=$(in_root ldd /usr/bin/pelix | awk '{print $1}' | grep -E '^lib(Qt|av|sw)' | paste -sd " ")
if [ -z "$toolkit" ]; then pass "pelix without Qt and FFmpeg" "ldd /usr/bin/pelix names none"; else fail "pelix without Qt and FFmpeg" "$toolkit"; fi
if in_root pelix --help >"$out/pelix-help.log" 2>&1 && grep -q '^usage: pelix COMMAND' "$out/pelix-help.log"; then
  pass "pelix --help" "$(head -1 "$out/pelix-help.log")"
else
  fail "pelix --help" "see $out/pelix-help.log"
fi

if in_root pelix-synth -o /tmp/x.BIN >"$out/synth.log" 2>&1 &&
  [ "$(od -An -tx1 -N4 "$run/tmp/x.BIN" | tr -d ' ')" = 55aa55aa ]; then
  pass "pelix-synth -o /tmp/x.BIN" "$(stat -c %s "$run/tmp/x.BIN") bytes, starting 55 AA 55 AA"
else
  fail "pelix-synth -o /tmp/x.BIN" "see $out/synth.log"
fi

if in_root pelix info /tmp/x.BIN --fields >"$out/info.log" 2>&1 && grep -q '^FrameCount: 600$' "$out/info.log"; then
  pass "pelix info" "$(grep -E '^(FrameCount|Rate|TotalSeconds):' "$out/info.log" | tr '\n' ' ')"
else
  fail "pelix info" "see $out/info.log"
fi

# The display control and the calculation library are loaded by name: from the private folder.
if in_root QT_QPA_PLATFORM=offscreen LD_DEBUG=files LD_DEBUG_OUTPUT=/tmp/ld pelix render /tmp/x.BIN 1 -o /tmp/x.png \
  >"$out/render.log" 2>&1 && [ "$(od -An -c -j1 -N3 "$run/tmp/x.png" | tr -d ' ')" = PNG ]; then
  cp "$run/tmp/x.png" "$out/render.png"
  pass "pelix render (offscreen)" "$(stat -c %s "$out/render.png") byte PNG, see $out/render.png"
else
  fail "pelix render (offscreen)" "see $out/render.log"
fi
loaded=$(cat "$run"/tmp/ld.* 2>/dev/null | sed -n 's/.*calling init: //p' | grep -E 'lib(AscanView|Pelix_Cal)\.so' | sort -u)
if [ "$(echo "$loaded" | grep -c "^$private/")" -eq 2 ]; then
  pass "libraries loaded by name" "$(echo "$loaded" | paste -sd " ")"
else
  fail "libraries loaded by name" "${loaded:-neither libAscanView.so nor libPelix_Cal.so loaded}"
fi

if in_root QT_QPA_PLATFORM=offscreen HOME=/tmp setpriv --reuid=65534 --regid=65534 --clear-groups \
  pelix render /tmp/x.BIN 2 -o /tmp/nobody.png >"$out/render-nobody.log" 2>&1 && [ -s "$run/tmp/nobody.png" ]; then
  pass "pelix render as user nobody" "$(stat -c %s "$run/tmp/nobody.png") byte PNG"
else
  fail "pelix render as user nobody" "see $out/render-nobody.log"
fi

if in_root PelixPlayer --help >"$out/player-help.log" 2>&1 && grep -q '^Usage: PelixPlayer' "$out/player-help.log"; then
  pass "PelixPlayer --help" "$(head -1 "$out/player-help.log")"
else
  fail "PelixPlayer --help" "see $out/player-help.log"
fi

# 3. The desktop: what a desktop system brings along, then the package again so that its
# maintainer scripts run with the MIME and desktop tools present.
if apt_in_root install --no-install-recommends desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl \
  libglib2.0-bin xvfb xauth x11-utils imagemagick man-db >"$out/desktop-tools.log" 2>&1 &&
  apt_in_root install --reinstall --no-install-recommends "$pkg" >"$out/reinstall.log" 2>&1; then
  pass "desktop tools" "installed, package reinstalled"
else
  fail "desktop tools" "see $out/desktop-tools.log and $out/reinstall.log"
fi

entry=/usr/share/applications/pelix-player.desktop
if in_root desktop-file-validate "$entry" >"$out/validate.log" 2>&1 && [ ! -s "$out/validate.log" ]; then
  pass "desktop-file-validate" "$entry: no errors, no warnings"
else
  fail "desktop-file-validate" "$(head -3 "$out/validate.log" | tr '\n' ' ')"
fi

icon=$(sed -n 's/^Icon=//p' "$run$entry")
if [ -f "$run/usr/share/icons/hicolor/scalable/apps/$icon.svg" ]; then
  pass "icon" "Icon=$icon is /usr/share/icons/hicolor/scalable/apps/$icon.svg"
else
  fail "icon" "Icon=$icon has no file in the hicolor theme"
fi

# By name (.BIN, .bin) and, without a name to go by, by the first bytes; a file without them
# and without the name is not taken for a recording.
cp "$run/tmp/x.BIN" "$run/tmp/lower.bin"
cp "$run/tmp/x.BIN" "$run/tmp/recording"
printf 'not a recording' >"$run/tmp/other"
typed=""
for file in x.BIN lower.bin recording; do
  typed="$typed $file=$(in_root xdg-mime query filetype "/tmp/$file" 2>&1)"
done
other=$(in_root xdg-mime query filetype /tmp/other 2>&1)
gio=$(in_root gio info -a standard::content-type /tmp/recording 2>&1 | sed -n 's/.*content-type: //p')
if [ "$typed" = " x.BIN=$mime lower.bin=$mime recording=$mime" ] && [ "$other" != "$mime" ] && [ "$gio" = "$mime" ]; then
  pass "MIME type" "xdg-mime:$typed; other=$other; gio (no name): $gio"
else
  fail "MIME type" "xdg-mime:$typed; other=$other; gio (no name): $gio"
fi

default=$(in_root xdg-mime query default "$mime" 2>&1)
if [ "$default" = pelix-player.desktop ]; then
  pass "default application" "xdg-mime query default $mime: $default"
else
  fail "default application" "xdg-mime query default $mime: ${default:-nothing}"
fi

# Starts the player under a virtual X server (the desktop entry's Exec line with a recording, or
# xdg-open on a recording without a name to go by), waits until it shows, takes a screenshot.
cat >"$run/tmp/launch.sh" <<'EOF'
#!/bin/bash
# launch.sh exec|open FILE SHOT.png
mode=$1 file=$2 shot=$3
if [ "$mode" = exec ]; then
  exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/pelix-player.desktop)
  command=${exec_line//%f/$file}
  echo "Exec line: $command"
  $command &
else
  echo "xdg-open $file"
  xdg-open "$file" &
fi
launcher=$!
player=""
for _ in $(seq 40); do
  sleep 0.5
  for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/exe" 2>/dev/null)" = /usr/bin/PelixPlayer ] || continue
    tr '\0' ' ' <"$proc/cmdline" | grep -qF -- "$file" && player=${proc#/proc/}
  done
  [ -n "$player" ] && break
done
[ -n "$player" ] || { echo "no PelixPlayer process with $file"; exit 1; }
sleep 4
[ -d "/proc/$player" ] || { echo "PelixPlayer ($player) ended by itself"; exit 1; }
echo "PelixPlayer running: $(tr '\0' ' ' <"/proc/$player/cmdline")"
# The window's title names the recording once it is open.
title=$(xwininfo -root -tree | grep -F -- "-  ${file##*/}\"" | head -1 | sed 's/^[^"]*"\([^"]*\)".*/\1/')
echo "window title: ${title:-no window names ${file##*/}}"
import -window root "$shot"
colours=$(identify -format %k "$shot")
echo "screenshot colours: $colours"
kill "$player"
wait "$launcher" 2>/dev/null
[ -n "$title" ] && [ "$colours" -ge 16 ]
EOF
chmod 755 "$run/tmp/launch.sh"
for mode in exec open; do
  if [ $mode = exec ]; then file=/tmp/x.BIN; name="start from the desktop entry"; else file=/tmp/recording; name="open a recording by its type"; fi
  if in_root xvfb-run -a -s "-screen 0 1280x800x24" /tmp/launch.sh $mode $file /tmp/shot-$mode.png \
    >"$out/launch-$mode.log" 2>&1; then
    pass "$name" "$(grep -m1 'running' "$out/launch-$mode.log"| sed 's/ *$//'); $(grep -m1 'title' "$out/launch-$mode.log"); screenshot $out/player-$mode.png"
  else
    fail "$name" "$(grep -v '^QStandardPaths' "$out/launch-$mode.log" | tail -2 | tr '\n' ' ')"
  fi
  [ ! -f "$run/tmp/shot-$mode.png" ] || cp "$run/tmp/shot-$mode.png" "$out/player-$mode.png"
done

pages=""
for page in pelix PelixPlayer pelix-synth; do
  in_root man -P cat "$page" 2>/dev/null | grep -q "^NAME" || pages="$pages $page"
done
if [ -z "$pages" ]; then
  pass "man pages" "man pelix, man PelixPlayer, man pelix-synth ($(in_root man -w pelix))"
else
  fail "man pages" "no manual page for:$pages"
fi

# 4. Removing: no file of the package left, the MIME and desktop databases forget it.
if apt_in_root remove pelix-player >"$out/remove.log" 2>&1; then
  left=$( (ls -d "$run$private" "$run"/usr/bin/{PelixPlayer,pelix,pelix-synth} "$run$entry" \
    "$run/usr/share/mime/packages/pelix-player.xml" 2>/dev/null; true) | sed "s|^$run||" | tr '\n' ' ')
  if [ -z "$left" ]; then pass "remove: files" "private folder, programs, entry and MIME file gone"; else fail "remove: files" "left: $left"; fi
  forgotten=""
  [ -e "$run/usr/share/mime/application/x-pelix-recording.xml" ] && forgotten="$forgotten MIME database still has the type;"
  grep -q pelix-player "$run/usr/share/applications/mimeinfo.cache" 2>/dev/null && forgotten="$forgotten mimeinfo.cache still names the entry;"
  after=$(in_root xdg-mime query filetype /tmp/recording 2>&1)
  [ "$after" = "$mime" ] && forgotten="$forgotten a recording is still typed $mime;"
  if [ -z "$forgotten" ]; then
    pass "remove: databases" "type gone from the MIME database and mimeinfo.cache; recording now $after"
  else
    fail "remove: databases" "$forgotten"
  fi
else
  fail "remove" "apt-get remove failed, see $out/remove.log"
fi
if apt_in_root purge pelix-player >"$out/purge.log" 2>&1; then
  # shellcheck disable=SC2016 # a dpkg-query format, not a shell expression
  status=$(in_root dpkg-query -W -f='${db:Status-Abbrev}' pelix-player 2>/dev/null)
  case "$status" in
    "" | un* | pn*) pass "purge" "dpkg status afterwards: ${status:-unknown package}" ;;
    *) fail "purge" "dpkg status afterwards: $status" ;;
  esac
else
  fail "purge" "apt-get purge failed, see $out/purge.log"
fi

echo
if [ "$failures" -eq 0 ]; then
  echo "check-package: every check passed (pictures and logs in $out)"
else
  echo "check-package: $failures check(s) failed (pictures and logs in $out)"
  exit 1
fi
