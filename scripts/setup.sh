#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
#
# QUENDROLT_NATIVE_GMP=1 also builds GMP from Debian's source package for
# this very processor (no fat binary: configure tunes for the host) into
# build/native-gmp, and points the build at it. Without it the build uses
# Debian's libgmp-dev.
#
# QUENDROLT_NATIVE_FFTW=1 also builds FFTW from Debian's source package with
# its AVX2, AVX-512 and FMA codelets (Debian's has SSE2 and AVX only) into
# build/native-fftw, and points the build at it. FFTW picks its codelets at
# run time from the processor, so the library still runs anywhere. Without
# it the build uses Debian's libfftw3-dev.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
native_gmp="${QUENDROLT_NATIVE_GMP:-0}"
native_fftw="${QUENDROLT_NATIVE_FFTW:-0}"

packages=(
  cmake g++ make pkg-config
  clang libclang-rt-14-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev
  libgmp-dev libprimesieve-dev libfftw3-dev libssl-dev libpari-dev pari-gp
  libcli11-dev nlohmann-json3-dev libecm-dev libopenmpi-dev openmpi-bin
  libgtest-dev libgmock-dev
  fonts-dejavu-core fonts-dejavu-extra
  python3 python3-xlrd desktop-file-utils
)
if [ "$native_gmp" = 1 ]; then
  # apt-get source unpacks with dpkg-source; Debian's source drops the
  # manual, so its build files are regenerated (autotools); GMP's build runs m4.
  packages+=(dpkg-dev m4 autoconf automake libtool)
fi
if [ "$native_fftw" = 1 ]; then
  packages+=(dpkg-dev)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Source entries for Debian's archive, beside the binary ones, so that
# apt-get source finds gmp; added once, in a file of their own.
enable_debian_sources() {
  if grep -Eqs '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' \
       /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
    return
  fi
  local codename
  codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
  echo "Adding deb-src entries for Debian $codename"
  $SUDO tee /etc/apt/sources.list.d/quendrolt-deb-src.sources >/dev/null <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  $SUDO apt-get update
}

# The processor as GMP's own config.guess names it, for its tuned code. A
# processor newer than the GMP release comes out as plain x86_64 (code for
# 2003's K8); AMD's later families then get the newest Zen GMP knows, whose
# code (mulx, adx) they run.
gmp_host() {
  local guessed family vendor
  guessed="$("$1/config.guess")"
  if [[ "$guessed" == x86_64-* ]]; then
    vendor="$(awk -F': ' '/^vendor_id/ {print $2; exit}' /proc/cpuinfo)"
    family="$(awk -F': ' '/^cpu family/ {print $2; exit}' /proc/cpuinfo)"
    if [ "$vendor" = AuthenticAMD ] && [ "${family:-0}" -ge 25 ]; then
      guessed="zen3-${guessed#x86_64-}"
    fi
  fi
  echo "$guessed"
}

build_native_gmp() {
  local prefix="$root/build/native-gmp"
  if [ -f "$prefix/lib/pkgconfig/gmp.pc" ]; then
    echo "GMP for this processor already in $prefix"
  else
    enable_debian_sources
    local work="$root/build/native-gmp-source"
    rm -rf "$work" && mkdir -p "$work"
    (cd "$work" && apt-get source gmp)
    local source
    source="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'gmp-*' | head -n 1)"
    local host
    host="$(gmp_host "$source")"
    echo "Configuring GMP for $host"
    # autoreconf -fi brings libtool's files in line with the installed
    # libtool, but also swaps GMP's processor-detecting config.guess for the
    # generic one: GMP's are put back.
    (cd "$source" && mkdir -p gmp-guess && cp config.guess config.sub configfsf.guess configfsf.sub gmp-guess/ &&
      autoreconf -fi && cp gmp-guess/* . &&
      ./configure --prefix="$prefix" --enable-cxx --host="$host" --build="$host" &&
      make -j "$(nproc)" && make install)
  fi
  # Keeps the choice in the build's cache, where scripts/build.sh finds it.
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DQUENDROLT_GMP_PREFIX="$prefix"
}

# FFTW's release tarball carries its generated codelets and configure
# script, so no autotools are needed. Fortran wrappers are left out.
build_native_fftw() {
  local prefix="$root/build/native-fftw"
  if [ -f "$prefix/lib/pkgconfig/fftw3.pc" ]; then
    echo "FFTW for this processor already in $prefix"
  else
    enable_debian_sources
    local work="$root/build/native-fftw-source"
    rm -rf "$work" && mkdir -p "$work"
    (cd "$work" && apt-get source fftw3)
    local source
    source="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'fftw3-*' | head -n 1)"
    echo "Configuring FFTW with AVX2, AVX-512 and FMA codelets"
    (cd "$source" &&
      ./configure --prefix="$prefix" --enable-shared --disable-static --enable-threads --disable-fortran \
        --enable-sse2 --enable-avx --enable-avx2 --enable-avx512 --enable-fma &&
      make -j "$(nproc)" && make install)
  fi
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DQUENDROLT_FFTW_PREFIX="$prefix"
}

if [ "$native_gmp" = 1 ]; then
  build_native_gmp
fi
if [ "$native_fftw" = 1 ]; then
  build_native_fftw
fi
