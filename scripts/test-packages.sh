#!/usr/bin/env bash
# Builds the Debian packages (dpkg-buildpackage -us -uc -b) from a copy of
# the sources outside the tree, checks them with lintian (any error or
# warning fails), unpacks them with dpkg-deb -x into a temporary root and
# runs from there: zvsa on the packaged sample with both codecs, webhost
# publish through the packaged component, and the wizard's C caller
# (tests/c_abi/wizard_abi_check.c), built against the -dev package's headers
# and pkg-config file, on the packaged wizard library and gallery.
#   scripts/test-packages.sh            build, lint, unpack, run
#   ZV_PACKAGE_DIR=DIR                  work folder (default: $TMPDIR/zvtavelworks-packages);
#                                       a fixed path, so the compiler cache hits on the next run
# The source tree is left as it was: nothing is written into it.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
work="${ZV_PACKAGE_DIR:-${TMPDIR:-/tmp}/zvtavelworks-packages}"
rm -rf "$work"
mkdir -p "$work/src"

# The sources as the tree has them (committed and new files, not what git
# ignores), copied rather than built in place: dpkg-buildpackage writes into
# its source folder and its parent.
(cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
   tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$work/src"

# debhelper gives the build a HOME of its own; the compiler cache stays the
# machine's.
if command -v ccache >/dev/null; then
  CCACHE_DIR="$(ccache -k cache_dir)"
  export CCACHE_DIR
fi
echo "== packages: dpkg-buildpackage in $work"
(cd "$work/src" &&
   DEB_BUILD_OPTIONS="parallel=$(nproc) nocheck" dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) || {
  tail -n 60 "$work/build.log"
  echo "test-packages: dpkg-buildpackage failed (log: $work/build.log)" >&2
  exit 1
}
changes=("$work"/zvtavelworks_*.changes)
debs=("$work"/zvtavelworks_*.deb "$work"/zvtavelworks-dev_*.deb)
ls -l "${debs[@]}"

echo "== packages: lintian"
suppress=()
# The manual pages come with the desktop files' install rules; until a
# package carries any, their absence is expected and not a failure.
if ! dpkg-deb -c "$work"/zvtavelworks_*.deb | grep -q '/usr/share/man/man1/'; then
  echo "test-packages: no manual pages in the package yet: no-manual-page not counted"
  suppress=(--suppress-tags no-manual-page)
fi
lintian --fail-on error,warning --display-info "${suppress[@]}" "${changes[@]}"

echo "== packages: run from the unpacked packages"
root="$work/root"
for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$root"; done
multiarch="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"
libdir="$root/usr/lib/$multiarch"
datadir="$root/usr/share/zvtavelworks"
# The programs find the packaged libraries by their run paths; the library
# path is set as well, for what a system install would find in /usr/lib.
export LD_LIBRARY_PATH="$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
out="$work/out"
mkdir -p "$out"

for codec in speech music; do
  "$root/usr/bin/zvsa" encode "$datadir/speech-sample.wav" -o "$out/$codec.zvsa" --codec "$codec" -q
  "$root/usr/bin/zvsa" info "$out/$codec.zvsa" >/dev/null
  "$root/usr/bin/zvsa" decode "$out/$codec.zvsa" -o "$out/$codec.wav" -q
  [ "$(stat -c %s "$out/$codec.wav")" -gt 8000 ] || { echo "test-packages: $codec decoded too little" >&2; exit 1; }
done
echo "zvsa: both codecs there and back"

"$root/usr/bin/webhost" publish "$source_dir/tests/data/web" "$out/published"
cmp "$out/published/index.htm" "$source_dir/tests/data/web-published/index.htm"
echo "webhost publish: the page as expected"

# The wizard's C caller, built against the -dev package only (headers and
# pkg-config), with its test hand, on the packaged library and gallery.
export PKG_CONFIG_PATH="$libdir/pkgconfig"
cc -std=c11 -Wall -Wextra -o "$out/wizard_abi_check" \
  "$source_dir/tests/c_abi/wizard_abi_check.c" $(pkg-config --cflags zvtavelworks) -ldl
c++ -std=c++20 -fPIC -shared -o "$out/zvtest_wizard_driver.so" \
  "$source_dir/tests/c_abi/wizard_test_driver.cpp" $(pkg-config --cflags --libs Qt6Widgets)
TMPDIR="$out" QT_QPA_PLATFORM=offscreen \
  "$out/wizard_abi_check" "$libdir/libZvEncoder.so.$(dpkg-deb -f "${debs[0]}" Version | cut -d. -f1)" \
  "$out/zvtest_wizard_driver.so" "$datadir/speech-sample.wav"
echo "== packages: all checks passed"
