#!/usr/bin/env bash
# Builds the Debian package from a plain build folder and tests it: lintian (no errors), the
# desktop entry and metainfo validators, the unpacked tree, then apt-get installs it, the
# installed program runs offscreen for a few seconds as the user nobody with a file to open,
# and the package is removed again. Leaves build/package/obrel-dizivud_VERSION_ARCH.deb.
# Needs root, or sudo, for apt-get.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/package
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

fail() {
  echo "package test: $*" >&2
  exit 1
}

# Debian's hardening: fortified functions, stack protector, read-only relocations bound at
# start (relro and bind-now), as dpkg-buildflags gives them for a package built with all of it.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOBREL_BUILD_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build"
rm -f "$build"/obrel-dizivud_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/obrel-dizivud_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single obrel-dizivud_*.deb"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
echo "== $deb: $(du -k "$deb" | cut -f1) KiB, Installed-Size $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
# Without dpkg-shlibdeps, CPack leaves the libraries out of Depends without a word.
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries"
dpkg-deb -f "$deb" Depends | grep -q 'libnuspell' || fail "Depends lacks the spelling library"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"

echo "== lintian"
lintian --display-info --fail-on error "$deb"
# Pedantic too: nothing is left but experimental tags (X:) and what the package's overrides
# explain.
left=$(lintian -I --pedantic "$deb" | grep -v '^X: ' || true)
[ -z "$left" ] || fail "lintian -I --pedantic reports: $left"

work=$(mktemp -d /tmp/obrel-package-XXXXXX)
installed=""
cleanup() {
  if [ -n "$installed" ]; then $sudo apt-get remove -y -qq obrel-dizivud >/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The unpacked tree: its files validate, and its launcher finds the program beside it.
tree="$work/tree"
dpkg-deb -x "$deb" "$tree"
echo "== desktop-file-validate"
desktop-file-validate "$tree/usr/share/applications/obrel-dizivud.desktop"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$tree/usr/share/metainfo/org.obrel.Dizivud.metainfo.xml"
# Pedantic, the one hint left is the upper-case letter of the published identifier.
pedantic=$(appstreamcli validate --pedantic --no-net "$tree/usr/share/metainfo/org.obrel.Dizivud.metainfo.xml" |
  grep -E '^[EWIP]: ' | grep -v 'cid-contains-uppercase-letter' || true)
[ -z "$pedantic" ] || fail "appstreamcli validate --pedantic reports: $pedantic"
grep -q "<release version=\"$version\"" "$tree/usr/share/metainfo/org.obrel.Dizivud.metainfo.xml" ||
  fail "the metainfo has no release $version"
zcat "$tree/usr/share/doc/obrel-dizivud/changelog.gz" | head -n 1 | grep -qF "($version)" ||
  fail "the changelog does not begin with $version"
[ "$("$tree/usr/bin/obrel-dizivud" --version)" = "obrel-dizivud $version" ] ||
  fail "the unpacked launcher does not print the version"

echo "== apt-get install"
# A copy _apt can read, so apt-get needs no unsandboxed download.
cp "$deb" "$work/" && chmod a+rx "$work" && chmod a+r "$work/${deb##*/}"
installed=yes
$sudo apt-get install -y -qq --reinstall "$work/${deb##*/}"
[ "$(/usr/bin/obrel-dizivud --version)" = "obrel-dizivud $version" ] ||
  fail "/usr/bin/obrel-dizivud --version does not print $version"

# Run as nobody (as the user running this when not root), with a file that opens once the
# splash (4 s) has given way to the main window: it must still run at the end, and the
# program folder must be as installed (the scratch copy of an opened file is skipped there).
home="$work/home"
mkdir "$home"
cat >"$home/sample.srt" <<'SRT'
1
00:00:01,000 --> 00:00:02,500
Hello

2
00:00:03,000 --> 00:00:04,000
Two lines
of text
SRT
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
touch "$work/before"
status=0
(cd "$home" && HOME="$home" QT_QPA_PLATFORM=offscreen timeout 8 "${as_user[@]}" \
  /usr/bin/obrel-dizivud "$home/sample.srt") >"$work/run.log" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
  cat "$work/run.log" >&2
  fail "the installed program ended with status $status instead of running on"
fi
written=$(find /usr/lib/obrel-dizivud -newer "$work/before")
[ -z "$written" ] || fail "something was written into /usr/lib/obrel-dizivud: $written"

echo "== apt-get remove"
$sudo apt-get remove -y -qq obrel-dizivud
installed=""
[ ! -e /usr/bin/obrel-dizivud ] || fail "/usr/bin/obrel-dizivud is still there after removal"
[ ! -e /usr/lib/obrel-dizivud ] || fail "/usr/lib/obrel-dizivud is still there after removal"
echo "package test passed in ${SECONDS} s: $deb"
