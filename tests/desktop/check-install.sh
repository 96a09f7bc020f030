#!/usr/bin/env bash
# Installs a build tree into a fresh staging folder, as a package does, and checks what lands
# there with the desktop's own validators; then runs qvn from there, also after the whole
# installation has been moved.
#   check-install.sh BUILD_DIR VERSION APP_ID DATA_DIR(share/quorvane) EXPECT_HELP(yes|no)
set -euo pipefail
build=$1 version=$2 id=$3 datadir=$4 expect_help=$5

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

"${CMAKE:-cmake}" --install "$build" --prefix "$stage/usr" > "$stage/install.log"
root=$stage/usr
cd "$root"

for f in bin/quorvane bin/qvn; do
  [ -x "$f" ] || fail "$f is not installed"
done
for f in pop.wav verdict.wav white.jpg black.jpg rbn.jpg pnb.jpg first-steps.qvn; do
  [ -f "$datadir/$f" ] || fail "$datadir/$f is not installed"
done
[ "$(find "$datadir" -maxdepth 1 -name '*.jpg' | wc -l)" -eq 26 ] || fail "not 26 diagram pictures"
if [ "$expect_help" = yes ]; then
  [ -f "$datadir/qrvne.chm" ] || fail "$datadir/qrvne.chm is not installed"
fi
# Nothing but the programs in bin/.
[ "$(ls bin | tr '\n' ' ')" = "quorvane qvn " ] || fail "bin/ holds $(ls bin | tr '\n' ' ')"
for size in 16 22 24 32 48 64 128 256 512; do
  [ -f "share/icons/hicolor/${size}x${size}/apps/$id.png" ] || fail "no ${size}x${size} icon"
done
[ -f "share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"

# The validators find nothing wrong. desktop-file-validate's only hint is wanted: the trainer is
# listed both under Games and under Education.
out=$(desktop-file-validate "share/applications/$id.desktop" 2>&1) || fail "desktop-file-validate"
out=$(grep -v 'contains more than one main category' <<< "$out" || true)
[ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net --pedantic "share/metainfo/$id.metainfo.xml" 2>&1) ||
  fail "appstreamcli validate: $out"
out=$(appstreamcli validate-tree --no-net "$root" 2>&1) || fail "appstreamcli validate-tree: $out"
out=$(XDG_DATA_DIRS="$root/share" update-mime-database "$root/share/mime" 2>&1) ||
  fail "update-mime-database"
[ -z "$out" ] || fail "update-mime-database: $out"
grep -q "application/x-quorvane-problems" share/mime/globs2 || fail "*.qvn is not registered"

for page in share/man/man6/quorvane.6.gz share/man/man1/qvn.1.gz; do
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" | grep -q '^NAME' || fail "man -l $page"
done

# The newest release of the AppStream notes is this version.
newest=$(grep -o '<release version="[^"]*"' "share/metainfo/$id.metainfo.xml" | head -1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "the newest release in the metainfo is '$newest', not $version"
[ "$(bin/qvn --version)" = "qvn $version" ] || fail "qvn --version says '$(bin/qvn --version)'"

# A moved installation keeps working.
mv "$root" "$stage/moved"
cd "$stage/moved"
entries=$(bin/qvn index "$datadir/first-steps.qvn") || fail "qvn index after the move"
[ -n "$entries" ] || fail "qvn index lists nothing after the move"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; install log:" >&2
  cat "$stage/install.log" >&2
  exit 1
fi
echo "installed and validated: $(find "$stage/moved" -type f | wc -l) files"
