// The browser's side of the web backend: the frame's wait, the canvas, Web Audio and the page.
// The page (index.html) owns the elements; it hands them over in Module.skyring.
mergeInto(LibraryManager.library, {
  $webWait: {wake: null, channel: null, next: null},

  // Sleeps until the deadline or until an event wakes the game, on browser timers. The game's
  // clock counts whole milliseconds and a frame ends in the millisecond its deadline begins: a
  // wait that ended a millisecond later would lengthen the frame by one. Timers take whole
  // milliseconds and come a few tenths of one late, so the wait sets two, a millisecond apart:
  // the sooner one ends it if it comes inside the deadline's millisecond, and is only early
  // when the later one comes inside it instead.
  WebSleep__deps: ['$webWait'],
  WebSleep: function(ms) {
    Asyncify.handleSleep(function(wakeUp) {
      var done = false, sooner = 0, later = 0;
      var deadline = Math.floor(performance.now()) + ms;  // where the game's tick reaches it
      var finish = function() {
        if (done) return;
        done = true;
        clearTimeout(sooner);
        clearTimeout(later);
        webWait.wake = webWait.next = null;
        wakeUp();
      };
      // Woken from inside an event handler that is itself running game code: resume after it.
      webWait.wake = function() { Promise.resolve().then(finish); };
      var wait = function() {
        if (done) return;
        var left = deadline - performance.now();
        if (left <= 0) return finish();
        var whole = Math.ceil(left);
        sooner = setTimeout(function() {
          if (performance.now() >= deadline) finish();
        }, whole - 1);
        later = setTimeout(wait, whole);
      };
      if (ms >= 5) return wait();
      // Browsers make a timer of less than 4 ms set inside timers nested five deep (as frames
      // are) wait 4 ms: a short wait sets its timers from a task of its own.
      if (!webWait.channel) {
        webWait.channel = new MessageChannel();
        webWait.channel.port1.onmessage = function() {
          var next = webWait.next;
          webWait.next = null;
          if (next) next();
        };
      }
      webWait.next = wait;
      webWait.channel.port2.postMessage(0);
    });
  },

  WebWake__deps: ['$webWait'],
  WebWake: function() {
    if (webWait.wake) webWait.wake();
  },

  // The page's pixels: the 640 x 480 RGBA page in the module's memory goes onto a page-sized
  // canvas, then onto the shown canvas at the whole factor with sharp pixels; the browser
  // stretches that smoothly to the 4:3 size in CSS pixels. All at the next animation frame,
  // which costs the frame nothing.
  $webScreen: {page: null, pageContext: null, shownContext: null, pending: 0, pixels: 0, paused: false},

  WebScreenSize: function(width, height) {
    var ratio = window.devicePixelRatio || 1;
    HEAP32[width >> 2] = Math.round(window.innerWidth * ratio);
    HEAP32[height >> 2] = Math.round(window.innerHeight * ratio);
  },

  WebScreenLayout__deps: ['$webScreen'],
  WebScreenLayout: function(factor, x, y, w, h) {
    var canvas = Module.skyring.canvas;
    var ratio = window.devicePixelRatio || 1;
    canvas.width = 640 * factor;
    canvas.height = 480 * factor;
    canvas.style.left = (x / ratio) + 'px';
    canvas.style.top = (y / ratio) + 'px';
    canvas.style.width = (w / ratio) + 'px';
    canvas.style.height = (h / ratio) + 'px';
    webScreen.shownContext = canvas.getContext('2d', {alpha: false});
    webScreen.shownContext.imageSmoothingEnabled = false;
  },

  // A new page of the game (fresh) or the last one again (paused, resized). The page's
  // skyring.pagesShown counts the game's pages; skyring.onPage, when set, sees each of them
  // as it comes, for tests and measurements.
  WebScreenShow__deps: ['$webScreen'],
  WebScreenShow: function(pixels, paused, fresh) {
    var s = webScreen;
    if (fresh) {
      var page = Module.skyring;
      page.pagesShown = (page.pagesShown || 0) + 1;
      if (page.onPage) page.onPage(page.pagesShown, HEAPU8.subarray(pixels, pixels + 640 * 480 * 4));
    }
    if (!s.page) {
      s.page = document.createElement('canvas');
      s.page.width = 640;
      s.page.height = 480;
      s.pageContext = s.page.getContext('2d', {alpha: false});
    }
    s.pixels = pixels;
    s.paused = paused;
    if (s.pending) return;
    s.pending = requestAnimationFrame(function() {
      s.pending = 0;
      if (!s.shownContext) return;
      var bytes = new Uint8ClampedArray(HEAPU8.buffer, s.pixels, 640 * 480 * 4);
      s.pageContext.putImageData(new ImageData(bytes, 640, 480), 0, 0);
      var c = s.shownContext, w = c.canvas.width, h = c.canvas.height;
      c.drawImage(s.page, 0, 0, w, h);
      if (s.paused) {
        // The pause mark: two upright bars in the middle, as on the desktop.
        var bw = Math.floor(w / 32), bh = Math.floor(h / 6);
        var bx = Math.floor(w / 2) - bw - Math.floor(bw / 2), by = Math.floor((h - bh) / 2);
        c.fillStyle = '#fff';
        c.fillRect(bx, by, bw, bh);
        c.fillRect(bx + 2 * bw, by, bw, bh);
      }
      if (Module.skyring.onPicture) Module.skyring.onPicture();
    });
  },

  // Web Audio: a script processor pulls the shared mixer at 44100 Hz on the page's thread.
  // The page makes the audio context at the player's first click or key, which browsers ask for.
  // skyring.audioPulls counts the pulls, skyring.audioLoudest keeps the loudest sample so far.
  $webAudio: {node: null},

  WebAudioOpen__deps: ['$webAudio'],
  WebAudioOpen: function() {
    var context = Module.skyring.audioContext;
    if (!context) return 0;
    if (webAudio.node) return 1;
    var node = context.createScriptProcessor(1024, 0, 2);
    node.onaudioprocess = function(event) {
      var out = event.outputBuffer, frames = out.length;
      var left = out.getChannelData(0), right = out.getChannelData(1);
      var at = _WebAudioMix(frames) >> 1;
      if (at === 0) {
        left.fill(0);
        right.fill(0);
        return;
      }
      var page = Module.skyring, loudest = page.audioLoudest || 0;
      page.audioPulls = (page.audioPulls || 0) + 1;
      for (var i = 0; i < frames; ++i) {
        var l = HEAP16[at + 2 * i], r = HEAP16[at + 2 * i + 1];
        left[i] = l / 32768;
        right[i] = r / 32768;
        loudest = Math.max(loudest, l < 0 ? -l : l, r < 0 ? -r : r);
      }
      page.audioLoudest = loudest;
    };
    node.connect(context.destination);
    webAudio.node = node;
    return 1;
  },

  WebAudioClose__deps: ['$webAudio'],
  WebAudioClose: function() {
    if (!webAudio.node) return;
    webAudio.node.disconnect();
    webAudio.node.onaudioprocess = null;
    webAudio.node = null;
  },

  WebDocumentHasFocus: function() {
    return document.hasFocus() ? 1 : 0;
  },

  WebToggleFullscreen: function() {
    if (Module.skyring.toggleFullscreen) Module.skyring.toggleFullscreen();
  },

  // The browser's storage for this site; a browser that refuses it keeps nothing.
  WebStoredMute: function() {
    try {
      return localStorage.getItem('skyring.mute') === 'on' ? 1 : 0;
    } catch (e) {
      return 0;
    }
  },

  WebStoreMute: function(muted) {
    try {
      localStorage.setItem('skyring.mute', muted ? 'on' : 'off');
    } catch (e) {
      // private browsing, or storage turned off
    }
  },

  WebGameEnded: function(status) {
    if (Module.skyring.onGameEnded) Module.skyring.onGameEnded(status);
  },
});
