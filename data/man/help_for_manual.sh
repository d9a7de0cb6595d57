#!/usr/bin/env bash
# The text help2man makes a manual page of, taken from the program itself so
# that the page and the program's --help never disagree:
#
#   help_for_manual.sh PROGRAM [COMMAND...] --help | --version
#
# --version passes PROGRAM --version through. --help prints PROGRAM --help,
# then, under a "Commands in detail" section, each COMMAND's own --help (by
# default every command named in the "Commands:" list of PROGRAM --help):
# its usage line as a subsection heading, the rest indented under it, its
# "Options:" heading dropped so that help2man keeps those options with the
# command rather than moving them into OPTIONS. An "Exit status:" heading of
# PROGRAM --help becomes a section of its own.
set -euo pipefail

program=$1
shift
commands=()
while [ $# -gt 1 ]; do
  commands+=("$1")
  shift
done
case ${1-} in
  --version) exec "$program" --version ;;
  --help) ;;
  *) echo "usage: $0 PROGRAM [COMMAND...] --help|--version" >&2; exit 2 ;;
esac

help=$("$program" --help)
if [ ${#commands[@]} -eq 0 ]; then
  # The first word of each entry of the "Commands:" list.
  mapfile -t commands < <(printf '%s\n' "$help" |
    sed -n '/^Commands:$/,/^$/{s/^  \([a-z][a-z0-9-]*\)\( .*\)\{0,1\}$/\1/p}')
fi

printf '%s\n' "$help" | sed 's/^Exit status:$/*Exit status*/'

first=yes
for command in "${commands[@]}"; do
  text=$("$program" "$command" --help) || { echo "$0: $program $command --help failed" >&2; exit 1; }
  if [ $first = yes ]; then
    printf '\n*Commands in detail*\n'
    first=no
  fi
  # "Usage: zvsa encode ARGS" becomes the heading "zvsa encode ARGS:", the
  # rest is indented by two so that it stays under it.
  printf '\n%s\n' "$text" | sed -e '/^Options:$/d' -e 's/^Usage: \(.*\)$/\1:/;t' -e '/^$/!s/^/  /'
done
