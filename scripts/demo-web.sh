#!/usr/bin/env bash
# The demo's web, made the way an author makes one: two clips compressed
# with zvsa (the built-in speech sample with the speech codec, a short
# plucked melody made with sox with the music codec), a page that holds a
# player for each as the component's markup (zvsa markup --webbot, what the
# insertion program puts on a page), the web player's files in the class
# folder, and the web published with webhost publish. Prints the command
# that serves the published web for a browser and the address to open.
#
#   scripts/demo-web.sh BUILD OUT [PORT]
#
# BUILD is a build tree (build/) with zvsa, webhost and the web player;
# OUT/web is the web as the author keeps it, OUT/site the published web;
# PORT (default 8480) is the port of the printed preview command.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
out=$2
port=${3:-8480}
zvsa=$build/bin/zvsa
webhost=$build/bin/webhost
web=$out/web
site=$out/site
# The class folder of the markup's default codebase: where the player's
# files go, as the insertion program copies them into a web.
class_folder=$web/Java/ZvTavelwork

rm -rf "$web" "$site"
mkdir -p "$class_folder"

"$zvsa" encode -q --codec speech "$root/data/speech-sample.wav" -o "$web/welcome-speech.zvsa"
# Eight plucked notes up and down a C major chord, then the chord's root.
sox -q -n -r 8000 -c 1 -b 16 "$out/melody.wav" \
  synth 0.3 pluck C4 : synth 0.3 pluck E4 : synth 0.3 pluck G4 : synth 0.3 pluck C5 : \
  synth 0.3 pluck E5 : synth 0.3 pluck C5 : synth 0.3 pluck G4 : synth 0.3 pluck E4 : \
  synth 1.2 pluck C4 gain -n -3
"$zvsa" encode -q --codec music "$out/melody.wav" -o "$web/melody-music.zvsa"

# The player's files, by the list the build copies them by, from where the
# build puts them (the private data folder, or the library folder of older
# build trees).
player=$build/share/zvtavelworks
[ -f "$player/ZvStreamPlayer.js" ] || player=$build/lib
sed -n 's/^ *"\([A-Za-z0-9_.]*\)",$/\1/p' "$root/player/player_files.h" |
  while read -r name; do cp "$player/$name" "$class_folder/"; done
cp "$player/ZvStreamPlayer.js" "$class_folder/"

{
  cat <<'HTML'
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Z&amp;V Tavelworks demo</title>
</head>
<body>
<h1>Z&amp;V Tavelworks demo</h1>
<p>A greeting, compressed with the speech codec (8 kbit/s):</p>
HTML
  "$zvsa" markup welcome-speech.zvsa --webbot --buttons 3
  echo '<p>A melody, compressed with the music codec (about 16 kbit/s):</p>'
  "$zvsa" markup melody-music.zvsa --webbot --buttons 3
  cat <<'HTML'
</body>
</html>
HTML
} >"$web/index.html"

"$webhost" publish "$web" "$site"

echo "The published web is in $site. To hear it in a browser, run"
echo "  $webhost preview $site --port $port"
echo "and open http://127.0.0.1:$port/ (Ctrl-C stops the server)."
