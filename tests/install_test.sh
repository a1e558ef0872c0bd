#!/bin/sh
# Installs the built program into a temporary prefix, checks what the program folder holds,
# and runs the installed launcher offscreen for a few seconds, with a subtitle file to open,
# as a user who may read the prefix but not write to it: the program must start, keep
# running and leave the program folder as it was (opening a file writes its scratch copy
# there only where it may).
# usage: install_test.sh BUILD_DIR PROGRAM_FOLDER BIN_DIR  (the last two relative to the prefix)
set -eu
build=$1
folder=$2
bindir=$3

fail() {
  echo "install test: $*" >&2
  exit 1
}

# Under /tmp, which every user may pass through, unlike a root's TMPDIR might be.
prefix=$(mktemp -d /tmp/obrel-install-XXXXXX)
home=$(mktemp -d /tmp/obrel-home-XXXXXX)
cleanup() {
  chmod -R u+w "$prefix" 2>/dev/null || true
  rm -rf "$prefix" "$home"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

program="$prefix/$folder"
[ -x "$program/obrel-dizivud" ] || fail "no program in $program"
for file in "Support/Help/Obrel_help.txt" "Web Links/Obrel Home.url" "Web Links/Facebook.url"; do
  [ -s "$program/$file" ] || fail "the program folder lacks $file"
done
grep -q '^URL=https://' "$program/Web Links/Obrel Home.url" || fail "Obrel Home.url holds no web address"
launcher="$prefix/$bindir/obrel-dizivud"
[ -x "$launcher" ] || fail "no launcher in $prefix/$bindir"
desktop="$prefix/share/applications/obrel-dizivud.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
grep -q '^Exec=obrel-dizivud %f$' "$desktop" || fail "the desktop entry does not start the launcher with a file"
grep -q '^MimeType=application/x-subrip;$' "$desktop" || fail "the desktop entry does not take .srt files"
grep -q '^Icon=obrel-dizivud$' "$desktop" || fail "the desktop entry names no icon"
[ -f "$prefix/share/icons/hicolor/128x128/apps/obrel-dizivud.png" ] || fail "no 128x128 icon"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
fi

# Readable by everyone, writable by nobody but its owner; root ignores permissions, so
# the program then runs as the user nobody, and an ordinary owner gives up its own rights.
chmod -R a+rX,go-w "$prefix"
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$home"
  as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups"
  if $as_user sh -c 'touch "$1/probe"' sh "$program" 2>/dev/null; then
    fail "the user nobody can write to the program folder"
  fi
else
  chmod -R a-w "$prefix"
  as_user=""
fi

# Started from another folder, through a link to the launcher, as a desktop would, with a
# file that opens once the splash (4 s) has given way to the main window.
ln -s "$launcher" "$home/obrel"
printf '1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\nAgain\r\n' \
  >"$home/two.srt"
touch "$home/before"
status=0
(cd "$home" && HOME="$home" QT_QPA_PLATFORM=offscreen timeout 8 $as_user ./obrel two.srt) \
  >"$home/out.log" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
  cat "$home/out.log" >&2
  fail "the installed program ended with status $status instead of running on"
fi
written=$(find "$program" -newer "$home/before")
[ -z "$written" ] || fail "something was written into the program folder: $written"
echo "installed into $prefix and ran as $(if [ -n "$as_user" ]; then echo nobody; else id -un; fi)"
