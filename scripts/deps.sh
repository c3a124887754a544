#!/usr/bin/env bash
# Installs the Debian packages still missing: by default those that building and playing the
# game need; with --test also those of the tests, the benchmarks, the fuzzers and the package.
# With --windows, those of the Windows build: the cross compilers, the source unpacker, the
# test and benchmark libraries' sources, Wine and a virtual X screen to run it on with the
# tools that drive it and look at it, the installer's and the zip's makers.
# Usage: scripts/deps.sh [--test | --windows] [PACKAGE ...] (scripts/tour.sh adds its X tools).
set -euo pipefail

play=(build-essential cmake ninja-build pkg-config
      libsdl2-dev libxi-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev
      libfreetype-dev libfontconfig-dev fonts-dejavu-core)
# The tests drive the real window on a virtual X screen (Xvfb, with XTest for the keys, and the
# core fonts that SDL's message box on X draws with) and build and install the .deb
# (dpkg-shlibdeps finds its dependencies).
test=(clang libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
      xvfb xauth libxtst-dev xfonts-base dpkg-dev)

windows=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
         dpkg-dev googletest libbenchmark-dev wine64 xvfb xauth xdotool x11-apps imagemagick
         nsis zip unzip)

packages=("${play[@]}")
case "${1:-}" in
--test) shift; packages+=("${test[@]}") ;;
--windows) shift; packages+=("${windows[@]}") ;;
esac
packages+=("$@")

# One query for all, as this runs before every start of scripts/play.sh.
declare -A installed=()
while read -r package want ok status; do
    [[ "$want $ok $status" == "install ok installed" ]] && installed[$package]=1
done < <(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for package in "${packages[@]}"; do
    [[ -n "${installed[$package]:-}" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
