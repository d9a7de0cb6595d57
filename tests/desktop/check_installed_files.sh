#!/usr/bin/env bash
# Installs the install component "desktop" of the build tree into a new
# prefix and looks at it the way the desktop and the shell do:
#
#   check_installed_files.sh BUILD_DIR WITH_QT(1|0) BASH_COMPLETION_DIR
#
# man finds each page through MANPATH, bash-completion loads the completion
# on demand from XDG_DATA_DIRS, update-mime-database takes the MIME package,
# and the wizard's metainfo and icons lie where software centres and icon
# themes look.
set -uo pipefail

build_dir=$1
with_qt=$2
completion_dir=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build_dir" --prefix "$prefix" --component desktop >/dev/null ||
  { echo "FAIL: cmake --install --component desktop"; exit 1; }

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

programs=(zvsa)
completed=(zvsa)
if [ "$with_qt" = 1 ]; then
  programs+=(zvwizard webhost)
  completed+=(webhost)
  [ -f "$prefix/share/metainfo/org.zvtavelworks.zvwizard.metainfo.xml" ] || fail "no metainfo"
  for size in 16 24 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/zvwizard.png" ] || fail "no ${size}x${size} icon"
  done
fi

for program in "${programs[@]}"; do
  page=$(MANPATH=$prefix/share/man man -w "$program" 2>/dev/null)
  [ "$page" = "$prefix/share/man/man1/$program.1" ] || fail "man -w $program gives '$page'"
done

[ -f "$prefix/$completion_dir/zvsa" ] || fail "no completion in $completion_dir"
for program in "${completed[@]}"; do
  loaded=$(XDG_DATA_DIRS=$prefix/share bash -c '
    source /usr/share/bash-completion/bash_completion
    __load_completion "$1" && complete -p "$1"' _ "$program" 2>/dev/null)
  [[ $loaded == *"-F _$program $program" ]] || fail "bash-completion does not load $program's completion: '$loaded'"
done

update-mime-database "$prefix/share/mime" 2>/dev/null || fail "update-mime-database"
grep -qx 'audio/x-zvsa' "$prefix/share/mime/types" 2>/dev/null || fail "audio/x-zvsa not in the installed MIME database"

[ $failures -eq 0 ] || exit 1
echo "the installed pages, completions, MIME type, metainfo and icons are found where they are looked for"
