#!/usr/bin/env bash
# Builds the Debian package from the build folder with CPack (into a temporary folder) and
# inspects it without installing it: its name, its control fields, that it holds exactly the
# installed tree under /usr (plus lintian's overrides) owned by root, and that lintian reports no
# error and no warning but the ones listed below.
# Usage: package-check.sh BUILD_DIR
set -euo pipefail

build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

cpack --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
package=$(find "$work/out" -maxdepth 1 -name '*.deb')
check "one package named pelmora-tacetor_1.0.0_amd64.deb" test "$(basename "$package")" = pelmora-tacetor_1.0.0_amd64.deb

dpkg-deb --info "$package" > "$work/info.txt"
field() { dpkg-deb --field "$package" "$1"; }
check "package name, version, architecture" test "$(field Package) $(field Version) $(field Architecture)" = "pelmora-tacetor 1.0.0 amd64"
check "section sound, priority optional" test "$(field Section) $(field Priority)" = "sound optional"
check "maintainer and homepage" test "$(field Maintainer) $(field Homepage)" = "Orvane <support@orvane.com> https://www.orvane.com"
# dpkg-shlibdeps found what the binaries link; X11's extension library is opened at run time and
# declared by hand, and no package may come twice from the two.
for dependency in "libc6 (>=" "libstdc++6 (>=" "libasound2 (>=" "libfreetype6 (>=" "libflac12 (>=" "libx11-6" "libxext6"; do
    check "depends on $dependency" sh -c "dpkg-deb --field '$package' Depends | tr ',' '\n' | grep -qF -- '$dependency'"
done
check "no dependency named twice" sh -c "dpkg-deb --field '$package' Depends | tr ',' '\n' | awk '{ print \$1 }' | sort | uniq -d | grep -c . | grep -qx 0"
check "recommends a JACK library" sh -c "dpkg-deb --field '$package' Recommends | grep -q 'libjack-jackd2-0 | libjack-0.125'"
check "synopsis says what it is" sh -c "dpkg-deb --field '$package' Description | head -n 1 | grep -q '^noise gate pedal for guitar'"
check "extended description names every format" sh -c "dpkg-deb --field '$package' Description | grep -q 'VST3' && dpkg-deb --field '$package' Description | grep -q 'LV2' && dpkg-deb --field '$package' Description | grep -q 'VST 2.4'"

dpkg-deb --contents "$package" > "$work/contents.txt"
awk '$1 !~ /^d/ { sub(/^\.\/usr\//, "", $6); print $6 }' "$work/contents.txt" | LC_ALL=C sort > "$work/found.txt"
(cat "$here/installed-files.txt"; echo share/lintian/overrides/pelmora-tacetor) | LC_ALL=C sort > "$work/expected.txt"
same_lists "exactly the installed tree under /usr, and lintian's overrides" "$work/expected.txt" "$work/found.txt"
check "every entry owned by root" sh -c "awk '\$2 != \"root/root\"' '$work/contents.txt' | grep -c . | grep -qx 0"
check "programs and folders 0755, other files 0644" sh -c "awk '
    /^d/ { if (\$1 != \"drwxr-xr-x\") bad = 1; next }
    \$6 ~ /\\/bin\\// { if (\$1 != \"-rwxr-xr-x\") bad = 1; next }
    \$6 ~ /\\.so\$/ { if (\$1 != \"-rw-r--r--\" && \$1 != \"-rwxr-xr-x\") bad = 1; next }
    { if (\$1 != \"-rw-r--r--\") bad = 1 }
    END { exit bad }' '$work/contents.txt'"

# Warnings kept, each for a reason: none at present (see packaging/debian/lintian-overrides for
# the ones overridden in the package itself). Information tags are not failures.
allowed_warnings='^$'
lintian --pedantic "$package" > "$work/lintian.txt" 2> /dev/null || true
sed 's/^/    /' "$work/lintian.txt" | grep -v '^    I:' || true
check "lintian reports no error" sh -c "! grep -q '^E:' '$work/lintian.txt'"
check "lintian reports no warning but the allowed ones" sh -c "! grep '^W:' '$work/lintian.txt' | grep -Ev '$allowed_warnings'"

finish
