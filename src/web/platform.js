// platform.js: the page's side of the game's browser drivers (src/web/platform.cpp): the canvas,
// the keys, the pointer, the focus, Web Audio and the Gamepad API, and what the page tells the
// player. The page (web/index.html) gives the canvas, the notes over it and window.moonstruck.
mergeInto(LibraryManager.library, {
  $WEB: {
    canvas: null,
    context: null,
    audio: null,
    node: null,
    codeBuffer: 0,
    ended: false,
    page: function () {
      return window.moonstruck || {};
    },
    // the game's key, or a key the page acts on itself: F11 and Alt+Enter for fullscreen
    key: function (event, down) {
      if (WEB.ended) return;
      if (down && (event.code === 'F11' || (event.altKey && event.code === 'Enter'))) {
        event.preventDefault();
        if (!event.repeat && WEB.page().toggleFullscreen) WEB.page().toggleFullscreen();
        return;
      }
      if (event.metaKey) return; // the system's and the browser's own shortcuts
      if (down) WEB.startSound();
      if (down && event.repeat) {
        if (WEB.gameKey(event.code)) event.preventDefault();
        return;
      }
      stringToUTF8(event.code, WEB.codeBuffer, 32);
      if (_web_key(WEB.codeBuffer, down ? 1 : 0)) event.preventDefault();
    },
    gameKey: function (code) {
      stringToUTF8(code, WEB.codeBuffer, 32);
      return _web_key_known(WEB.codeBuffer);
    },
    // the pointer in the picture's pixels, whatever the canvas's size on the page
    pointer: function (event) {
      if (WEB.ended) return;
      var box = WEB.canvas.getBoundingClientRect();
      if (box.width <= 0 || box.height <= 0) return;
      var x = Math.floor((event.clientX - box.left) * WEB.canvas.width / box.width);
      var y = Math.floor((event.clientY - box.top) * WEB.canvas.height / box.height);
      var b = event.buttons;
      // the library's order: left, right, middle; the browser's: left, right, middle as 1, 2, 4
      _web_mouse(x, y, (b & 1) | (b & 2) | (b & 4));
    },
    lostFocus: function () {
      if (!WEB.ended) _web_focus_lost();
    },
    startSound: function () {
      if (WEB.audio && WEB.audio.state === 'suspended') WEB.audio.resume();
    },
  },

  web_page_start__deps: ['$WEB', 'malloc'],
  web_page_start: function () {
    WEB.canvas = Module['canvas'];
    WEB.context = WEB.canvas.getContext('2d', { alpha: false });
    WEB.codeBuffer = _malloc(32);
    window.addEventListener('keydown', function (e) { WEB.key(e, true); }, true);
    window.addEventListener('keyup', function (e) { WEB.key(e, false); }, true);
    ['mousemove', 'mousedown', 'mouseup'].forEach(function (type) {
      window.addEventListener(type, WEB.pointer);
    });
    WEB.canvas.addEventListener('mousedown', function () { WEB.startSound(); });
    WEB.canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    window.addEventListener('blur', WEB.lostFocus);
    document.addEventListener('visibilitychange', function () {
      if (document.hidden) WEB.lostFocus();
    });
  },

  web_page_message__deps: ['$WEB'],
  web_page_message: function (text) {
    var message = UTF8ToString(text).trim();
    console.error(message);
    if (WEB.page().tell) WEB.page().tell(message);
  },

  web_page_ended__deps: ['$WEB'],
  web_page_ended: function () {
    WEB.ended = true;
    if (WEB.page().ended) WEB.page().ended();
  },

  web_page_present__deps: ['$WEB'],
  web_page_present: function (pixels, w, h) {
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, w * h * 4);
    WEB.context.putImageData(new ImageData(bytes, w, h), 0, 0);
  },

  // the mixer's output, asked for buffer by buffer as the audio graph plays; the context waits
  // for the player's first key or click, as browsers want
  web_audio_start__deps: ['$WEB'],
  web_audio_start: function (rate, frames) {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return -1;
    try {
      WEB.audio = new Context({ sampleRate: rate });
    } catch (e) {
      return -1;
    }
    var node = WEB.audio.createScriptProcessor(frames, 0, 2);
    var page = WEB.page();
    page.audibleSamples = 0;
    node.onaudioprocess = function (event) {
      var left = event.outputBuffer.getChannelData(0);
      var right = event.outputBuffer.getChannelData(1);
      var mixed = WEB.ended ? 0 : _web_mix();
      if (!mixed) {
        left.fill(0);
        right.fill(0);
        return;
      }
      var at = mixed >> 1, audible = 0;
      for (var i = 0; i < frames; i++) {
        var l = HEAP16[at + 2 * i], r = HEAP16[at + 2 * i + 1];
        left[i] = l / 32768;
        right[i] = r / 32768;
        if (l !== 0 || r !== 0) audible++;
      }
      page.audibleSamples += audible;
    };
    node.connect(WEB.audio.destination);
    WEB.node = node;
    var told = function () {
      if (WEB.audio && WEB.audio.state === 'running' && page.soundStarted) page.soundStarted();
    };
    WEB.audio.onstatechange = told;
    told();
    return 0;
  },

  web_audio_stop__deps: ['$WEB'],
  web_audio_stop: function () {
    if (WEB.node) WEB.node.disconnect();
    if (WEB.audio) WEB.audio.close();
    WEB.node = null;
    WEB.audio = null;
  },

  // the first gamepad in the browser's standard layout: its axes and whether each button is down
  web_pad_read: function (axes, buttons) {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var pad = null;
    for (var i = 0; i < pads.length && !pad; i++)
      if (pads[i] && pads[i].connected && pads[i].mapping === 'standard') pad = pads[i];
    if (!pad) return 0;
    for (var a = 0; a < 4; a++) HEAPF32[(axes >> 2) + a] = a < pad.axes.length ? pad.axes[a] : 0;
    for (var b = 0; b < 17; b++)
      HEAPU8[buttons + b] = b < pad.buttons.length && pad.buttons[b].pressed ? 1 : 0;
    return 1;
  },
});
