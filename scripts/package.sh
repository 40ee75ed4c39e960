#!/usr/bin/env bash
# Builds the Debian package build-package/pelgrandix_<release>_amd64.deb from the release build
# in build/ (built or brought up to date first). Install it with
#   sudo apt install ./build-package/pelgrandix_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
rm -f build-package/pelgrandix_*.deb
cpack --config build/CPackConfig.cmake -B build-package >/dev/null
# CPack's own scratch tree is of no use once the package is made.
rm -rf build-package/_CPack_Packages
ls build-package/pelgrandix_*.deb
