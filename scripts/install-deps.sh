#!/usr/bin/env bash
# Installs the Debian packages lumivanecmd builds and runs with; does nothing when all are present.
# Arguments name further packages that a check needs (scripts/fuzz.sh asks for clang and its fuzzer runtime).
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  libfreeimage-dev libraw-dev libdevil-dev libjxr-dev libjxr-tools
  libcairo2-dev libpango1.0-dev fonts-liberation fonts-dejavu-core
  libgtest-dev
  libexiv2-dev zlib1g-dev  # the metadata step reads and writes EXIF, IPTC and XMP
  libimage-exiftool-perl  # the independent reader of written metadata, for the tests
  groff-base dpkg-dev  # the docs tests render the manual page and build the Debian package
  jq  # an independent JSON parser for the tests of the report file; scripts/merge-shard-reports.sh
  imagemagick libmagickcore-6.q16-6-extra  # bench/compare_outputs.sh --pixels decodes outputs (EXR too) with identify
  graphicsmagick libvips-tools netpbm libjxr-tools  # independent decoders of the written files, for the tests
  "$@"
)
if dpkg -s "${packages[@]}" >/dev/null 2>&1; then
  exit 0
fi
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}"
