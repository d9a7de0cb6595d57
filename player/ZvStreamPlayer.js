// ZvStreamPlayer.js: plays .zvsa clips in today's browsers.
//
// Pages made by Z&V Tavelworks embed their clips with markup for a Java
// applet, which no current browser runs:
//
//   <APPLET WIDTH="96" HEIGHT="32" CODE="ZvStreamPlayer.class" ...>
//       <PARAM NAME="Clip" VALUE="clip.zvsa">
//       <PARAM NAME="Visible" VALUE="yes">
//       <PARAM NAME="Buttons" VALUE="3">
//       <PARAM NAME="Autoplay" VALUE="no">
//       <PARAM NAME="Count" VALUE="1">
//   body text
//   </APPLET>
//
// (or an OBJECT element with CLASSID="java:ZvStreamPlayer.class"). Pages
// load this file with one classic <script> element; it loads the player's
// modules (zvplayer_*.js, beside it, see README.md) and they put a player
// in place of every such element. Where the browser cannot load modules,
// the element's body text stays, as in a browser without Java.
(function () {
  'use strict';
  if (typeof document === 'undefined') return;
  const here = (document.currentScript && document.currentScript.src) || document.baseURI;
  import(new URL('zvplayer_page.js', here).href)
    .then((page) => page.start())
    .catch((error) => console.error('ZvStreamPlayer: the player cannot be loaded:', error && error.message));
})();
