#!/usr/bin/env bash
# Builds the Debian package: a Release build of its own (build/package),
# packed by CPack into build/velmora_<version>_amd64.deb. Installs what is
# missing first, as the other commands do.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Debian's own compiler and linker flags (hardening among them), which
# lintian looks for in a package's program.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CPPFLAGS=$(dpkg-buildflags --get CPPFLAGS)
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $CPPFLAGS"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DVELMORA_TESTS=OFF -DVELMORA_BENCHMARKS=OFF -DVELMORA_DEBIAN_DOCS=ON >/dev/null
cmake --build build/package -j2
(cd build/package && cpack -G DEB >/dev/null)
version=$(sed -n 's/^project(velmora VERSION \([^ ]*\) .*/\1/p' CMakeLists.txt)
package=build/velmora_${version}_amd64.deb
[ -f "$package" ] || {
    echo "package.sh: CPack made no $package" >&2
    exit 1
}
echo "$package"
