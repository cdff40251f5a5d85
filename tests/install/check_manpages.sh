#!/usr/bin/env bash
# Checks the installed manual pages: one per program, each rendered by
# `man -l` without a warning and naming its program, `man PROGRAM` finding it
# through MANPATH; and the package documents (copyright, changelog) in place.
# Usage: check_manpages.sh CONFIG
set -uo pipefail
. "$1"
root="$STAGE$PREFIX"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
export LC_ALL=C.UTF-8 MANWIDTH=80 MAN_DISABLE_SECCOMP=1

for p in $GUI_PROGRAMS $CLI_PROGRAMS; do
  page="$root/$MANDIR/man1/$p.1.gz"
  [ -f "$page" ] || { fail "no manual page $MANDIR/man1/$p.1.gz"; continue; }
  warnings=$(man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man -l $p.1.gz warns: $warnings"
  text=$(man -E UTF-8 -l "$page" 2>/dev/null)
  grep -q "^NAME" <<<"$text" && grep -Eq "^ *$p +- " <<<"$text" || fail "man -l $p.1.gz renders no NAME line of $p"
  [ "$(MANPATH="$root/$MANDIR" man -w "$p" 2>/dev/null)" = "$page" ] || fail "man $p does not find $page through MANPATH"
done
[ "$(ls "$root/$MANDIR/man1" | wc -l)" -eq "$(echo $GUI_PROGRAMS $CLI_PROGRAMS | wc -w)" ] ||
  fail "man1/ holds other pages: $(ls "$root/$MANDIR/man1" | tr '\n' ' ')"

grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$root/$DOCDIR/copyright" ||
  fail "no machine-readable copyright file in $DOCDIR"
zcat "$root/$DOCDIR/changelog.gz" 2>/dev/null | head -1 | grep -q '^varno (' || fail "no Debian changelog in $DOCDIR"

if [ "$failures" -gt 0 ]; then echo "$failures failed"; exit 1; fi
echo "$(echo $GUI_PROGRAMS $CLI_PROGRAMS | wc -w) manual pages render; copyright and changelog in place"
