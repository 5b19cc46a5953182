#!/usr/bin/env bash
# Installs the Debian 12 packages Lumatrim needs to build, run and test.
# Only what is missing is installed; safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libjpeg62-turbo-dev
  # XMP packets: pugixml parses and writes their XML, Nettle's MD5 checks extended XMP.
  libpugixml-dev nettle-dev
  # HEIF/HEIC/AVIF photos (libheif brings the HEVC and AV1 decoders); colour
  # profiles converted to sRGB (Little CMS).
  libheif-dev liblcms2-dev
  libgtest-dev googletest
  fonts-dejavu-core
  # Qt's own Czech texts for standard buttons and dialogs ("Ano", "Ne",
  # "Zrušit"); Debian 12 names it qt6-translations-l10n (later releases
  # qttranslations6-l10n).
  qt6-translations-l10n
)
if [ "${1:-}" = "--test" ]; then
  # exiftool and exiv2 are the outside readers our written metadata is checked
  # against (rotated, optimised and GPS-stripped photos must read without warnings);
  # clang brings libFuzzer for the fuzz smoke step; xvfb/xauth/imagemagick
  # let us start the window headless and take screenshots; appstream checks
  # the software-centre description.
  packages+=(libimage-exiftool-perl exiv2 clang libclang-rt-dev xvfb xauth x11-apps imagemagick appstream)
  # libpng-dev: the quality metric's test and benchmark tool read PNG pictures.
  packages+=(libpng-dev)
  # The test command builds the Debian package (dpkg-shlibdeps names the
  # libraries it needs) and checks it with lintian.
  packages+=(dpkg-dev lintian)
  # heif-enc makes the HEIF test photos at run time.
  packages+=(libheif-examples)
  # avifenc makes the AVIF test photos (Debian 12's heif-enc cannot write AV1).
  packages+=(libavif-bin)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
