#!/usr/bin/env bash
# Installs the Debian packages that one use of Naadwerk needs:
#
#   scripts/install-deps.sh [build|fuzz|bench|test|package]      (default: build)
#
#   build  building the program and starting the window (scripts/run.sh,
#          scripts/demo.sh): compiler, CMake, Ninja, Qt 6 with Qt Multimedia
#          and the GStreamer plugins its player plays WAV, MP3, M4A, FLAC and
#          Opus through, libsoxr, libuchardet (the encoding of texts),
#          simdjson (the JSON word files), FFmpeg's libraries (libavformat, libavcodec, libavutil), a font,
#          rsvg-convert for the icon's PNG sizes;
#   fuzz   build + clang and its sanitizer runtime (scripts/fuzz.sh);
#   bench  build + /usr/bin/time for peak memory (bench/run.sh), sox for the
#          recordings of bench/run-parts-bench.sh, ffmpeg for the MP3 halves
#          of bench/run-decode-bench.sh and the side it is timed against;
#   test   everything scripts/test.sh needs: fuzz + the tools the tests call
#          (sox, ffmpeg, espeak-ng, python3-srt, praat and libxml2-utils's
#          xmllint, which read back the TextGrid and EAF files), Chromium, Node.js and npm for the browser
#          test, Xvfb, a PulseAudio server whose null sink gives the
#          player's test a real audio path, the accessibility bus
#          (at-spi2-core, dbus) and python3-dbus through which the window's
#          test reads what a screen reader reads, and what the test of an
#          installed tree checks it with (desktop-file-validate, appstreamcli,
#          man, groff);
#   package build + the same checks and lintian, for the Debian package
#          (scripts/package.sh; dpkg-shlibdeps comes with build-essential).
#
# Safe to run again: packages already present are left alone, and apt-get is
# only called when one is missing. Runs apt-get as root, or through sudo.
set -euo pipefail

profile=${1:-build}

build=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  libsoxr-dev libuchardet-dev libavformat-dev libavcodec-dev libavutil-dev
  libsimdjson-dev
  fonts-dejavu-core
  librsvg2-bin
)
fuzz=(clang libclang-rt-14-dev)
bench=(time sox ffmpeg)
testing=(
  sox libsox-fmt-all ffmpeg espeak-ng python3-srt praat libxml2-utils
  chromium nodejs
  xvfb xauth
  pulseaudio pulseaudio-utils
  dbus at-spi2-core python3-dbus
)
checks=(desktop-file-utils appstream man-db groff-base)
package=(lintian)

case $profile in
  build) packages=("${build[@]}") ;;
  fuzz)  packages=("${build[@]}" "${fuzz[@]}") ;;
  bench) packages=("${build[@]}" "${bench[@]}") ;;
  test)  packages=("${build[@]}" "${fuzz[@]}" "${testing[@]}" "${checks[@]}") ;;
  package) packages=("${build[@]}" "${checks[@]}" "${package[@]}") ;;
  *) echo "usage: $0 [build|fuzz|bench|test|package]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# Debian's nodejs comes without npm, which is a package of its own; other
# builds of Node.js (NodeSource's, say) bring npm along and conflict with
# Debian's npm package, so it is only asked for when the command is missing.
if [ "$profile" = test ] && ! command -v npm >/dev/null 2>&1; then
  missing+=(npm)
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=()
if [ "$(id -u)" -ne 0 ]; then SUDO=(sudo); fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
