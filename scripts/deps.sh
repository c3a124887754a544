#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those still missing.
set -euo pipefail

# Packages beyond these may be named as arguments (scripts/tour.sh adds its X tools).
packages=("$@"
    build-essential cmake ninja-build pkg-config clang
    libsdl2-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev
    libfreetype-dev libfontconfig-dev fonts-dejavu-core
    libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
