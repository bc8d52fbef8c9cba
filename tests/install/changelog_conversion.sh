#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# packaging/changelog.awk, which turns CHANGELOG.md into the Debian changelog and AppStream's
# releases: the changelogs out of form that it refuses, and on one in form, a Debian changelog
# that dpkg reads with the right weekdays and lines under 80 columns, and releases that are
# well-formed XML carrying every item's words.
# usage: changelog_conversion.sh AWK CONVERTER
set -uo pipefail
source "$(dirname "$0")/install_lib.sh"
awk_program=$1 converter=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# convert FORMAT VERSION FILE: the converter's output; its messages go to $scratch/err.
convert() {
    "$awk_program" -v format="$1" -v version="$2" -v package=kestrelon \
        -v maintainer='K D <k@example.invalid>' -f "$converter" "$3" 2>"$scratch/err"
}

# Out of form: name | version asked for | what the message must say | the changelog (\n escapes).
refusals='newest release not the version|0.2.0|the project'"'"'s version is 0.2.0|## [0.1.0] - 2026-12-09\n### Added\n- a\n
item outside a group|0.1.0|an item outside a ### group|## [0.1.0] - 2026-12-09\n- a\n
a paragraph inside a release|0.1.0|not a heading, an item or its continuation|## [0.1.0] - 2026-12-09\n### Added\n- a\n\nSome words.\n
heading without a date|0.1.0|a release heading is|## [0.1.0]\n### Added\n- a\n
no such month|0.1.0|no such date|## [0.1.0] - 2026-13-01\n### Added\n- a\n
one release twice|0.1.0|release 0.1.0 twice|## [0.1.0] - 2026-12-09\n### Added\n- a\n## [0.1.0] - 2026-12-01\n### Added\n- b\n
an older release dated later|0.2.0|is dated after the one above it|## [0.2.0] - 2026-01-01\n### Added\n- a\n## [0.1.0] - 2026-02-01\n### Added\n- b\n
only unreleased changes|0.1.0|no release|# Changelog\n\n## [Unreleased]\n### Added\n- a\n
a release listing nothing|0.1.0|lists no change|## [0.1.0] - 2026-12-09\n### Added\n
unreleased below a release|0.1.0|the unreleased section comes before|## [0.1.0] - 2026-12-09\n### Added\n- a\n## [Unreleased]\n
a continuation of nothing|0.1.0|continues no item|## [0.1.0] - 2026-12-09\n### Added\n  dangling words\n'

while IFS='|' read -r name version message body; do
    printf '%b' "$body" >"$scratch/CHANGELOG.md"
    for format in debian appstream; do
        if convert "$format" "$version" "$scratch/CHANGELOG.md" >/dev/null; then
            fail "$name ($format): accepted"
        elif ! grep -qF -- "$message" "$scratch/err"; then
            fail "$name ($format): says \"$(cat "$scratch/err")\", not \"$message\""
        fi
    done
done <<<"$refusals"

# In form: releases across a leap day, a new year and the January/February weekday rule, with
# markup, characters XML escapes, an item continued over lines and one longer than a line.
long=$(printf 'word%.0s ' {1..40})
cat >"$scratch/CHANGELOG.md" <<EOF
# Changelog

Words before the first release are left out.

## [Unreleased]

- Not yet.

## [0.4.0] - 2028-02-29

### Added

- The \`kestrelonctl\` tool, **bold** and <b>tagged</b> & "quoted".
- A change told over
  two lines.

### Fixed

- ${long}averyveryveryveryveryveryveryveryverylongwordindeed

## [0.3.0] - 2027-01-01

### Changed

- New year.

## [0.2.0] - 2026-12-09

### Removed

- Winter.

## [0.1.0] - 2000-03-01

### Added

- The first.

[0.1.0]: https://example.invalid/0.1.0
EOF
items=('The kestrelonctl tool, bold and <b>tagged</b> & "quoted".' 'A change told over two lines.'
       "${long}averyveryveryveryveryveryveryveryverylongwordindeed"
       'New year.' 'Winter.' 'The first.')
releases=('0.4.0 2028-02-29' '0.3.0 2027-01-01' '0.2.0 2026-12-09' '0.1.0 2000-03-01')

if ! convert debian 0.4.0 "$scratch/CHANGELOG.md" >"$scratch/changelog"; then
    fail "debian: refused a changelog in form: $(cat "$scratch/err")"
else
    out=$(dpkg-parsechangelog -l "$scratch/changelog" --all --format rfc822 2>&1 | sed -n "s/^Version: //p")
    [ "$(tr '\n' ' ' <<<"$out")" = "0.4.0 0.3.0 0.2.0 0.1.0 " ] ||
        fail "debian: dpkg reads versions $out"
    out=$(dpkg-parsechangelog -l "$scratch/changelog" --all 2>&1 >/dev/null)
    [ -z "$out" ] || fail "debian: dpkg warns: $out"
    want=""
    for release in "${releases[@]}"; do
        want+=" -- K D <k@example.invalid>  $(LC_ALL=C date -u -R -d "${release#* } 12:00")"$'\n'
    done
    [ "$(grep '^ -- ' "$scratch/changelog")"$'\n' = "$want" ] ||
        fail "debian: trailers $(grep '^ -- ' "$scratch/changelog"), not $want"
    out=$(awk 'length > 79' "$scratch/changelog")
    [ -z "$out" ] || fail "debian: lines over 79 columns: $out"
    # Every item's words in order, its markup gone, and nothing else under the groups.
    got=$(grep -E '^    [- ] ' "$scratch/changelog" | sed -E 's/^    [- ] //' | tr -s ' \n' '  ')
    want=$(printf '%s ' "${items[@]}" | sed 's/`//g; s/\*\*//g' | tr -s ' ' ' ')
    [ "$got" = "$want" ] || fail "debian: items read \"$got\", not \"$want\""
    groups=$(grep -E '^  \* ' "$scratch/changelog" | tr '\n' ' ')
    [ "$groups" = "  * Added:   * Fixed:   * Changed:   * Removed:   * Added: " ] ||
        fail "debian: groups $groups"
fi

if ! convert appstream 0.4.0 "$scratch/CHANGELOG.md" >"$scratch/releases"; then
    fail "appstream: refused a changelog in form: $(cat "$scratch/err")"
else
    out=$(python3 - "$scratch/releases" "${releases[@]}" -- "${items[@]}" <<'PYTHON' 2>&1
import sys
import xml.etree.ElementTree as ET
args = sys.argv[2:]
releases, items = args[:args.index("--")], args[args.index("--") + 1:]
root = ET.fromstring("<releases>" + open(sys.argv[1], encoding="utf-8").read() + "</releases>")
got = [r.get("version") + " " + r.get("date") for r in root.findall("release")]
if got != releases:
    print("releases", got)
got = [" ".join(li.text.split()) for li in root.iter("li")]
want = [" ".join(i.replace("`", "").replace("**", "").split()) for i in items]
if got != want:
    print("items", got, "not", want)
got = [p.text for p in root.iter("p")]
if got != ["Added:", "Fixed:", "Changed:", "Removed:", "Added:"]:
    print("groups", got)
PYTHON
    )
    [ -z "$out" ] || fail "appstream: $out"
fi
finish
