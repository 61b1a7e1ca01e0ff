#!/usr/bin/env bash
# The .deb that `make package` builds: the program in /usr/bin, the desktop
# entry (accepted by desktop-file-validate), the icon, both help pages where
# the program looks for them, and the Qt runtime packages as dependencies.
# The package is built here, into a scratch folder, from the build tree.
#   package_contents.sh <kestrum executable> <tests build dir>
set -u

exe=${1:?usage: package_contents.sh <kestrum> <tests build dir>}
build=$(cd "$(dirname "$exe")" && pwd)
for tool in cpack dpkg-deb desktop-file-validate; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
[[ -f "$build/CPackConfig.cmake" ]] || { echo "SKIP: no CPack configuration in $build"; exit 77; }

work=$(mktemp -d /tmp/kestrum-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out") >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/out/*.deb 2>/dev/null | head -1)
[[ -n "$deb" ]] || fail "no .deb built"

dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
for path in /usr/bin/kestrum /usr/share/applications/kestrum.desktop \
            /usr/share/icons/hicolor/scalable/apps/kestrum.svg \
            /usr/share/kestrum/English.HLP /usr/share/kestrum/German.HLP; do
    grep -qx "$path" "$work/files" || fail "$path is not in the package"
done
grep -E '^/usr/(lib|include)/' "$work/files" && fail "the package holds libraries or headers"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6printsupport6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
    grep -q "$package" <<<"$depends" || fail "Depends lacks $package: $depends"
done
[[ "$(dpkg-deb -f "$deb" Package)" == kestrum ]] || fail "the package is not named kestrum"

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/kestrum.desktop" || fail "the desktop entry is not valid"
grep -qx "Exec=kestrum %f" "$work/root/usr/share/applications/kestrum.desktop" || fail "Exec is not kestrum %f"
grep -qx "Icon=kestrum" "$work/root/usr/share/applications/kestrum.desktop" || fail "Icon is not kestrum"
grep -q "<svg" "$work/root/usr/share/icons/hicolor/scalable/apps/kestrum.svg" || fail "the icon is no SVG"
cmp -s "$work/root/usr/share/kestrum/English.HLP" "$(dirname "$0")/../../help/English.HLP" ||
    fail "English.HLP differs from help/English.HLP"
# The installed program runs and is stripped of nothing it needs.
"$work/root/usr/bin/kestrum" --version | grep -q "^kestrum " || fail "the packaged program does not run"
echo "package_contents: ok ($(basename "$deb"))"
exit 0
