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

  // The page's pixels, drawn at the browser's next animation frame, which costs the frame
  // nothing. On a GPU, WebGL2: the page's 640 x 480 palette indices and its 256 colours go up
  // as two small textures, and the fragment shader looks the colours up and enlarges the page
  // as the desktop does (crisp blocks of the whole factor, a soft one-pixel edge between them,
  // the desktop's integer arithmetic), straight at the canvas's size in device pixels.
  // Elsewhere (no WebGL2; one the CPU emulates, which costs more than the 2D canvas; a lost
  // context until it comes back) a 2D canvas takes the page as RGBA bytes, enlarges it at the
  // whole factor with sharp pixels, and the browser stretches that smoothly to the 4:3 size.
  // '?presenter=webgl2' or '?presenter=2d' in the address takes one whatever the browser is.
  // The page's skyring.presenter says which draws ('webgl2' or '2d'), skyring.shownCanvas on
  // which canvas; skyring.pagesShown counts the game's pages, skyring.onPage (when set) sees
  // each as it comes (its number, RGBA bytes, palette indices and the palette as shown), and
  // skyring.onPicture(number) each picture drawn, the last page's number.
  // The last page shown is kept (its palette indices and colours) for the page's own button that
  // saves a picture, which works on the card after the game too.
  $webScreen: {layout: null, gl: null, glCanvas: null, factorAt: null, sizeAt: null, flatCanvas: null,
               flat: null, page: null, pageContext: null, pending: 0, paused: false, pixels: 0, number: 0,
               lastIndices: null, lastPalette: null},

  $webScreenShader: {
    vertex: '#version 300 es\n' +
      // One triangle that covers the canvas.
      'void main() {\n' +
      '  gl_Position = vec4(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0, 0.0, 1.0);\n' +
      '}\n',
    fragment: '#version 300 es\n' +
      'precision highp float;\n' +
      'precision highp int;\n' +
      'uniform highp usampler2D page;     // 640 x 480 palette indices\n' +
      'uniform highp usampler2D palette;  // 256 x 1 colours as shown\n' +
      'uniform int factor;                // the whole factor\n' +
      'uniform ivec2 size;                // the canvas in device pixels\n' +
      'out vec4 colour;\n' +
      // An output pixel's page pixel and how much of the next one it takes, out of 256: its
      // centre in the page enlarged by the whole factor, whose two neighbours there come from
      // one page pixel except at a block's edge (the desktop's SharpScaler::Taps).
      'ivec2 Tap(int at, int pageSize, int outSize) {\n' +
      '  int enlarged = pageSize * factor, twiceOut = 2 * outSize;\n' +
      '  int numerator = (2 * at + 1) * enlarged - outSize;\n' +
      '  if (numerator <= 0) return ivec2(0, 0);\n' +
      '  int left = numerator / twiceOut, rest = numerator - left * twiceOut;\n' +
      '  int source = left / factor;\n' +
      '  if (left + 1 >= enlarged || (left + 1) / factor == source) return ivec2(source, 0);\n' +
      '  int weight = (rest * 256 + outSize) / twiceOut;\n' +
      '  return weight == 256 ? ivec2(source + 1, 0) : ivec2(source, weight);\n' +
      '}\n' +
      'uvec3 Colour(int x, int y) {\n' +
      '  return texelFetch(palette, ivec2(int(texelFetch(page, ivec2(x, y), 0).r), 0), 0).rgb;\n' +
      '}\n' +
      'uvec3 Mix(uvec3 a, uvec3 b, int take) {\n' +
      '  return (a * uint(256 - take) + b * uint(take) + 128u) >> 8;\n' +
      '}\n' +
      // A page row stretched: mixed across a block edge, then rows mixed, as on the desktop.
      'uvec3 Row(int y, ivec2 column) {\n' +
      '  uvec3 a = Colour(column.x, y);\n' +
      '  return column.y == 0 ? a : Mix(a, Colour(column.x + 1, y), column.y);\n' +
      '}\n' +
      'void main() {\n' +
      '  int x = int(gl_FragCoord.x), y = size.y - 1 - int(gl_FragCoord.y);\n' +
      '  ivec2 column = Tap(x, 640, size.x), row = Tap(y, 480, size.y);\n' +
      '  uvec3 c = Row(row.x, column);\n' +
      '  if (row.y != 0) c = Mix(c, Row(row.x + 1, column), row.y);\n' +
      '  colour = vec4(vec3(c) / 255.0, 1.0);\n' +
      '}\n',
  },

  // The program and the two textures on a new or restored context; false if it cannot have them.
  $webScreenGlSetUp__deps: ['$webScreen', '$webScreenShader'],
  $webScreenGlSetUp: function(gl) {
    var compile = function(type, source) {
      var shader = gl.createShader(type);
      gl.shaderSource(shader, source);
      gl.compileShader(shader);
      return shader;
    };
    var program = gl.createProgram();
    gl.attachShader(program, compile(gl.VERTEX_SHADER, webScreenShader.vertex));
    gl.attachShader(program, compile(gl.FRAGMENT_SHADER, webScreenShader.fragment));
    gl.linkProgram(program);
    if (!gl.getProgramParameter(program, gl.LINK_STATUS)) return false;
    gl.useProgram(program);
    var texture = function(unit, format, width, height) {
      gl.activeTexture(gl.TEXTURE0 + unit);
      gl.bindTexture(gl.TEXTURE_2D, gl.createTexture());
      gl.texStorage2D(gl.TEXTURE_2D, 1, format, width, height);
      // Integer textures are read only unfiltered.
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
    };
    texture(1, gl.RGBA8UI, 256, 1);
    texture(0, gl.R8UI, 640, 480);  // unit 0 stays the active one
    gl.uniform1i(gl.getUniformLocation(program, 'page'), 0);
    gl.uniform1i(gl.getUniformLocation(program, 'palette'), 1);
    webScreen.factorAt = gl.getUniformLocation(program, 'factor');
    webScreen.sizeAt = gl.getUniformLocation(program, 'size');
    gl.pixelStorei(gl.UNPACK_ALIGNMENT, 1);
    gl.disable(gl.DITHER);
    return true;
  },

  // WebGL2 on the page's canvas, or null (webScreen.glCanvas is the page's canvas
  // when that has a WebGL2 context, even one that could not be set up). A WebGL that the CPU
  // emulates is tried on a canvas of its own first, and left for the 2D canvas, as the desktop
  // leaves an emulated OpenGL for its software presenter.
  $webScreenGl__deps: ['$webScreen', '$webScreenGlSetUp', '$webScreenUse'],
  $webScreenGl: function() {
    var s = webScreen, canvas = Module.skyring.canvas;
    var wanted = new URLSearchParams(location.search).get('presenter');
    if (wanted === '2d') return null;
    var attributes = {alpha: false, antialias: false, depth: false, stencil: false, preserveDrawingBuffer: false,
                      powerPreference: 'low-power'};
    var make = function(on) {
      try {
        return on.getContext('webgl2', attributes);
      } catch (e) {
        return null;
      }
    };
    if (wanted !== 'webgl2') {
      var trial = make(document.createElement('canvas'));
      if (!trial) return null;
      var name = trial.getParameter(trial.RENDERER) || '';
      var info = name === 'WebKit WebGL' ? trial.getExtension('WEBGL_debug_renderer_info') : null;
      if (info) name = trial.getParameter(info.UNMASKED_RENDERER_WEBGL) || '';
      var lose = trial.getExtension('WEBGL_lose_context');
      if (lose) lose.loseContext();
      if (/SwiftShader|llvmpipe|softpipe|software|Basic Render/i.test(name)) return null;
    }
    var gl = make(canvas);
    if (!gl) return null;
    s.glCanvas = canvas;
    if (!webScreenGlSetUp(gl)) return null;
    // The GPU may drop the context (a driver reset, too many pages using it): the 2D canvas
    // shows the game meanwhile, and WebGL2 again once the context is back.
    canvas.addEventListener('webglcontextlost', function(event) {
      event.preventDefault();
      s.gl = null;
      webScreenUse(s.flatCanvas);
      _WebScreenChanged();
    });
    canvas.addEventListener('webglcontextrestored', function() {
      if (!webScreenGlSetUp(gl)) return;
      s.gl = gl;
      webScreenUse(canvas);
      _WebScreenChanged();
    });
    return gl;
  },

  // Shows `canvas` (the WebGL2 one, or the 2D one, made on first need) at the page's place and
  // hides the other.
  $webScreenUse__deps: ['$webScreen'],
  $webScreenUse: function(canvas) {
    var s = webScreen, l = s.layout;
    if (!canvas) {
      // The page's own canvas went to WebGL2: one beside it for the 2D drawing.
      canvas = document.createElement('canvas');
      canvas.style.position = 'fixed';
      canvas.style.cursor = 'none';
      s.glCanvas.after(canvas);
    }
    if (canvas === s.glCanvas) {
      canvas.width = l.w;
      canvas.height = l.h;
    } else {
      s.flatCanvas = canvas;
      canvas.width = 640 * l.factor;
      canvas.height = 480 * l.factor;
      s.flat = canvas.getContext('2d', {alpha: false});
      s.flat.imageSmoothingEnabled = false;
    }
    // The picture's place in CSS pixels, for the canvas and for what the page lays out around it.
    var ratio = window.devicePixelRatio || 1, place = {left: l.x / ratio, top: l.y / ratio, width: l.w / ratio,
                                                      height: l.h / ratio};
    for (var side in place) {
      canvas.style[side] = place[side] + 'px';
      document.documentElement.style.setProperty('--picture-' + side, place[side] + 'px');
    }
    canvas.style.display = '';
    var other = canvas === s.glCanvas ? s.flatCanvas : s.glCanvas;
    if (other) other.style.display = 'none';
    Module.skyring.presenter = canvas === s.glCanvas ? 'webgl2' : '2d';
    Module.skyring.shownCanvas = canvas;
  },

  // The page's skyring.area() in CSS pixels, to whole device pixels.
  WebScreenArea: function(x, y, width, height) {
    var ratio = window.devicePixelRatio || 1, area = Module.skyring.area();
    var left = Math.round(area.x * ratio), top = Math.round(area.y * ratio);
    HEAP32[x >> 2] = left;
    HEAP32[y >> 2] = top;
    HEAP32[width >> 2] = Math.round((area.x + area.w) * ratio) - left;
    HEAP32[height >> 2] = Math.round((area.y + area.h) * ratio) - top;
  },

  // The presenter, chosen as the page loads: setting WebGL2 up takes a while, which the first
  // picture need not wait for.
  $webScreenChoose__deps: ['$webScreen', '$webScreenGl'],
  $webScreenChoose__postset: 'webScreenChoose();',
  $webScreenChoose: function() {
    webScreen.gl = webScreenGl();
    if (!webScreen.glCanvas) webScreen.flatCanvas = Module.skyring.canvas;
  },

  // The canvas's place and size in device pixels: the largest 4:3 rectangle, with the whole
  // factor the page is enlarged by.
  WebScreenLayout__deps: ['$webScreen', '$webScreenChoose', '$webScreenUse'],
  WebScreenLayout: function(factor, x, y, w, h) {
    var s = webScreen;
    s.layout = {factor: factor, x: x, y: y, w: w, h: h};
    webScreenUse(s.gl ? s.glCanvas : s.flatCanvas);
  },

  // A new page of the game (fresh) or the last one again (paused, resized, a new presenter):
  // its indices and the palette as shown go to the GPU at once, or its colours to the 2D
  // canvas's bytes; either is drawn at the next animation frame.
  WebScreenShow__deps: ['$webScreen'],
  WebScreenShow: function(indices, palette, paused, fresh) {
    var s = webScreen, page = Module.skyring, gl = s.gl;
    // The page's colours, for the 2D canvas and for whoever watches the pages (skyring.onPage).
    var colours = !gl || (fresh && page.onPage) ? _WebScreenColours(indices, palette) : 0;
    if (fresh) {
      page.pagesShown = (page.pagesShown || 0) + 1;
      s.number = page.pagesShown;
      // A fresh page is never a paused one: these are the game's own colours.
      if (!s.lastIndices) {
        s.lastIndices = new Uint8Array(640 * 480);
        s.lastPalette = new Uint8Array(256 * 4);
      }
      s.lastIndices.set(HEAPU8.subarray(indices, indices + 640 * 480));
      s.lastPalette.set(HEAPU8.subarray(palette, palette + 256 * 4));
      if (page.onPage) {
        page.onPage(page.pagesShown, HEAPU8.subarray(colours, colours + 640 * 480 * 4),
                    HEAPU8.subarray(indices, indices + 640 * 480), HEAPU8.subarray(palette, palette + 256 * 4));
      }
    }
    s.paused = paused;
    if (gl) {
      gl.activeTexture(gl.TEXTURE1);
      gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, 256, 1, gl.RGBA_INTEGER, gl.UNSIGNED_BYTE, HEAPU8, palette);
      gl.activeTexture(gl.TEXTURE0);
      gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, 640, 480, gl.RED_INTEGER, gl.UNSIGNED_BYTE, HEAPU8, indices);
    } else {
      s.pixels = colours;
      if (!s.page) {
        s.page = document.createElement('canvas');
        s.page.width = 640;
        s.page.height = 480;
        s.pageContext = s.page.getContext('2d', {alpha: false});
      }
    }
    if (s.pending) return;
    s.pending = requestAnimationFrame(function() {
      s.pending = 0;
      var gl = s.gl, w, h;
      if (gl) {
        w = gl.drawingBufferWidth;
        h = gl.drawingBufferHeight;
        gl.viewport(0, 0, w, h);
        gl.uniform1i(s.factorAt, s.layout.factor);
        gl.uniform2i(s.sizeAt, w, h);
        gl.drawArrays(gl.TRIANGLES, 0, 3);
      } else {
        if (!s.flat || !s.pixels) return;
        var bytes = new Uint8ClampedArray(HEAPU8.buffer, s.pixels, 640 * 480 * 4);
        s.pageContext.putImageData(new ImageData(bytes, 640, 480), 0, 0);
        w = s.flatCanvas.width;
        h = s.flatCanvas.height;
        s.flat.drawImage(s.page, 0, 0, w, h);
      }
      if (s.paused) {
        // The pause mark: two upright bars in the middle, as on the desktop.
        var bw = Math.floor(w / 32), bh = Math.floor(h / 6);
        var bx = Math.floor(w / 2) - bw - Math.floor(bw / 2), by = Math.floor((h - bh) / 2);
        if (gl) {
          gl.enable(gl.SCISSOR_TEST);
          gl.clearColor(1, 1, 1, 1);
          gl.scissor(bx, h - by - bh, bw, bh);
          gl.clear(gl.COLOR_BUFFER_BIT);
          gl.scissor(bx + 2 * bw, h - by - bh, bw, bh);
          gl.clear(gl.COLOR_BUFFER_BIT);
          gl.disable(gl.SCISSOR_TEST);
        } else {
          s.flat.fillStyle = '#fff';
          s.flat.fillRect(bx, by, bw, bh);
          s.flat.fillRect(bx + 2 * bw, by, bw, bh);
        }
      }
      if (Module.skyring.onPicture) Module.skyring.onPicture(s.number);
    });
  },

  // A picture of the screen (F12, or the page's button): the game's 640 x 480 page in its own
  // colours as a PNG, which the page downloads (skyring.download names it). skyring.savePicture()
  // saves the last page shown.
  $webPicture__postset: 'Module.skyring.savePicture = function() {' +
                        '  if (webScreen.number) webPicture(webScreen.lastIndices, webScreen.lastPalette);' +
                        '};',
  $webPicture__deps: ['$webScreen'],
  $webPicture: function(indices, palette) {
    var canvas = document.createElement('canvas');
    canvas.width = 640;
    canvas.height = 480;
    var context = canvas.getContext('2d'), image = context.createImageData(640, 480), rgba = image.data;
    for (var i = 0, at = 0; i < 640 * 480; ++i, at += 4) {
      var colour = indices[i] * 4;  // red, green, blue, flags
      rgba[at] = palette[colour];
      rgba[at + 1] = palette[colour + 1];
      rgba[at + 2] = palette[colour + 2];
      rgba[at + 3] = 255;
    }
    context.putImageData(image, 0, 0);
    canvas.toBlob(function(blob) {
      if (blob) Module.skyring.download(blob, 'png');
    }, 'image/png');
  },

  WebPictureSave__deps: ['$webPicture'],
  WebPictureSave: function(indices, palette) {
    webPicture(HEAPU8.subarray(indices, indices + 640 * 480), HEAPU8.subarray(palette, palette + 256 * 4));
  },

  // The sound: the game's mixer makes 44100 Hz stereo blocks here, each when the page's audio
  // worklet (skyring-audio.js) asks for it, and the worklet plays them on the browser's audio
  // thread, so the sound goes on through anything shorter on the page's thread than what the
  // worklet has queued (46 ms or more). While the game is
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

  // The page's touch controls (the elements with data-action inside skyring.controls): each
  // finger is followed from the control it comes down on, and may slide onto another of the same
  // cluster (an element marked data-cluster: the thumb's), which lets go of the first; a control
  // outside a cluster (pause, sound) acts once per touch. The game hears them through WebControl
  // (touch_web.cpp), each finger by a number of its own; a control held by a finger is marked
  // 'held'.
  $webControls: {actions: null, fingers: null, listeners: null},

  WebControlsOpen__deps: ['$webControls'],
  WebControlsOpen: function(names, count) {
    var c = webControls, panel = Module.skyring.controls;
    if (!panel) return;
    var mark = function() {
      panel.querySelectorAll('[data-action]').forEach(function(control) {
        var held = false;
        c.fingers.forEach(function(finger) { held = held || finger.control === control; });
        control.classList.toggle('held', held);
      });
    };
    // Finger `finger` now on `control` (null: on none).
    var move = function(finger, control) {
      if (finger.control === control) return;
      if (finger.control) _WebControl(c.actions[finger.control.dataset.action], finger.number, 0);
      finger.control = control;
      if (control) _WebControl(c.actions[control.dataset.action], finger.number, 1);
      mark();
    };
    if (c.listeners) {
      c.fingers.forEach(function(finger) { move(finger, null); });
      c.listeners.forEach(function(listener) { window.removeEventListener(listener[0], listener[1], true); });
      c.actions = c.fingers = c.listeners = null;
    }
    if (!names) return;
    c.actions = {};
    for (var i = 0; i < count; ++i) c.actions[UTF8ToString(HEAPU32[(names >> 2) + i])] = i;
    c.fingers = new Map();  // by pointerId: {number, control, cluster}
    var under = function(event) {
      var at = document.elementFromPoint(event.clientX, event.clientY);
      var control = at && at.closest('[data-action]');
      return control && panel.contains(control) && control.dataset.action in c.actions ? control : null;
    };
    var down = function(event) {
      var control = under(event);
      if (!control) return;
      event.preventDefault();
      var number = 0, taken = new Set();
      c.fingers.forEach(function(finger) { taken.add(finger.number); });
      while (taken.has(number)) ++number;
      var finger = {number: number, control: null, cluster: control.closest('[data-cluster]')};
      c.fingers.set(event.pointerId, finger);
      move(finger, control);
    };
    var slide = function(event) {
      var finger = c.fingers.get(event.pointerId);
      if (!finger || !finger.cluster) return;
      var control = under(event);
      move(finger, control && finger.cluster.contains(control) ? control : null);
    };
    var up = function(event) {
      var finger = c.fingers.get(event.pointerId);
      if (!finger) return;
      c.fingers.delete(event.pointerId);
      move(finger, null);
    };
    c.listeners = [['pointerdown', down], ['pointermove', slide], ['pointerup', up], ['pointercancel', up]];
    c.listeners.forEach(function(listener) { window.addEventListener(listener[0], listener[1], true); });
  },

  WebShowHeld: function(held) {
    if (Module.skyring.onHeld) Module.skyring.onHeld(!!held);
  },

  WebPadPressed: function() {
    if (Module.skyring.onPadPressed) Module.skyring.onPadPressed();
  },

  WebDocumentHasFocus: function() {
    return document.hasFocus() ? 1 : 0;
  },

  WebToggleFullscreen: function() {
    if (Module.skyring.toggleFullscreen) Module.skyring.toggleFullscreen();
  },

  // The browser's storage for this site; a browser that refuses it keeps nothing. The page
  // shows the mute as it is read and as it changes.
  WebStoredMute: function() {
    var muted = false;
    try {
      muted = localStorage.getItem('skyring.mute') === 'on';
    } catch (e) {
      // private browsing, or storage turned off
    }
    if (Module.skyring.onMuted) Module.skyring.onMuted(muted);
    return muted ? 1 : 0;
  },

  WebStoreMute: function(muted) {
    if (Module.skyring.onMuted) Module.skyring.onMuted(!!muted);
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
