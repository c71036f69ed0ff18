#!/bin/bash
# Regenerates builder/seeds/*.tsv from Debian packages. One-off, run by hand as root;
# not part of the build. Output is byte-identical across runs on the same package versions.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
seeds="$(dirname "$here")"

pkgs=(libphonenumber-dev libprotobuf-dev libicu-dev iso-codes ruby-faker python3 python3-yaml g++ pkg-config)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The versions SOURCES.md records; a difference is not an error, but the diff must be reviewed.
dpkg-query -W -f='${Package} ${Version}\n' libphonenumber8 libgeocoding8 libicu72 iso-codes ruby-faker 2>&1 |
  while read -r pkg ver; do
    grep -q "$pkg.*$ver" "$seeds/SOURCES.md" || echo "warning: $pkg $ver differs from SOURCES.md" >&2
  done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -Wall -Wextra -o "$work/phonedump" "$here/phonedump.cc" \
  $(pkg-config --cflags --libs icu-uc icu-i18n) -lgeocoding -lphonenumber -lprotobuf
LC_ALL=C.UTF-8 PYTHONHASHSEED=0 python3 "$here/extract.py" --phonedump "$work/phonedump" --out "$seeds"
