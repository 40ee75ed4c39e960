#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and only those that
# are missing, so a second run costs nothing. Works as root and, through sudo, as a user.
set -euo pipefail

# Qt Charts' CMake files look for Qt's OpenGL module, which its Debian package does not bring.
# minisign signs and checks version lists in the tests (as the maker does), and openssl makes the
# certificate of a test's https site.
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n
  libcurl4-openssl-dev libcpp-httplib-dev libsodium-dev minisign openssl
  googletest libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils xdg-utils fonts-dejavu-core dbus tesseract-ocr tesseract-ocr-eng
  clang libclang-rt-14-dev
  dpkg-dev fakeroot lintian desktop-file-utils appstream librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
