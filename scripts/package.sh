#!/usr/bin/env bash
# Builds the Debian package build-package/quisk_<version>_<arch>.deb with
# CPack and checks it with lintian. Installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-package

bash "$root/scripts/setup.sh"
tools=(dpkg-dev lintian desktop-file-utils appstream file)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Debian's hardening and optimisation flags, as a Debian build would use.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
export CXXFLAGS="$CXXFLAGS $CPPFLAGS"

launcher=()
if command -v ccache > /dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
rm -rf "$out"
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQUISK_BUILD_TESTS=OFF "${launcher[@]}" > /dev/null
cmake --build "$out" -j"$(nproc)"

echo "== checking the desktop entry and the AppStream metainfo"
desktop-file-validate "$root/src/app/ui/resources/quisk.desktop"
# The validator fails on warnings too; only errors stop the package.
report=$(appstreamcli validate --no-net "$root/packaging/quisk.metainfo.xml" 2>&1) || true
echo "$report"
if grep -q '^E:' <<< "$report"; then exit 1; fi

echo "== building the package"
(cd "$out" && cpack -G DEB > cpack.log) || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/quisk_*.deb)
dpkg-deb --field "$deb"

echo "== lintian"
if ! lintian --info --fail-on error "$deb"; then
  echo "lintian found errors" >&2
  exit 1
fi
echo "lintian: no errors"
echo "== built $deb"
