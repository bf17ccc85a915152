#!/usr/bin/env bash
# Installs what the build and the tests need and cross-builds the static
# libraries that Debian has no mingw package for. Idempotent: a second run
# installs nothing and reuses the dependency cache.
#
#   UNINST_DEPS_CACHE   where the cross-built libraries live
#                       (default /var/cache/uninst-deps, outside the tree)
set -euo pipefail

CACHE=${UNINST_DEPS_CACHE:-/var/cache/uninst-deps}
JOBS=$(nproc)
export DEBIAN_FRONTEND=noninteractive

PACKAGES=(
  g++-mingw-w64-i686-posix mingw-w64-i686-dev libz-mingw-w64-dev libstb-dev
  wine wine32:i386 wine64 xvfb xauth x11-apps imagemagick
  cmake ninja-build make perl python3 dpkg-dev ca-certificates
  fonts-dejavu-core fonts-wqy-microhei locales
)

log() { printf '[setup] %s\n' "$*" >&2; }

need_update=0

enable_i386() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
  fi
}

# A deb-src twin of every deb entry the machine already has, so that
# `apt-get source` reads from the same mirror and suites.
enable_deb_src() {
  local src=/etc/apt/sources.list.d/debian.sources
  local dst=/etc/apt/sources.list.d/uninst-deb-src.sources
  [ -f "$dst" ] && return
  if [ -f "$src" ]; then
    sed -e 's/^Types:.*/Types: deb-src/' "$src" >"$dst"
  elif [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' \
      >/etc/apt/sources.list.d/uninst-deb-src.list
    touch "$dst"
  fi
  need_update=1
}

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ] && [ $need_update -eq 0 ]; then
    return
  fi
  apt-get update -qq
  [ ${#missing[@]} -eq 0 ] && return
  log "installing ${missing[*]}"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

ensure_locale() {
  locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$' && return
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 || true
}

# The source versions apt knows, newest first.
src_versions() {
  apt-cache showsrc "$1" | awk '/^Version:/{print $2}' | sort -rV | uniq
}

# Fetches the newest source of package $1 that the mirrors actually serve
# (with Debian's patches applied) into $2 and prints "version dir".
fetch_source() {
  local pkg=$1 dir=$2 v
  for v in $(src_versions "$pkg"); do
    rm -rf "${dir:?}"/*
    if (cd "$dir" && apt-get source -qq "$pkg=$v" >/dev/null 2>&1); then
      echo "$v $(find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
      return
    fi
    log "source $pkg $v not served, trying an older one"
  done
  log "no source for $pkg"
  exit 1
}

TOOLCHAIN_ARGS=(
  -DCMAKE_SYSTEM_NAME=Windows
  -DCMAKE_C_COMPILER=i686-w64-mingw32-gcc-posix
  -DCMAKE_CXX_COMPILER=i686-w64-mingw32-g++-posix
  -DCMAKE_RC_COMPILER=i686-w64-mingw32-windres
  -DCMAKE_FIND_ROOT_PATH=/usr/i686-w64-mingw32
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
)

build_openssl() {
  local src=$1 prefix=$2
  # no-asm: the generated x86 assembly uses ELF-only relocations that the
  # mingw assembler rejects; speed of TLS does not matter here.
  (cd "$src" &&
    ./Configure mingw --cross-compile-prefix=i686-w64-mingw32- no-shared no-tests \
      no-asm --prefix="$prefix" --libdir=lib &&
    make -j"$JOBS" build_libs &&
    make install_dev)
}

build_curl() {
  local src=$1 prefix=$2
  cmake -S "$src" -B "$src/_build" -G Ninja "${TOOLCHAIN_ARGS[@]}" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCURL_USE_OPENSSL=ON \
    -DOPENSSL_ROOT_DIR="$CACHE/openssl" -DOPENSSL_USE_STATIC_LIBS=ON \
    -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include \
    -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DHTTP_ONLY=ON -DCURL_USE_LIBSSH2=OFF \
    -DCURL_USE_LIBPSL=OFF -DUSE_LIBIDN2=OFF -DCURL_DISABLE_LDAP=ON -DENABLE_MANUAL=OFF \
    -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none >/dev/null
  cmake --build "$src/_build" -j"$JOBS" >/dev/null
  cmake --install "$src/_build" >/dev/null
}

build_jsoncpp() {
  local src=$1 prefix=$2
  cmake -S "$src" -B "$src/_build" -G Ninja "${TOOLCHAIN_ARGS[@]}" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DJSONCPP_WITH_TESTS=OFF \
    -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF \
    -DJSONCPP_WITH_CMAKE_PACKAGE=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF >/dev/null
  cmake --build "$src/_build" -j"$JOBS" >/dev/null
  cmake --install "$src/_build" >/dev/null
}

build_googletest() {
  local src=$1 prefix=$2
  cmake -S "$src" -B "$src/_build" -G Ninja "${TOOLCHAIN_ARGS[@]}" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF \
    -DCMAKE_EXE_LINKER_FLAGS=-static >/dev/null
  cmake --build "$src/_build" -j"$JOBS" >/dev/null
  cmake --install "$src/_build" >/dev/null
}

# Builds Debian source package $1 with build_$2 into $CACHE/$2. The cache is
# keyed by the versions apt offers: while they are unchanged, the build that
# is there is kept.
cross_build() {
  local pkg=$1 name=$2
  local key stamp work fetched
  key=$(src_versions "$pkg" | tr '\n' ' ')
  [ -n "$key" ] || { log "no source package $pkg"; exit 1; }
  stamp="$CACHE/$name/.key"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$key" ]; then
    return
  fi
  rm -rf "${CACHE:?}/$name"
  work=$(mktemp -d "${TMPDIR:-/tmp}/uninst-$name.XXXXXX")
  chmod 755 "$work"
  fetched=$(fetch_source "$pkg" "$work")
  log "cross-building $pkg ${fetched%% *}"
  if ! "build_$name" "${fetched#* }" "$CACHE/$name" >"$work/build.log" 2>&1; then
    tail -n 40 "$work/build.log" >&2
    log "building $pkg failed; the log is $work/build.log"
    exit 1
  fi
  echo "${fetched%% *}" >"$CACHE/$name/.version"
  echo "$key" >"$stamp"
  rm -rf "$work"
}

main() {
  [ "$(id -u)" -eq 0 ] || { log "run as root"; exit 1; }
  enable_i386
  enable_deb_src
  install_packages
  ensure_locale
  mkdir -p "$CACHE"
  cross_build openssl openssl
  cross_build curl curl
  cross_build libjsoncpp jsoncpp
  cross_build googletest googletest
  log "ready; dependencies in $CACHE"
}

main "$@"
