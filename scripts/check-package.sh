#!/usr/bin/env bash
# Checks the Debian package in dist/ (scripts/package.sh makes it) as a user's machine would see it:
# unpacks it into a temporary root, runs the unpacked programs and manual pages, validates the menu
# entry and the software-centre description, and runs lintian, whose errors fail the check and whose
# warnings are shown.
set -euo pipefail
cd "$(dirname "$0")/.."
shopt -s nullglob
packages=(dist/talvex_*.deb)
if [ ${#packages[@]} -ne 1 ]; then
    echo "check-package: expected one dist/talvex_*.deb, found ${#packages[@]} (run scripts/package.sh)" >&2
    exit 1
fi
deb=${packages[0]}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$work/control"

fail() {
    echo "check-package: $*" >&2
    exit 1
}

version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
echo "== $deb: version $version"
echo "Depends: $depends"
[[ $depends == *libqt6widgets6* ]] || fail "Depends does not name the Qt libraries: $depends"
# The window's pictures are drawn by Qt's SVG icon plug-in, which no program links.
[[ $depends == *libqt6svg6* ]] || fail "Depends does not name libqt6svg6, which draws the window's pictures"

# The release is named alike everywhere a user or a software centre reads it.
changelog_version=$(zcat "$root/usr/share/doc/talvex/changelog.gz" | sed -n '1s/^talvex (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] || fail "the changelog's last entry is $changelog_version, the package $version"
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
grep -q "<release version=\"$version\"" "${metainfo[0]}" || fail "the metainfo has no release $version"
for page in "$root"/usr/share/man/man1/*.1.gz; do
    zcat "$page" | grep "^\.TH .* \"Talvex $version\"" >/dev/null ||
        fail "$(basename "$page") is not the page of Talvex $version"
done

echo "== the unpacked programs"
# Their own settings folder, so that the user's settings are neither read nor changed.
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
shown=$("$root/usr/bin/talvex" --version)
[ "$shown" = "talvex $version" ] || fail "talvex --version says \"$shown\", the package is $version"
echo "$shown"
"$root/usr/bin/talvex-scale" --version
records=$("$root/usr/bin/talvex" records tests/data/exchange/pricing.ods --mode pricing)
echo "$records" | cut -c 1-60
grep -q $'^1\tsendable\t' <<<"$records" || fail "talvex records did not send the fixture's first row"

echo "== manual pages"
for page in "$root"/usr/share/man/man1/*.1.gz; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >"$work/page.txt" 2>"$work/warnings.txt"
    if [ -s "$work/warnings.txt" ]; then
        cat "$work/warnings.txt" >&2
        fail "$(basename "$page") has formatting warnings"
    fi
    echo "$(basename "$page"): $(wc -l <"$work/page.txt") lines"
done
# grep reads to the end, so that man never writes into a closed pipe.
LC_ALL=C.UTF-8 man -l "$root/usr/share/man/man1/talvex.1.gz" | grep dialout >/dev/null ||
    fail "the manual does not say how to join the group dialout"
grep -q dialout "$work/control/postinst" || fail "the note after installing does not mention the group dialout"

echo "== menu entry and software-centre description"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "${metainfo[@]}"
# The description read together with the menu entry and the icons it names.
appstreamcli validate-tree --no-net "$root"
bash -n "$root/usr/share/bash-completion/completions/talvex"

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian found errors in $deb"
echo "check-package: $deb is sound"
