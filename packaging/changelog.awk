# SPDX-License-Identifier: GPL-3.0-or-later
# CHANGELOG.md to the Debian changelog (-v format=debian) or to AppStream's <release> elements
# (-v format=appstream). A release is a "## [VERSION] - YYYY-MM-DD" heading with "### Group"
# headings (Added, Changed, Fixed, ...) under it and "- " items under those, an item continued on
# lines indented by two spaces. Text before the first release and the "## [Unreleased]" section
# are left out. Anything else inside a release is an error, as is a newest release that is not
# `version`, so the file keeps the form both outputs need.
# usage: awk -v format=debian -v version=V -v package=P -v maintainer='NAME <EMAIL>' \
#            -f changelog.awk CHANGELOG.md
#        awk -v format=appstream -v version=V -f changelog.awk CHANGELOG.md

function fail(message) {
    printf "%s:%d: %s\n", FILENAME, FNR, message > "/dev/stderr"
    failed = 1
    exit 1
}

function end_item() {
    if (item == "") return
    count[releases]++
    text[releases, count[releases]] = item
    group_of[releases, count[releases]] = group
    item = ""
}

# Markdown's code marks and emphasis say nothing in plain text or in AppStream's markup.
function plain(s) {
    gsub(/`/, "", s)
    gsub(/\*\*/, "", s)
    return s
}

function xml(s) {
    gsub(/&/, "\\&amp;", s)
    gsub(/</, "\\&lt;", s)
    gsub(/>/, "\\&gt;", s)
    gsub(/"/, "\\&quot;", s)
    return s
}

# s wrapped into lines of at most `width` columns: the first starts with `first`, the others
# with `rest`.
function wrap(s, width, first, rest,    words, n, i, line, out) {
    n = split(s, words, " ")
    line = first
    out = ""
    for (i = 1; i <= n; i++) {
        if (line != first && line != rest && length(line) + 1 + length(words[i]) > width) {
            out = out line "\n"
            line = rest
        }
        line = (line == first || line == rest) ? line words[i] : line " " words[i]
    }
    return out line "\n"
}

# RFC 5322 date of noon UTC on YYYY-MM-DD, as a Debian changelog's trailer line wants.
function rfc_date(date,    y, m, d, dow) {
    y = substr(date, 1, 4) + 0
    m = substr(date, 6, 2) + 0
    d = substr(date, 9, 2) + 0
    if (m < 3) y--
    dow = (y + int(y / 4) - int(y / 100) + int(y / 400) + substr("032503514624", m, 1) + d) % 7
    return substr("SunMonTueWedThuFriSat", dow * 3 + 1, 3) ", " substr(date, 9, 2) " " \
        substr("JanFebMarAprMayJunJulAugSepOctNovDec", m * 3 - 2, 3) " " substr(date, 1, 4) \
        " 12:00:00 +0000"
}

BEGIN {
    if (format != "debian" && format != "appstream") fail("format must be debian or appstream")
    if (version == "") fail("no version given")
    if (format == "debian" && (package == "" || maintainer == "")) fail("no package or maintainer")
    releases = 0
    section = "intro"  # intro, unreleased or release
}

/^## \[Unreleased\][[:space:]]*$/ {
    end_item()
    if (releases > 0) fail("the unreleased section comes before every release")
    section = "unreleased"
    next
}

/^## / {
    end_item()
    if ($0 !~ /^## \[[0-9]+\.[0-9]+\.[0-9]+([-+~][0-9A-Za-z.~+-]*)?\] - [0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]$/)
        fail("a release heading is \"## [VERSION] - YYYY-MM-DD\": " $0)
    releases++
    rel_version[releases] = substr($2, 2, length($2) - 2)
    rel_date[releases] = $4
    month = substr($4, 6, 2) + 0
    day = substr($4, 9, 2) + 0
    if (month < 1 || month > 12 || day < 1 || day > 31) fail("no such date: " $4)
    for (r = 1; r < releases; r++)
        if (rel_version[r] == rel_version[releases]) fail("release " rel_version[r] " twice")
    if (releases > 1 && rel_date[releases] > rel_date[releases - 1])
        fail("release " rel_version[releases] " is dated after the one above it")
    section = "release"
    group = ""
    next
}

# Link definitions for the headings, wherever they are.
/^\[[^]]+\]: / { end_item(); next }

section == "intro" { next }

/^### / {
    end_item()
    group = substr($0, 5)
    sub(/[[:space:]]+$/, "", group)
    next
}

/^- / {
    end_item()
    if (section == "release" && group == "") fail("an item outside a ### group")
    item = substr($0, 3)
    next
}

/^  +[^ ]/ {
    if (item == "") fail("an indented line that continues no item")
    line = $0
    sub(/^ +/, "", line)
    item = item " " line
    next
}

/^[[:space:]]*$/ { end_item(); next }

section == "release" { fail("not a heading, an item or its continuation: " $0) }

{ next }  # the unreleased section's own words are nobody's business yet

END {
    if (failed) exit 1
    end_item()
    if (releases == 0) { FNR = 0; fail("no release") }
    if (rel_version[1] != version) {
        FNR = 0
        fail("the newest release is " rel_version[1] ", the project's version is " version)
    }
    for (r = 1; r <= releases; r++) {
        if (count[r] == 0) { FNR = 0; fail("release " rel_version[r] " lists no change") }
        if (format == "debian") {
            if (r > 1) print ""
            printf "%s (%s) unstable; urgency=medium\n\n", package, rel_version[r]
            previous = ""
            for (i = 1; i <= count[r]; i++) {
                if (group_of[r, i] != previous) {
                    printf "  * %s:\n", group_of[r, i]
                    previous = group_of[r, i]
                }
                printf "%s", wrap(plain(text[r, i]), 78, "    - ", "      ")
            }
            printf "\n -- %s  %s\n", maintainer, rfc_date(rel_date[r])
        } else {
            printf "    <release version=\"%s\" date=\"%s\">\n", rel_version[r], rel_date[r]
            print "      <description>"
            previous = ""
            for (i = 1; i <= count[r]; i++) {
                if (group_of[r, i] != previous) {
                    if (previous != "") print "        </ul>"
                    printf "        <p>%s:</p>\n        <ul>\n", xml(group_of[r, i])
                    previous = group_of[r, i]
                }
                printf "          <li>%s</li>\n", xml(plain(text[r, i]))
            }
            print "        </ul>"
            print "      </description>"
            print "    </release>"
        }
    }
}
