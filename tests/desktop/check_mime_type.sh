#!/usr/bin/env bash
# The .zvsa clip's MIME type, installed into a private data folder, as the
# desktop's own file-type lookup (GIO) sees real clips and other files:
#
#   check_mime_type.sh MIME_XML CLIP... -- OTHER_FILE...
#
# Each CLIP must be audio/x-zvsa under its own name and, copied without its
# extension, by its first bytes alone. Each OTHER_FILE, copied without its
# extension, must not be; nor a text that starts like the banner but is not
# one.
set -uo pipefail

mime_xml=$1
shift
clips=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  clips+=("$1")
  shift
done
shift
others=("$@")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_DATA_DIRS=/usr/share GIO_USE_VFS=local
mkdir -p "$XDG_DATA_HOME/mime/packages" "$work/files"
cp "$mime_xml" "$XDG_DATA_HOME/mime/packages/"
update-mime-database "$XDG_DATA_HOME/mime" 2>/dev/null || { echo "FAIL: update-mime-database"; exit 1; }

type_of() {
  gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}

failures=0
expect() {  # expect FILE is|isnt
  local type
  type=$(type_of "$1")
  if [ "$2" = is ] && [ "$type" != audio/x-zvsa ]; then
    echo "FAIL: $1 is $type, not audio/x-zvsa"
    failures=$((failures + 1))
  elif [ "$2" = isnt ] && [ "$type" = audio/x-zvsa ]; then
    echo "FAIL: $1 is taken for audio/x-zvsa"
    failures=$((failures + 1))
  fi
}

n=0
for clip in "${clips[@]}"; do
  n=$((n + 1))
  expect "$clip" is
  cp "$clip" "$work/files/clip$n"
  expect "$work/files/clip$n" is
done
for other in "${others[@]}"; do
  n=$((n + 1))
  cp "$other" "$work/files/other$n"
  expect "$work/files/other$n" isnt
done
printf 'Z&V Tavelworks Versions of the clips, a list\n' >"$work/files/notes"
expect "$work/files/notes" isnt

if [ $failures -ne 0 ]; then
  exit 1
fi
echo "clips are audio/x-zvsa by name and by content; other files are not"
