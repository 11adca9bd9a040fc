// Loaded into every page of the embedded browser when the Flash runtime lies
// beside the program: it makes the runtime play the page's embedded movies.
// The runtime is served by the program's own URL scheme, and local pages by
// another. This browser engine refuses fetch() for both, which the runtime
// uses for its WebAssembly module and for the movie, so those two are read
// with XMLHttpRequest instead; every other address keeps the browser's fetch.
(function () {
  'use strict';
  if (window.telvFlashReady)
    return;
  var runtimeUrl = 'telv-res:/';
  var localPageUrl = 'telv-page:';
  var nativeFetch = window.fetch ? window.fetch.bind(window) : null;

  function readWithRequest(url) {
    return new Promise(function (resolve, reject) {
      var request = new XMLHttpRequest();
      request.open('GET', url);
      request.responseType = 'arraybuffer';
      request.onload = function () {
        var type = /\.wasm$/i.test(url) ? 'application/wasm' : 'application/octet-stream';
        var response = new Response(request.response, { status: 200, headers: { 'Content-Type': type } });
        // The runtime takes the movie's address from the response.
        Object.defineProperty(response, 'url', { value: url });
        resolve(response);
      };
      request.onerror = function () { reject(new TypeError('Cannot read ' + url)); };
      request.send();
    });
  }

  window.fetch = function (input, init) {
    var address = typeof input === 'string' ? input : (input && input.url) || String(input);
    var url = new URL(address, document.baseURI).href;
    if (url.indexOf(runtimeUrl) === 0 || url.indexOf(localPageUrl) === 0)
      return readWithRequest(url);
    return nativeFetch(input, init);
  };

  // Movies start at once, without a play button, menu or overlay: the page
  // is drawn for thumbnails and previews, not operated.
  window.RufflePlayer = window.RufflePlayer || {};
  window.RufflePlayer.config = {
    autoplay: 'on',
    unmuteOverlay: 'hidden',
    splashScreen: false,
    contextMenu: 'off',
    letterbox: 'off',
    warnOnUnsupportedContent: false,
    showSwfDownload: false,
    logLevel: 'error'
  };

  var runtimeSettled = false;
  var script = document.createElement('script');
  script.src = runtimeUrl + 'ruffle.js';
  script.onload = script.onerror = function () { runtimeSettled = true; };
  (document.head || document.documentElement).appendChild(script);

  var unplayed = 'embed[type="application/x-shockwave-flash"], embed[src$=".swf" i], '
      + 'object[type="application/x-shockwave-flash"]';
  function moviesLoaded() {
    if (document.querySelector(unplayed))
      return false;
    var players = document.querySelectorAll('ruffle-embed, ruffle-object, ruffle-player');
    for (var i = 0; i < players.length; ++i) {
      if (players[i].readyState !== 2)
        return false;
    }
    return true;
  }

  // True once the runtime has loaded and every movie of the page is loaded
  // and has been drawn (the runtime draws on animation frames, so two frames
  // after loading it has); the thumbnail waits for this before its delay.
  var drawn = false;
  var awaitingFrames = false;
  window.telvFlashReady = function () {
    if (!runtimeSettled)
      return false;
    if (typeof window.RufflePlayer.newest !== 'function')
      return true; // the runtime did not start: nothing more will change
    if (!drawn && !awaitingFrames && moviesLoaded()) {
      awaitingFrames = true;
      requestAnimationFrame(function () {
        requestAnimationFrame(function () { drawn = true; });
      });
    }
    return drawn;
  };
})();
