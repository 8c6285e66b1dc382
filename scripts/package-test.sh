#!/usr/bin/env bash
# Builds the Debian package with CPack, runs lintian on it (every tag that
# dist/debian/lintian-overrides does not list with its reason fails, down to
# the informational and pedantic ones), installs it with apt as the README
# does, checks the installed files, the hardening of the executables and the
# systemd unit, runs the installed programs (--version, velmar-profiles list,
# --autostart, the tray program under Xvfb and trayer), then removes it with
# dpkg -r and checks that nothing of it is left. Needs root or sudo, and
# refuses to run while the package is installed already.
# Usage: scripts/package-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

package=velmar-active-profiles
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi

fail() { echo "FAIL: $*" >&2; exit 1; }
is_installed() { dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q ' installed$'; }

if is_installed; then
  fail "$package is installed already; remove it first: sudo dpkg -r $package"
fi

work=$(mktemp -d)
installed_here=false
cleanup() {
  if $installed_here && is_installed; then
    echo "== removing the package after a failure"
    "${sudo[@]}" dpkg -r "$package" >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

scripts/install-deps.sh test

echo "== building the package"
scripts/build.sh release
rm -f build/release/"$package"_*.deb
cpack --preset release >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
project_version=$(sed -n 's/^project(VelmarActiveProfiles VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$(ls build/release/"${package}_${project_version}"-*_"$(dpkg --print-architecture)".deb 2>/dev/null || true)
[ -n "$deb" ] && [ -f "$deb" ] || fail "no package of version $project_version; cpack made: $(ls build/release/*.deb 2>/dev/null)"
version=$(dpkg-deb -f "$deb" Version)
[ "${version%-*}" = "$project_version" ] || fail "package version $version, project version $project_version"
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/$package/changelog.Debian.gz | zcat | sed -n 1p |
  grep -qF "$package ($version) " || fail "the changelog's first entry is not version $version"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
echo "$deb: Version: $version, Maintainer: $maintainer"
[ -z "$(dpkg-deb -f "$deb" Homepage)" ] || fail "the package names a Homepage the project does not have"

echo "== lintian"
# Every tag shown, the informational, pedantic and experimental ones too;
# any that the package's overrides do not name fails, and so does an
# override that no longer matches (unused-override). The overridden tags are
# printed afterwards.
lintian_status=0
report=$(lintian --display-info --pedantic --display-experimental \
  --fail-on error,warning,info,pedantic "$deb" 2>&1) || lintian_status=$?
grep -v 'running with root privileges' <<<"$report" || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports the tags above (status $lintian_status)"
lintian --show-overrides --fail-on none "$deb" 2>&1 | grep '^O: ' || true
echo "lintian: nothing beyond the overrides of dist/debian/lintian-overrides"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$deb: Depends: $depends"
for dependency in libc6 libqt6widgets6 qt6-qpa-plugins qt6-wayland libmicrohttpd12 libsystemd0; do
  grep -qE "(^|, )$dependency( |,|$)" <<<"$depends" || fail "Depends lacks $dependency"
done

echo "== apt install ./$deb"
installed_here=true
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "./$deb"
dpkg -L "$package" | while read -r path; do if [ ! -d "$path" ]; then echo "$path"; fi; done >"$work/files"

echo "== installed files"
expected=(
  /usr/bin/velmar-active-profiles
  /usr/bin/velmar-profiles
  /usr/libexec/velmar-active-profiles/velmar-active-profiles-desktop
  /usr/bin/velmar-editor
  /usr/share/applications/velmar-active-profiles.desktop
  /usr/share/applications/velmar-editor.desktop
  /usr/share/man/man1/velmar-active-profiles.1.gz
  /usr/share/man/man1/velmar-profiles.1.gz
  /usr/share/man/man1/velmar-editor.1.gz
  /usr/share/doc/velmar-active-profiles/README.md
  /usr/share/doc/velmar-active-profiles/copyright
  /usr/share/doc/velmar-active-profiles/changelog.Debian.gz
  /usr/share/lintian/overrides/velmar-active-profiles
  /usr/lib/systemd/system/velmar-active-profiles.service
)
for name in velmar-active-profiles velmar-active-profiles-warning; do
  expected+=(/usr/share/icons/hicolor/scalable/apps/$name.svg)
  for size in 16 22 24 32 48 64 128 256; do
    expected+=(/usr/share/icons/hicolor/${size}x${size}/apps/$name.png)
  done
done
for path in "${expected[@]}"; do
  grep -qxF "$path" "$work/files" || fail "$path is not in the package"
  [ -f "$path" ] || fail "$path was not installed"
done
echo "${#expected[@]} expected files present; $(wc -l <"$work/files") in all"
for entry in velmar-active-profiles velmar-editor; do
  report=$(desktop-file-validate /usr/share/applications/$entry.desktop 2>&1) &&
    [ -z "$report" ] || fail "desktop-file-validate $entry: $report"
done
for page in velmar-active-profiles velmar-profiles velmar-editor; do
  MANPAGER=cat MANWIDTH=80 man "$page" 2>&1 | grep -qF "velmar-active-profiles $project_version" ||
    fail "man $page does not show the page of version $project_version"
done

# Every executable of the package, whichever there are: stripped, its
# libraries found, and its --version when it has one.
echo "== executables"
while read -r path; do
  [ -x "$path" ] && [ "$(head -c 4 "$path" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
  name=$(basename "$path")
  readelf -S "$path" | grep -qE '\.(symtab|debug_info)' && fail "$path is not stripped"
  # Built with dpkg-buildflags' hardening and stripped as dh_strip does
  # (lintian checks the same; these name the file when one is missing).
  sections=$(readelf -SW "$path")
  ! grep -qE ' \.comment ' <<<"$sections" || fail "$path keeps its .comment section"
  grep -qE 'FLAGS.*BIND_NOW' <<<"$(readelf -dW "$path")" || fail "$path is not linked with -z now"
  grep -q 'GNU_RELRO' <<<"$(readelf -lW "$path")" || fail "$path has no read-only relocations"
  grep -q '__stack_chk_fail' <<<"$(readelf --dyn-syms -W "$path")" || fail "$path has no stack protector"
  missing=$(ldd "$path" | grep 'not found' || true)
  [ -z "$missing" ] || fail "$path misses libraries: $missing"
  status=0
  answer=$(timeout 5 env -u DISPLAY -u WAYLAND_DISPLAY "$path" --version </dev/null 2>&1) || status=$?
  if grep -qF "$project_version" <<<"$answer" && [ "$status" -eq 0 ]; then
    echo "$name --version: $(head -n1 <<<"$answer")"
  elif [ "$status" -eq 0 ] && grep -qi 'version' <<<"$answer"; then
    fail "$name --version does not name version $project_version: $answer"
  else
    echo "$name: no --version yet, its check is skipped (status $status: $(head -n1 <<<"$answer"))"
  fi
done <"$work/files"

echo "== the systemd unit"
unit=/usr/lib/systemd/system/velmar-active-profiles.service
report=$(systemd-analyze verify --man=no "$unit" 2>&1) && [ -z "$report" ] || fail "systemd-analyze verify: $report"
grep -q '^ExecStart=/usr/bin/velmar-active-profiles ' "$unit" || fail "$unit: $(grep '^ExecStart=' "$unit")"
echo "$unit: accepted by systemd-analyze verify"

echo "== velmar-profiles list"
list=$(velmar-profiles list "/PATH:$PWD/examples/Project") || fail "velmar-profiles list failed"
grep -q '^== .* 8 profiles$' <<<"$list" || fail "velmar-profiles list: $list"
echo "$list" | head -n3

echo "== autostart of the installed program"
output=$(XDG_CONFIG_HOME="$work/config" velmar-active-profiles --autostart on) || fail "--autostart on failed"
echo "$output"
grep -qF "/srv/velmar/Project/" <<<"$output" || fail "the installed program's default folder is not /srv/velmar/Project/"
entry="$work/config/autostart/velmar-active-profiles.desktop"
grep -qx 'Exec=/usr/bin/velmar-active-profiles' "$entry" || fail "autostart entry: $(grep '^Exec=' "$entry")"
report=$(desktop-file-validate "$entry" 2>&1) && [ -z "$report" ] || fail "autostart entry: $report"
XDG_CONFIG_HOME="$work/config" velmar-active-profiles --autostart off >/dev/null
[ ! -e "$entry" ] || fail "--autostart off left the entry"

echo "== the tray program under Xvfb and trayer"
bash tests/app/desktop_e2e.sh tray /usr/bin/velmar-active-profiles "$PWD/examples/Project"

echo "== dpkg -r"
"${sudo[@]}" dpkg -r "$package"
installed_here=false
if is_installed; then fail "$package is still installed"; fi
left=$(while read -r path; do if [ -e "$path" ]; then echo "$path"; fi; done <"$work/files")
[ -z "$left" ] || fail "left after dpkg -r: $left"
[ ! -e /usr/share/doc/velmar-active-profiles ] || fail "/usr/share/doc/velmar-active-profiles is left"

echo "PASS: $deb built, installed, run and removed"
