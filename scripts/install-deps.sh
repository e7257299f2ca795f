#!/usr/bin/env bash
# Installs what building, testing and running Lumora needs on Debian 12:
# the native and MinGW-w64 toolchains, GoogleTest and Google Benchmark, Wine,
# Xvfb, the Chinese font, and the zh_CN.UTF-8 locale (Wine takes its ANSI
# code page 936 from it) and en_US.UTF-8 (code page 1252, for a second run of
# the registry tests), Python with the icalendar package (the export tests
# read the iCalendar output with it), and clang with libFuzzer (the fuzz
# targets). Does nothing, quickly, when everything is present.
set -euo pipefail

PACKAGES=(
  cmake g++ make pkg-config
  libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 xvfb
  locales fonts-wqy-microhei
  imagemagick x11-utils
  python3 python3-icalendar
  clang libclang-rt-dev
)

# Root runs apt-get directly; anyone else goes through sudo when there is one.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "install-deps: need root (or sudo) to run: $*" >&2
    exit 1
  fi
}

missing=()
for pkg in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$pkg")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# `locale -a` spells the name zh_CN.utf8.
has_locale() {  # has_locale zh_CN
  locale -a 2>/dev/null | grep -qix "$1\.utf-\?8"
}

for name in zh_CN en_US; do
  has_locale "$name" && continue
  echo "install-deps: generating the $name.UTF-8 locale" >&2
  if [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null 2>&1; then
    if grep -q "^[# ]*$name\.UTF-8 UTF-8" /etc/locale.gen; then
      as_root sed -i "s/^[# ]*\($name\.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    else
      echo "$name.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
  else
    as_root localedef -i "$name" -c -f UTF-8 "$name.UTF-8"
  fi
  if ! has_locale "$name"; then
    echo "install-deps: could not generate the $name.UTF-8 locale" >&2
    exit 1
  fi
done
