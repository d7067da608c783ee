#!/usr/bin/env bash
# Builds the Debian package of Rova: a release build in build-package/, installed under /usr,
# packed by CPack into build-package/rova_<version>_amd64.deb. Then checks the desktop entry, the
# AppStream metadata and the package (lintian), and prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."

# The packaging and checking tools are installed here only: the build and test commands do
# not need them. CPack picks the programs it hands to dpkg-shlibdeps (dpkg-dev) with `file`.
bash scripts/setup.sh dpkg-dev lintian appstream desktop-file-utils file

# Debian's hardening flags, as dpkg-buildflags gives them to every package: fortified libc calls,
# the stack protector, and relocations made read-only at start-up. The Release build's -O3 stays;
# -g and -O2 are left out. CMake does not read CPPFLAGS, so they join the compiler flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP="-g -O2"
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

dir=build-package
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DROVA_WERROR=ON -DROVA_TESTS=OFF -DROVA_BENCH=OFF >/dev/null
cmake --build "$dir"
rm -f "$dir"/rova_*.deb
(cd "$dir" && cpack -G DEB)

echo "== desktop-file-validate"
desktop-file-validate data/desktop/org.mirelight.Rova.desktop
echo "valid"
echo "== appstreamcli validate"
appstreamcli validate --no-net data/desktop/org.mirelight.Rova.metainfo.xml

deb=$(ls "$dir"/rova_*_amd64.deb)
echo "== lintian"
# lintian exits non-zero when it reports errors; its findings are printed either way.
lintian --display-info --pedantic "$deb" || echo "lintian reported errors (exit status $?)"
echo "== package"
realpath "$deb"
