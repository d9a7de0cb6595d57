#!/usr/bin/env bash
# Drives the bash completion of zvsa (and of webhost, when given) the way
# bash does on Tab, in a folder of small fixture files:
#
#   check_bash_completion.sh BIN_DIR COMPLETION_FILE...
#
# Each case is a command line (the cursor at its end) and the words the
# completion must offer; a word with a leading ! must not be offered. The
# programs are run from BIN_DIR, since the completion reads their --help.
set -uo pipefail

bin_dir=$(cd "$1" && pwd) || exit 1
shift
completion_files=("$@")

# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion || { echo "FAIL: no bash-completion"; exit 1; }
for file in "${completion_files[@]}"; do
  # shellcheck disable=SC1090
  source "$file" || { echo "FAIL: $file does not load"; exit 1; }
done
export PATH=$bin_dir:$PATH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir -p clips web/pages out
touch talk.wav LOUD.WAV song.flac voice.ogg old.au clip.zvsa notes.txt index.htm \
  web/home.htm web/pages/more.html web/picture.gif

# The completion of `line`, one word a line, sorted.
complete_line() {
  local line=$1
  COMP_LINE=$line
  COMP_POINT=${#line}
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  local function
  function=$(complete -p "${COMP_WORDS[0]}" | sed 's/.*-F \([^ ]*\) .*/\1/')
  "$function" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
  printf '%s\n' "${COMPREPLY[@]}" | sort
}

failures=0
check() {
  local line=$1
  shift
  local offered word
  offered=$(complete_line "$line")
  for word in "$@"; do
    if [[ $word == !* ]]; then
      if grep -qxF -- "${word#!}" <<<"$offered"; then
        echo "FAIL: '$line' offers ${word#!}; it offers: $(echo $offered)"
        failures=$((failures + 1))
      fi
    elif ! grep -qxF -- "$word" <<<"$offered"; then
      echo "FAIL: '$line' does not offer $word; it offers: $(echo $offered)"
      failures=$((failures + 1))
    fi
  done
}

# zvsa: commands and options from its --help, files by what each command reads.
check "zvsa "                    encode decode info markup '!talk.wav' '!--help'
check "zvsa en"                  encode '!decode'
check "zvsa -"                   --help --version '!--codec'
check "zvsa encode "             talk.wav LOUD.WAV song.flac voice.ogg old.au clips '!clip.zvsa' '!notes.txt'
check "zvsa encode --co"         --codec '!--count'
check "zvsa encode --codec "     music speech '!talk.wav'
check "zvsa encode --codec=sp"   speech '!music'
check "zvsa encode -o "          clip.zvsa clips '!talk.wav'
check "zvsa encode --outdir "    clips out web '!talk.wav' '!clip.zvsa'
check "zvsa encode -j "          '!talk.wav' '!clips'
check "zvsa encode talk.wav --"  --output --outdir --codec --jobs --quiet --help '!--webbot'
check "zvsa decode "             clip.zvsa clips '!talk.wav'
check "zvsa decode -o "          talk.wav LOUD.WAV '!clip.zvsa' '!song.flac'
check "zvsa decode --"           --outdir --jobs '!--webbot'
check "zvsa info "               clip.zvsa '!talk.wav' '!notes.txt'
check "zvsa play "               clip.zvsa '!talk.wav'
check "zvsa markup "             clip.zvsa '!talk.wav'
check "zvsa markup --"           --webbot --element --player --buttons '!--codec' '!--jobs'
check "zvsa markup --tag "       APPLET OBJECT
check "zvsa markup --align m"    middle '!top'
check "zvsa markup --buttons "   1 2 3

if type -t _webhost >/dev/null; then
  # webhost: folders for webs, pages for pages, serve's pages inside its web.
  check "webhost "                           publish expand edit serve preview '!index.htm'
  check "webhost -"                          --help --version
  check "webhost publish "                   clips web out '!index.htm'
  check "webhost publish web "               out '!talk.wav'
  check "webhost expand "                    index.htm web '!talk.wav' '!notes.txt'
  check "webhost edit "                      index.htm '!clip.zvsa'
  check "webhost serve --"                   --web --page --url --at --marker --verbose --help '!--port'
  check "webhost serve --web "               web clips '!index.htm'
  check "webhost serve --web web --page "    home.htm pages '!index.htm' '!picture.gif'
  check "webhost serve --web web --page pa"  pages '!home.htm'
  check "webhost preview "                   web clips '!index.htm'
  check "webhost preview web --"             --port --verbose '!--web'
fi

if [ $failures -ne 0 ]; then
  echo "$failures completion cases failed"
  exit 1
fi
echo "every completion case offers what it should"
