// The JavaScript half of the web backend (platform_web.cpp beside it),
// linked in with --js-library. It knows the canvas, the clock of the page,
// its visibility and its sound; web/page.js, around it, knows the layout and
// the pointer.

mergeInto(LibraryManager.library, {
  $web_state: {
    canvas: null,
    context: null,
    image: null,  // an ImageData over the backend's RGBA page in wasm memory
    image_pixels: 0,
    channel: null,  // a MessageChannel: a yield without the 4 ms clamp of setTimeout
    channel_waiters: [],
  },

  // Web Audio: the context, made at the player's first key or press (a
  // browser lets a page make sound only after one, and warns about a
  // context made before), each sound's buffer once it has been played, and
  // the sounds playing now.
  $web_audio: {
    context: null,
    buffers: [],
    playing: [],
    // Listens for the first key or press; every later one resumes a context
    // that the browser has suspended.
    listen: function () {
      var wake = function () {
        // Only an event that the browser counts as the player's own.
        if (navigator.userActivation && !navigator.userActivation.isActive) return;
        var Context = window.AudioContext || window.webkitAudioContext;
        if (!Context) return;
        if (!web_audio.context) web_audio.context = new Context();
        else if (web_audio.context.state === 'suspended') web_audio.context.resume();
      };
      ['keydown', 'pointerdown', 'pointerup', 'touchend'].forEach(function (type) {
        window.addEventListener(type, wake, true);
      });
    },
  },

  // The canvas the page drew for us; 0 when there is none.
  web_open__deps: ['$web_state', '$web_audio'],
  web_open: function (width, height) {
    var canvas = Module['canvas'] || document.getElementById('ranvel');
    if (!canvas || canvas.width !== width || canvas.height !== height) return 0;
    web_state.canvas = canvas;
    web_state.context = canvas.getContext('2d', {alpha: false});
    if (web_state.context) web_audio.listen();
    return web_state.context ? 1 : 0;
  },

  // Plays count 16-bit samples at rate from wasm memory, once the player has
  // given the page leave to sound; dropped before that.
  web_play_sound__deps: ['$web_audio'],
  web_play_sound: function (number, samples, count, rate) {
    var context = web_audio.context;
    if (!context || context.state !== 'running') return;
    var buffer = web_audio.buffers[number];
    if (!buffer || buffer.length !== count) {
      buffer = context.createBuffer(1, count, rate);
      var channel = buffer.getChannelData(0);
      var from = samples >> 1;
      for (var i = 0; i < count; ++i) channel[i] = HEAP16[from + i] / 32768;
      web_audio.buffers[number] = buffer;
    }
    var source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(context.destination);
    source.onended = function () {
      var at = web_audio.playing.indexOf(source);
      if (at >= 0) web_audio.playing.splice(at, 1);
    };
    web_audio.playing.push(source);
    source.start();
  },

  // The sound switched off (what plays stops at once) or on; the page is told.
  web_sound_switched__deps: ['$web_audio'],
  web_sound_switched: function (on) {
    if (!on) {
      var playing = web_audio.playing;
      web_audio.playing = [];
      playing.forEach(function (source) { source.stop(); });
    }
    if (Module['on_sound_switched']) Module['on_sound_switched'](on !== 0);
  },

  // Rows first .. first + count - 1 of the RGBA page into the canvas. The
  // ImageData looks straight at wasm memory, so only the rows asked for are
  // copied; it is made again when the memory has grown (a new buffer).
  web_show_rows__deps: ['$web_state'],
  web_show_rows: function (pixels, width, height, first, count) {
    var image = web_state.image;
    if (!image || image.data.buffer !== HEAPU8.buffer || web_state.image_pixels !== pixels) {
      image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4), width, height);
      web_state.image = image;
      web_state.image_pixels = pixels;
    }
    web_state.context.putImageData(image, 0, 0, 0, first, width, count);
    if (Module['on_rows_shown']) Module['on_rows_shown'](first, count);
  },

  // Sleeps ms milliseconds, handing the thread back to the browser. Waits of
  // 4 ms and more use a timer; what is left below that, which a timer would
  // stretch to 4 ms or more, is waited out in yields through a message
  // channel. While the page is hidden nothing runs at all until it is shown
  // again; the game then goes on where it was.
  web_sleep__deps: ['$web_state', '$callUserCallback', '$runtimeKeepalivePush', '$runtimeKeepalivePop'],
  web_sleep: function (ms) {
    Asyncify.handleSleep(function (wake_up) {
      runtimeKeepalivePush();
      var start = performance.now();
      var deadline = start + ms;
      var wake = function () {
        if (Module['on_slept']) Module['on_slept'](ms, performance.now() - start);
        runtimeKeepalivePop();
        callUserCallback(wake_up);
      };
      var step = function () {
        if (document.hidden) {
          var shown = function () {
            if (document.hidden) return;
            document.removeEventListener('visibilitychange', shown);
            step();
          };
          document.addEventListener('visibilitychange', shown);
          return;
        }
        var left = deadline - performance.now();
        if (left <= 0) {
          wake();
        } else if (left >= 4) {
          setTimeout(step, Math.floor(left));
        } else {
          if (!web_state.channel) {
            web_state.channel = new MessageChannel();
            web_state.channel.port1.onmessage = function () {
              var waiters = web_state.channel_waiters;
              web_state.channel_waiters = [];
              for (var i = 0; i < waiters.length; ++i) waiters[i]();
            };
          }
          web_state.channel_waiters.push(step);
          web_state.channel.port2.postMessage(0);
        }
      };
      step();
    });
  },

  web_report_error: function (text) {
    console.error(UTF8ToString(text));
  },

  web_settings_shown: function (level, hints) {
    if (Module['on_settings']) Module['on_settings'](level, hints);
  },

  web_game_ended: function (code) {
    if (Module['on_game_ended']) Module['on_game_ended'](code);
  },
});
