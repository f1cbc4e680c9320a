#!/usr/bin/env bash
# Installs every Debian package Brelix needs to build, run and test. Safe to run again:
# only missing packages are fetched. Needs root or sudo.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # the English translation: Qt6LinguistToolsConfig.cmake, lupdate and lrelease
  qt6-tools-dev qt6-l10n-tools
  libgtest-dev libgmock-dev libxcb1-dev zlib1g-dev
  # the spreadsheet host and its SDK (cppumaker, headers, link libraries)
  libreoffice-calc libreoffice-dev libreoffice-dev-common
  # the office's windows in Japanese, as Brelix's under a Japanese locale
  libreoffice-l10n-ja
  # fonts for Japanese text in windows and printed pages
  fonts-noto-cjk
  # tests: page counts of printed PDFs, a display for the visible office and the GUI
  poppler-utils xvfb xauth
  # scripts/screenshots.sh: a window manager for the frames, clicks and keys, the camera;
  # clicks and keys also in the test of the installed program
  openbox xdotool imagemagick
  # tests of the installed program and its package: the desktop entry, the manual page
  desktop-file-utils man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
