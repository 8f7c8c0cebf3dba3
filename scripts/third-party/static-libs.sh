# shellcheck shell=bash
# Sourced by build-windows-libs and build-linux-libs: builds the two libraries a
# release program links statically, SDL2 and libopenmpt, from Debian's own source
# packages (fetch-sources), and prints their install prefixes separated by ';'.
#
# The sourcing script sets, then calls static_libs:
#   platform         the cache folder's first part (win64, linux)
#   platform_name    for the messages (Windows, Linux)
#   cc, cxx          the compilers
#   sdl_options      SDL2's CMake options beyond the common ones (an array)
#   openmpt_options  libopenmpt's configure options beyond the common ones (an array)
# and may define sdl_check PREFIX, which fails when the installed SDL2 lacks a part.
#
# The prefixes live in ${XDG_CACHE_HOME:-~/.cache}/zwirbelalp/<platform>-<compiler>/,
# one per library and version, and are reused by every later build on this machine:
# the first build takes minutes (libopenmpt is most of it), later ones nothing.
# A prefix counts only once its build has finished (the .zw-complete stamp).
# ZW_JOBS sets the parallel jobs (default 2); the builds run under nice.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
jobs="${ZW_JOBS:-2}"

say() { echo "$(basename "$0"): $*" >&2; }

# Runs a build step with its output in a log; on failure shows the log's end.
logged() {
  local log=$1; shift
  if ! "$@" >>"$log" 2>&1; then
    say "failed, see $log"; tail -n 30 "$log" >&2; exit 1
  fi
}

build_sdl2() {  # source tree, prefix
  local work="$cache/build-sdl2" log="$cache/sdl2.log"
  rm -rf "$work" "$2"; : >"$log"
  # Only what the program uses: video with OpenGL, audio, events, timers, threads,
  # message boxes. No renderer, joysticks, haptics, sensors or Vulkan.
  logged "$log" nice cmake -S "$1" -B "$work" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$2" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_CCACHE=OFF \
    -DSDL_RENDER=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
    -DSDL_POWER=OFF -DSDL_VULKAN=OFF -DSDL_OPENGLES=OFF "${sdl_options[@]}"
  logged "$log" nice cmake --build "$work" -j "$jobs"
  logged "$log" cmake --install "$work"
  if declare -F sdl_check >/dev/null; then sdl_check "$2"; fi
  rm -rf "$work"
}

build_openmpt() {  # source tree, prefix
  local work="$cache/build-openmpt" log="$cache/openmpt.log"
  rm -rf "$work" "$2"; mkdir -p "$work"; : >"$log"
  # Only the library, no player or examples, none of the optional decoders.
  (cd "$work" && logged "$log" nice "$1/configure" "${openmpt_options[@]}" --prefix="$2" \
    CC="$cc" CXX="$cxx" CFLAGS=-O2 CXXFLAGS=-O2 PKG_CONFIG_LIBDIR=/nonexistent \
    --disable-shared --enable-static --disable-openmpt123 --disable-examples --disable-tests \
    --disable-doxygen-doc --without-zlib --without-mpg123 --without-ogg --without-vorbis \
    --without-vorbisfile --without-pulseaudio --without-portaudio --without-portaudiocpp \
    --without-sdl2 --without-sndfile --without-flac)
  (cd "$work" && logged "$log" nice make -j "$jobs" && logged "$log" make install)
  rm -rf "$work"
}

# Version of each library as the source package has it (libsdl2-2.26.5 -> 2.26.5).
version_of() { basename "$1" | sed 's/^[a-z0-9]*-//'; }

ensure() {  # package name, builder
  local tree prefix
  tree="$("$here/fetch-sources" "$1" | tail -n 1)"
  prefix="$cache/$1-$(version_of "$tree")"
  if [ ! -f "$prefix/.zw-complete" ]; then
    say "building $1 for $platform_name into $prefix (once per machine)"
    local start=$SECONDS
    "$2" "$tree" "$prefix"
    touch "$prefix/.zw-complete"
    say "$1 built in $((SECONDS - start)) s"
  fi
  echo "$prefix"
}

static_libs() {
  command -v "$cxx" >/dev/null || { say "$cxx not found (scripts/setup installs it)"; exit 1; }
  # The key names the compiler exactly: another compiler build means other libraries.
  local compiler_binary compiler_key sdl2 openmpt
  compiler_binary="$(readlink -f "$(command -v "$cxx")")"
  compiler_key="gcc$("$cxx" -dumpfullversion)-$(sha256sum "$compiler_binary" | cut -c1-8)"
  cache="${XDG_CACHE_HOME:-$HOME/.cache}/zwirbelalp/$platform-$compiler_key"
  mkdir -p "$cache"
  sdl2="$(ensure libsdl2 build_sdl2)"
  openmpt="$(ensure libopenmpt build_openmpt)"
  echo "$sdl2;$openmpt"
}
