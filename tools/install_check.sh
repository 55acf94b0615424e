#!/usr/bin/env bash
# Installs a built lqa the two ways users get it and checks what they get:
#  1. cmake --install into a staging directory (DESTDIR); the installed
#     program runs as a user who cannot write its directory, with HOME in a
#     temporary directory: its configuration is created in
#     $HOME/.config/lqa/, and a setting written there is honoured next run;
#  2. the Debian package from cpack: its name, metadata and dependencies, its
#     file list against the staged install, and dpkg installing and removing
#     it in a throw-away root. lintian, when installed, reports on it.
# Runs as root (the test user is nobody, reached with setpriv).
# Usage: tools/install_check.sh [build directory, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/lqa-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
fail() {
  echo "install check: $*" >&2
  exit 1
}
# The regular files and links below a root, as absolute paths, sorted.
files_below() { (cd "$1" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort); }

# 1. The staged install.
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null
lqa="$work/stage/usr/bin/lqa"
files_below "$work/stage" >"$work/staged.list"
page="$work/stage/usr/share/man/man1/lqa.1"
[ -f "$page" ] || fail "no manual page installed"
MANWIDTH=80 man --warnings -l "$page" >"$work/man.txt" 2>"$work/man.err" || fail "man -l failed: $(cat "$work/man.err")"
[ -s "$work/man.err" ] && fail "man -l warns: $(cat "$work/man.err")"
grep -q "EXIT STATUS" "$work/man.txt" || fail "the manual page does not render"

group=$(id -gn nobody)
home="$work/home"
mkdir "$home" "$work/src"
chown nobody:"$group" "$home"
echo 'int main(void) { return 0; }' >"$work/src/a.c"
chmod -R a+rX "$work/src"
as_user() {
  (cd "$work/src" && setpriv --reuid=nobody --regid="$group" --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$home" "$@")
}
as_user test -w "$work/stage/usr/bin" && fail "nobody can write the program's directory"
as_user "$lqa" -xNOWRAP -s a.c >"$work/run1.out" || fail "the installed lqa failed: $(cat "$work/run1.out")"
cfg="$home/.config/lqa/lqa.cfg"
[ -f "$cfg" ] || fail "$cfg was not created"
grep -qF "  Config. File: $cfg" "$work/run1.out" || fail "the report header does not name $cfg"
printf 'Report Header Active : Yes\nReport Header Text Line : %s\n' "Set in the user configuration" >>"$cfg"
as_user "$lqa" -s a.c >"$work/run2.out" || fail "the second run failed"
grep -q "Set in the user configuration" "$work/run2.out" || fail "a setting in $cfg was not honoured"
[ "$(ls -A "$work/stage/usr/bin")" = lqa ] || fail "a file was written beside the installed program"

# 2. The Debian package.
cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
version=$("$lqa" --version | sed -n '1s/^lqa //p')
deb="$work/pkg/lqa_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/pkg")"
[ "$(dpkg-deb -f "$deb" Package Version | tr '\n' ' ')" = "Package: lqa Version: $version " ] ||
  fail "package name or version: $(dpkg-deb -f "$deb" Package Version)"
depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in *libpcre2-posix*) ;; *) fail "the package does not depend on the PCRE2 library: $depends" ;; esac
# Every dependency is met by what this system has installed.
while read -r name op version_needed; do
  have=$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null) || fail "dependency $name is not installed here"
  [ -z "$op" ] || dpkg --compare-versions "$have" "$op" "$version_needed" || fail "$name $have is not $op $version_needed"
done < <(echo "$depends" | tr ',' '\n' | sed 's/[()]//g; s/^ *//')

# The package holds what the install step produced, the manual page
# compressed as Debian keeps it.
dpkg-deb -c "$deb" | awk '$NF !~ /\/$/ { print $NF }' | sed 's|^\.||' | LC_ALL=C sort >"$work/deb.list"
sed 's|\(/share/man/man[1-9]/[^/]*\.[1-9]\)$|\1.gz|' "$work/staged.list" | LC_ALL=C sort >"$work/expected.list"
diff -u "$work/expected.list" "$work/deb.list" >&2 || fail "the package's files differ from the install step's"

root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
# The throw-away root has no libraries registered, so its dependencies are
# taken as met (they were checked against this system above). Paths that a
# minimal system's dpkg configuration leaves out (manual pages, documents)
# are installed all the same.
dpkg --root="$root" --force-depends --path-include='/*' -i "$deb" >"$work/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$work/dpkg.log")"
[ "$(files_below "$root" | grep -v '^/var/')" = "$(cat "$work/deb.list")" ] || fail "dpkg installed other files"
[ "$("$root/usr/bin/lqa" --version | head -1)" = "lqa $version" ] || fail "the packaged lqa does not run"
dpkg --root="$root" -r lqa >"$work/dpkg.log" 2>&1 || fail "dpkg -r: $(cat "$work/dpkg.log")"
[ -z "$(files_below "$root" | grep -v '^/var/')" ] && [ ! -e "$root/usr" ] || fail "dpkg -r left files behind"

if command -v lintian >/dev/null; then
  chmod 644 "$deb"
  echo "lintian on $(basename "$deb"):"
  (cd "$work" && setpriv --reuid=nobody --regid="$group" --clear-groups env -i PATH=/usr/bin:/bin HOME="$home" \
    lintian --pedantic "$deb") | sed 's/^/  /' || true
fi
echo "install check: cmake --install, the installed program and $(basename "$deb") are fine"
