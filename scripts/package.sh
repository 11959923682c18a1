#!/usr/bin/env bash
# Builds the Debian package of Naadwerk as a packager would: the program alone
# (no tests), a Release build in build-package/ (or the folder given as $1)
# with Debian's hardening flags from dpkg-buildflags, then `cpack -G DEB`,
# then lintian on the package, which fails this script on an error. The
# package's path is the last line printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh package
dir=${1:-build-package}

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DNAADWERK_WERROR=ON
cmake --build "$dir" --parallel "$(nproc)"
rm -f "$dir"/naadwerk_*.deb
(cd "$dir" && cpack -G DEB)
deb=$(ls "$dir"/naadwerk_*.deb)
lintian --info "$deb"
echo "$deb"
