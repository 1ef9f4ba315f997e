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

  // The sound: the game's mixer makes 44100 Hz stereo blocks here, each when the page's audio
  // worklet (skyring-audio.js) asks for it, and the worklet plays them on the browser's audio
  // thread, so the sound keeps going whatever the page's thread is doing. While the game is
  // paused or its tab hidden the audio context is suspended: nothing plays or asks, and the
  // queued sound holds its place. The page makes the audio context at the player's first
  // click or key, which browsers ask for. skyring.audioPulls counts the blocks mixed,
  // skyring.audioLoudest keeps the loudest sample so far, skyring.audioStarved counts the
  // frames played silent because a block came late.
  $webAudio: {context: null, node: null, opening: null, held: false, loaded: null},

  // `frames` frames from the game's mixer, or silence while it has none to give.
  $webAudioBlock: function(frames) {
    var block = new Int16Array(frames * 2), at = _WebAudioMix(frames) >> 1;
    if (at === 0) return block;
    block.set(HEAP16.subarray(at, at + frames * 2));
    var page = Module.skyring, loudest = page.audioLoudest || 0;
    page.audioPulls = (page.audioPulls || 0) + 1;
    for (var i = 0; i < block.length; ++i) loudest = Math.max(loudest, Math.abs(block[i]));
    page.audioLoudest = loudest;
    return block;
  },

  // Plays `node` (its blocks) through `context` for this opening, unless it was closed meanwhile.
  $webAudioStart__deps: ['$webAudio'],
  $webAudioStart: function(opening, node) {
    if (webAudio.opening !== opening) return;
    node.connect(webAudio.context.destination);
    webAudio.node = node;
  },

  WebAudioOpen__deps: ['$webAudio', '$webAudioBlock', '$webAudioStart'],
  WebAudioOpen: function() {
    var context = Module.skyring.audioContext;
    if (!context) return 0;
    if (webAudio.opening) return 1;
    var opening = webAudio.opening = {};
    if (webAudio.context !== context) {
      webAudio.context = context;
      webAudio.loaded = context.audioWorklet ? context.audioWorklet.addModule(locateFile('skyring-audio.js')) : null;
      // The page resumes the context at the player's keys and clicks; a held game stays held.
      context.addEventListener('statechange', function() {
        if (webAudio.held && context.state === 'running') context.suspend();
      });
    }
    if (!webAudio.held) context.resume();
    if (webAudio.loaded) {
      webAudio.loaded.then(function() {
        if (webAudio.opening !== opening) return;
        var node = new AudioWorkletNode(context, 'skyring-output', {numberOfInputs: 0, outputChannelCount: [2]});
        node.port.onmessage = function(event) {
          var page = Module.skyring;
          page.audioStarved = (page.audioStarved || 0) + event.data.starved;
          var block = webAudioBlock(event.data.frames);
          node.port.postMessage(block, [block.buffer]);
        };
        webAudioStart(opening, node);
      }, function(error) {
        console.error('Skyring: no sound (the audio worklet did not load: ' + error + ')');
      });
    } else {
      // No worklet (a page served over plain http from another machine, an old browser): the
      // mixer is pulled on the page's thread instead.
      var node = context.createScriptProcessor(1024, 0, 2);
      node.onaudioprocess = function(event) {
        var out = event.outputBuffer, block = webAudioBlock(out.length);
        var left = out.getChannelData(0), right = out.getChannelData(1);
        for (var i = 0; i < out.length; ++i) {
          left[i] = block[2 * i] / 32768;
          right[i] = block[2 * i + 1] / 32768;
        }
      };
      webAudioStart(opening, node);
    }
    return 1;
  },

  // The game's sound device is released: the context rests until the next game.
  WebAudioClose__deps: ['$webAudio'],
  WebAudioClose: function() {
    webAudio.opening = null;
    if (webAudio.node) {
      webAudio.node.disconnect();
      if (webAudio.node.port) webAudio.node.port.close();
      webAudio.node.onaudioprocess = null;
      webAudio.node = null;
    }
    if (webAudio.context) webAudio.context.suspend();
  },

  // Paused or hidden: no sound plays, and none is asked for, until the game goes on.
  WebAudioHold__deps: ['$webAudio'],
  WebAudioHold: function(hold) {
    webAudio.held = !!hold;
    if (!webAudio.opening) return;
    if (hold) {
      webAudio.context.suspend();
    } else {
      webAudio.context.resume();
    }
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
