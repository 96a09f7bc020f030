#!/usr/bin/env bash
# The manual pages render with man -l without a warning, and qvn(1) keeps up with qvn: every
# command that qvn --help lists has its section, naming each of its options, and every exit
# code of qvn --help is explained; no section describes a command that qvn lacks.
#   check-man-pages.sh MAN_DIR QVN
set -euo pipefail
mandir=$1 qvn=$2
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for page in quorvane.6 qvn.1; do
  LC_ALL=C MANWIDTH=80 man --warnings -l "$mandir/$page" > "$work/$page.txt" 2> "$work/$page.err" ||
    fail "man -l $page"
  [ -s "$work/$page.err" ] && fail "$page: $(cat "$work/$page.err")"
  for heading in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" "SEE ALSO"; do
    grep -q "^$heading\$" "$work/$page.txt" || fail "$page has no $heading"
  done
done
page=$work/qvn.1.txt

# A command's section: from its heading ("   qvn NAME ...") to the next heading.
section() {
  awk -v name="$1" '
    /^[^ ]/ || /^   qvn / { inside = ($0 ~ "^   qvn " name "( |$)") }
    inside' "$page"
}

"$qvn" --help > "$work/help.txt"
commands=$(sed -n 's/^  qvn \([a-z][a-z0-9-]*\).*/\1/p' "$work/help.txt")
[ -n "$commands" ] || fail "qvn --help lists no commands"
for name in $commands; do
  text=$(section "$name")
  if [ -z "$text" ]; then
    fail "qvn.1 does not document the command '$name' (add man/qvn/$name.roff)"
    continue
  fi
  usage=$(grep "^  qvn $name\\b" "$work/help.txt")
  for option in $(grep -o -- '--[a-z][a-z0-9-]*' <<< "$usage" | sort -u); do
    grep -q -- "$option" <<< "$text" || fail "qvn.1: the section of '$name' does not name $option"
  done
done
for name in $(sed -n 's/^   qvn \([a-z][a-z0-9-]*\).*/\1/p' "$page"); do
  grep -qx "$name" <<< "$commands" || fail "qvn.1 documents '$name', which qvn --help does not list"
done

codes=$(grep -i '^exit codes:' "$work/help.txt" | grep -o '\b[0-9]\+\b' || true)
[ -n "$codes" ] || fail "qvn --help names no exit codes"
status=$(awk '/^[^ ]/ { inside = ($0 == "EXIT STATUS") } inside' "$page")
for code in $codes; do
  grep -Eq "^       $code( |\$)" <<< "$status" || fail "qvn.1 does not explain exit code $code"
done

[ "$failures" -eq 0 ] || exit 1
echo "manual pages checked: $(wc -w <<< "$commands") qvn commands"
