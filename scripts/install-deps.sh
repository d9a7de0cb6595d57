#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test, fuzz and
# benchmark, in one apt-get call. Safe to run again: packages already present
# are left as they are.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  clang libclang-rt-14-dev            # libFuzzer and the sanitizer runtimes
  libgtest-dev libgmock-dev libbenchmark-dev
  libsoxr-dev                         # sample-rate conversion in the engine
  libsndfile1-dev                     # FLAC, Ogg, MP3, AIFF and other sound files in the engine
  qemu-user                           # the codecs' vectors on an emulated processor without AVX, and the arm64 tests
  crossbuild-essential-arm64          # the arm64 cross build (scripts/test-arm64.sh)
  libsoxr-dev:arm64 libsndfile1-dev:arm64 libgtest-dev:arm64 libgmock-dev:arm64   # its target libraries (multiarch)
  python3                             # HTML well-formedness checks in the host tests
  speex opus-tools codec2             # reference codecs for the speed and quality comparisons
  sox espeak-ng                       # remaking the built-in speech sample
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins   # the wizard (Widgets, sound devices, offscreen tests)
  pulseaudio pulseaudio-utils         # a private sound server for the real sound-path tests (parec records)
  libpulse-dev                        # zvsa play: PulseAudio's simple API (the arm64 build goes without)
  dbus                                # dbus-run-session: private session buses for the automation tests
  xvfb at-spi2-core python3-pyatspi   # programs operated through the accessibility interface on a private display
  emscripten nodejs chromium libcpp-httplib-dev   # web player: decoders in WebAssembly, node and browser tests, webhost preview
  debhelper dpkg-dev fakeroot lintian   # the Debian packages (scripts/test-packages.sh)
  firefox-esr webkit2gtk-driver       # the web player's tests in Firefox and WebKitGTK (MiniBrowser)
  help2man man-db                     # manual pages made from the programs' --help, and checked with man -l
  bash-completion                     # the completion scripts, installed and tested against it
  librsvg2-bin                        # rsvg-convert: the PNG icons rendered from the SVG
  desktop-file-utils appstream        # validators of the desktop entry and the metainfo
  shared-mime-info libglib2.0-bin     # the .zvsa MIME type: update-mime-database, and gio to look it up
)
# npm fetches the browser tests' drivers; node builds from elsewhere bring their own npm.
command -v npm >/dev/null || packages+=(npm)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
# The :arm64 packages come from the arm64 side of the same archive.
if ! dpkg --print-foreign-architectures | grep -qx arm64; then
  "${sudo_cmd[@]}" dpkg --add-architecture arm64
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
else
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser tests' drivers from npm, pinned by their lock file, into
# tests/player/node_modules (the build never fetches anything). Skipped when
# the locked versions are there already.
"$(dirname "$0")/../tests/player/install_npm_packages.sh"
