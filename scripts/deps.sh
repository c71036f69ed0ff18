#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the viewer need. As root it runs
# apt-get; otherwise it prints the exact command and stops.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config clang-format
  qt6-base-dev qt6-svg-dev qt6-translations-l10n qt6-webengine-dev
  libgif-dev zlib1g-dev libcurl4-openssl-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev
  libclang-rt-14-dev fp-compiler fp-units-db php-cli
  xvfb xauth fonts-dejavu-core fonts-liberation2 poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

line="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages. Install them as root, then run this again:" >&2
  echo "  sudo apt-get update && sudo $line" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
$line -qq </dev/null
