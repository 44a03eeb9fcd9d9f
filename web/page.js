// The page around the game: the page drawn at the size of the browser window,
// the pointer (mouse, pen and touch on one path), full screen, and the
// button that starts the game again once it has ended.
//
// The game draws its 800 x 600 page into the hidden canvas #ranvel. What the
// player sees is #view: the page enlarged by the smallest whole multiple at
// or above the size it is shown at, without smoothing, and then shown at
// that size by the browser, which reduces it smoothly. At a whole multiple
// every page pixel is a sharp square; between them no pixel is wider than
// its neighbour; below 1x the page is reduced smoothly.
'use strict';

(function () {
  const PAGE_WIDTH = 800;
  const PAGE_HEIGHT = 600;
  // DOM buttons bits of the buttons 0 (main), 1 (middle), 2 (secondary), 3, 4.
  const BUTTON_BITS = [1, 4, 2, 8, 16];

  // The page's language: the address's ?idioma=, else the first of the
  // browser's preferred languages that the game carries, else Spanish. The
  // game is told with --idioma.
  // Each language's name in itself, as the menu "Idioma" lists it.
  const LANGUAGE_NAMES = {es: 'Español', ca: 'Català', gl: 'Galego', eu: 'Euskara', pt: 'Português', en: 'English'};
  const LANGUAGES = Object.keys(LANGUAGE_NAMES);
  const asked_language = new URLSearchParams(location.search).get('idioma');
  function page_language() {
    if (asked_language !== null) {
      const code = asked_language.trim().toLowerCase();
      return LANGUAGES.includes(code) ? code : 'es';
    }
    for (const preferred of navigator.languages || [navigator.language || '']) {
      const code = preferred.toLowerCase().split(/[-_]/)[0];
      if (LANGUAGES.includes(code)) return code;
    }
    return 'es';
  }
  const language = page_language();
  document.documentElement.lang = language;

  // The page's texts, written in Spanish and marked for the translators
  // (page_text: context and text, as xgettext reads them into po/ranvel.pot);
  // page_texts.js, made from po/ at build time, holds the translations.
  const translations = (window.RANVEL_PAGE_TEXTS || {})[language] || {};
  const page_text = (context, spanish) => translations[spanish] || spanish;
  const TEXTS = {
    // TRANSLATORS: the title of the web page (the browser's tab).
    title: page_text('web page', 'Ranvel: regletas y números'),
    // TRANSLATORS: what a screen reader says of the game's picture on the web page.
    game: page_text('web page', 'Ranvel: el juego'),
    // TRANSLATORS: the web page, under the game: how to play, in one or two
    // lines of a narrow screen.
    how_to_play: page_text('web page', 'Llega antes que la computadora justo al número objetivo: pon una regleta ' +
                                        'por turno con el ratón, tocándola o con las teclas 1 a 9 (0 es el 10).'),
    // TRANSLATORS: the web page: the label of the menu of languages (one word).
    language: page_text('web page', 'Idioma'),
    // TRANSLATORS: the web page asks this before it changes the language
    // while a game is being played (which then starts again).
    change_language: page_text('web page', 'Hay una partida en juego. ¿Cambiar de idioma y empezar de nuevo?'),
    // TRANSLATORS: the web page: the label of the menu of the computer's levels (one word).
    level: page_text('web page', 'Nivel'),
    // TRANSLATORS: the web page: the easiest level of the computer, in the menu (one word).
    easy: page_text('web page', 'fácil'),
    // TRANSLATORS: the web page: the middle level of the computer, in the menu (one word).
    medium: page_text('web page', 'medio'),
    // TRANSLATORS: the web page: the strongest level of the computer, in the menu (one word).
    expert: page_text('web page', 'experto'),
    // TRANSLATORS: the web page, under the game while the easy level is
    // chosen: how the computer plays, for a teacher (one or two lines).
    about_easy: page_text('web page', 'La mitad de las veces deja pasar la jugada que le daría la victoria; si no ' +
                                       'gana, pone una regleta al azar.'),
    // TRANSLATORS: the web page, under the game while the middle level is chosen.
    about_medium: page_text('web page', 'Nunca deja pasar la victoria; por lo demás, una vez de cada cinco juega lo ' +
                                         'mejor que sabe y las otras pone una regleta al azar.'),
    // TRANSLATORS: the web page, under the game while the strongest level is chosen.
    about_expert: page_text('web page', 'Juega siempre lo mejor que sabe, como el juego sin ayudas.'),
    // TRANSLATORS: the web page: the check box that shows the hints on the floor (two or three words).
    hints: page_text('web page', 'Mostrar ayudas'),
    // TRANSLATORS: the web page: the check box that switches the game's sounds on and off (one word).
    sound: page_text('web page', 'Sonido'),
    // TRANSLATORS: the web page: the button that fills the screen with the game (two or three words).
    fullscreen: page_text('web page', 'Pantalla completa'),
    // TRANSLATORS: the web page: what the button "?" does, for a screen reader
    // (it shows and hides how to play).
    about: page_text('web page', 'Cómo se juega'),
    // TRANSLATORS: the web page: the button that starts the game again once it has ended (three words).
    again: page_text('web page', 'Jugar otra vez'),
    // TRANSLATORS: the web page, in place of the game, when the browser cannot run it.
    no_game: page_text('web page', 'Este navegador no puede abrir el juego: prueba con una versión reciente de ' +
                                    'Chrome, Firefox, Safari o Edge.'),
  };
  document.title = TEXTS.title;
  document.getElementById('view').setAttribute('aria-label', TEXTS.game);
  document.getElementById('how-to-play').textContent = TEXTS.how_to_play;
  document.getElementById('level-label').textContent = TEXTS.level;
  document.getElementById('language-label').textContent = TEXTS.language;
  document.getElementById('hints-label').textContent = TEXTS.hints;
  document.getElementById('sound-label').textContent = TEXTS.sound;
  document.getElementById('fullscreen').textContent = TEXTS.fullscreen;
  document.getElementById('again').textContent = TEXTS.again;
  // "?" shows and hides how to play where the page hides it to leave the
  // game its room.
  const about = document.getElementById('about');
  about.setAttribute('aria-label', TEXTS.about);
  about.title = TEXTS.about;
  about.addEventListener('click', () => {
    about.setAttribute('aria-expanded', String(document.body.classList.toggle('about')));
  });
  const LEVEL_NAMES = {facil: [TEXTS.easy, TEXTS.about_easy], medio: [TEXTS.medium, TEXTS.about_medium],
                       experto: [TEXTS.expert, TEXTS.about_expert]};
  for (const option of document.getElementById('level').options) option.textContent = LEVEL_NAMES[option.value][0];

  const stage = document.getElementById('stage');
  const source = document.getElementById('ranvel');
  const view = document.getElementById('view');
  const again = document.getElementById('again');
  const fullscreen = document.getElementById('fullscreen');
  const view_context = view.getContext('2d', {alpha: false});

  let scale = 0;  // the whole multiple #view holds the page at
  let dirty_first = PAGE_HEIGHT;
  let dirty_last = -1;
  let frame_asked = false;
  let views_drawn = 0;
  let running = false;  // the game's functions can be called
  let ended = false;
  const sleeps = [];  // [asked ms, taken ms, hidden at the end] of the latest sleeps, for the tests

  function draw_view() {
    frame_asked = false;
    if (dirty_last < dirty_first) return;
    const first = dirty_first;
    const count = dirty_last - dirty_first + 1;
    dirty_first = PAGE_HEIGHT;
    dirty_last = -1;
    ++views_drawn;
    view_context.imageSmoothingEnabled = false;
    view_context.drawImage(source, 0, first, PAGE_WIDTH, count,
                           0, first * scale, PAGE_WIDTH * scale, count * scale);
  }

  function mark_rows(first, count) {
    dirty_first = Math.min(dirty_first, first);
    dirty_last = Math.max(dirty_last, first + count - 1);
    if (!frame_asked) {
      frame_asked = true;
      requestAnimationFrame(draw_view);
    }
  }

  // The largest 4:3 box in whole device pixels that fits the stage, centred.
  // The stage is measured to the fraction: rounded up, a stage 701.5 px tall
  // would give a box half a pixel over the controls under it.
  function lay_out() {
    const ratio = window.devicePixelRatio || 1;
    const box = stage.getBoundingClientRect();
    const width = Math.floor(box.width * ratio);
    const height = Math.floor(box.height * ratio);
    const unit = Math.max(1, Math.min(Math.floor(width / 4), Math.floor(height / 3)));
    const shown_width = 4 * unit;
    const shown_height = 3 * unit;
    const wanted = Math.max(1, Math.ceil(shown_width / PAGE_WIDTH));
    if (wanted !== scale) {
      scale = wanted;
      view.width = PAGE_WIDTH * scale;
      view.height = PAGE_HEIGHT * scale;
      mark_rows(0, PAGE_HEIGHT);
    }
    view.style.width = shown_width / ratio + 'px';
    view.style.height = shown_height / ratio + 'px';
    view.style.left = Math.floor((width - shown_width) / 2) / ratio + 'px';
    view.style.top = Math.floor((height - shown_height) / 2) / ratio + 'px';
  }

  // The page pixel under a pointer event, through the size #view is shown at.
  function page_point(e) {
    const box = view.getBoundingClientRect();
    return {
      x: Math.floor((e.clientX - box.left) * PAGE_WIDTH / box.width),
      y: Math.floor((e.clientY - box.top) * PAGE_HEIGHT / box.height),
    };
  }

  function call(name, ...args) {
    if (running) Module['_' + name](...args);
  }

  // Mouse and pen: the pointer hovers, and presses are noted where they
  // happen. Touch: only the first finger counts, and when it lifts the
  // pointer is outside (touch has no hover). Only pointer events are
  // listened to, so the mouse events a browser sends after a touch for
  // older pages are never counted again.
  function on_pointer_down(e) {
    e.preventDefault();
    view.focus({preventScroll: true});
    if (e.pointerType === 'touch' && !e.isPrimary) return;
    view.setPointerCapture(e.pointerId);
    const p = page_point(e);
    call('web_pointer_down', p.x, p.y, e.button);
  }

  function on_pointer_move(e) {
    if (e.pointerType === 'touch' && !e.isPrimary) return;
    const p = page_point(e);
    call('web_pointer_move', p.x, p.y);
    // A second mouse button pressed or released while another is held.
    if (e.button >= 0 && e.button < BUTTON_BITS.length && e.pointerType !== 'touch') {
      if (e.buttons & BUTTON_BITS[e.button]) call('web_pointer_down', p.x, p.y, e.button);
      else call('web_pointer_up', e.button);
    }
  }

  function on_pointer_up(e) {
    if (e.pointerType === 'touch' && !e.isPrimary) return;
    const p = page_point(e);
    call('web_pointer_move', p.x, p.y);
    call('web_pointer_up', Math.max(0, e.button));
    if (e.pointerType === 'touch') call('web_pointer_leave');
  }

  function on_pointer_cancel(e) {
    if (e.pointerType === 'touch' && !e.isPrimary) return;
    call('web_pointer_clear');
    call('web_pointer_leave');
  }

  view.addEventListener('pointerdown', on_pointer_down);
  view.addEventListener('pointermove', on_pointer_move);
  view.addEventListener('pointerup', on_pointer_up);
  view.addEventListener('pointercancel', on_pointer_cancel);
  view.addEventListener('pointerleave', (e) => {
    if (e.pointerType !== 'touch') call('web_pointer_leave');
  });
  window.addEventListener('blur', () => call('web_pointer_clear'));
  // No context menu, no selection, no double-tap zoom on the game: a long
  // press on an arrow repeats like a held mouse button.
  stage.addEventListener('contextmenu', (e) => e.preventDefault());
  stage.addEventListener('selectstart', (e) => e.preventDefault());
  stage.addEventListener('dblclick', (e) => e.preventDefault());

  function toggle_fullscreen() {
    const done = () => view.focus({preventScroll: true});
    const asked = document.fullscreenElement ? document.exitFullscreen()
                                             : document.documentElement.requestFullscreen();
    if (asked && asked.then) asked.then(done, done); else done();
  }
  fullscreen.addEventListener('click', toggle_fullscreen);
  // F11 and Alt+Enter, as in the desktop window.
  window.addEventListener('keydown', (e) => {
    if (!ended && (e.key === 'F11' || (e.altKey && e.key === 'Enter'))) {
      e.preventDefault();
      toggle_fullscreen();
    }
  });
  again.addEventListener('click', () => location.reload());

  new ResizeObserver(lay_out).observe(stage);
  window.addEventListener('resize', lay_out);
  lay_out();
  view.focus({preventScroll: true});

  // The address's parameters are the program's command line: "?name=value"
  // is "--name=value" and "?name" (or "?name=") is "--name", in order; so
  // "?nivel=facil&ayuda" gives "--nivel=facil --ayuda". The game reads the
  // spellings a teacher may type ("?nivel=Fácil", "?ayuda=1").
  function command_line(search) {
    const line = [];
    for (const [name, value] of new URLSearchParams(search)) line.push('--' + name + (value === '' ? '' : '=' + value));
    return line;
  }

  // A teacher's aids: the computer's level and the hints. A change reaches
  // the game at once, without starting it again (the level from the
  // computer's next move, the hints from the next picture), and the address
  // is changed in place so that it can still be shared. The controls show
  // what the game read from the address (on_settings).
  const LEVELS = ['facil', 'medio', 'experto'];
  const level = document.getElementById('level');
  const hints = document.getElementById('hints');
  const level_about = document.getElementById('level-about');
  // How the chosen level plays, in a teacher's words.
  function tell_level() { level_about.textContent = LEVEL_NAMES[level.value][1]; }
  function show_settings(level_number, hints_shown) {
    level.value = LEVELS[level_number] || 'experto';
    hints.checked = hints_shown !== 0;
    tell_level();
  }
  tell_level();
  function keep_in_address(name, value) {
    const search = new URLSearchParams(location.search);
    if (value === null) search.delete(name); else search.set(name, value);
    const text = search.toString().replace(/=(?=&|$)/g, '');
    history.replaceState(history.state, '', location.pathname + (text === '' ? '' : '?' + text) + location.hash);
  }
  level.addEventListener('change', () => {
    tell_level();
    call('web_change_settings', LEVELS.indexOf(level.value), -1, -1);
    keep_in_address('nivel', level.value);
  });
  hints.addEventListener('change', () => {
    call('web_change_settings', -1, hints.checked ? 1 : 0, -1);
    keep_in_address('ayuda', hints.checked ? '' : null);
  });
  // The sound: the switch, and M (the game tells the page, on_sound_switched);
  // a silent page keeps ?sin-sonido in its address.
  const sound = document.getElementById('sound');
  function show_sound(on) {
    sound.checked = on;
    keep_in_address('sin-sonido', on ? null : '');
  }
  sound.addEventListener('change', () => {
    call('web_change_settings', -1, -1, sound.checked ? 1 : 0);
    keep_in_address('sin-sonido', sound.checked ? null : '');
  });
  document.getElementById('aids').addEventListener('submit', (e) => e.preventDefault());

  // The language: the page starts again in it, with ?idioma= in its address
  // (after asking, if a game is being played).
  const language_menu = document.getElementById('language');
  for (const code of LANGUAGES) language_menu.add(new Option(LANGUAGE_NAMES[code], code, false, code === language));
  language_menu.addEventListener('change', () => {
    const playing = running && Module._web_playing() !== 0;
    if (playing && !window.confirm(TEXTS.change_language)) {
      language_menu.value = language;
      return;
    }
    const search = new URLSearchParams(location.search);
    search.set('idioma', language_menu.value);
    location.search = '?' + search.toString().replace(/=(?=&|$)/g, '');
  });
  // The controls give the keys back to the game.
  for (const control of [level, hints, sound, language_menu])
    control.addEventListener('blur', () => view.focus({preventScroll: true}));

  window.Module = {
    canvas: source,
    arguments: command_line(location.search).concat(asked_language === null ? ['--idioma=' + language] : []),
    on_rows_shown: mark_rows,
    on_settings: show_settings,
    on_sound_switched: show_sound,
    on_game_ended: function () {
      ended = true;
      running = false;
      again.hidden = false;
      again.focus();
    },
    onRuntimeInitialized: function () { running = true; },
    // A browser that cannot run the game (no WebAssembly SIMD, say) says so
    // where the player reads.
    onAbort: function () {
      running = false;
      document.getElementById('how-to-play').textContent = TEXTS.no_game;
    },
    on_slept: function (asked, took) {
      if (sleeps.length >= 4000) sleeps.splice(0, 2000);
      sleeps.push([asked, took, document.hidden]);
    },
  };

  // Offline play: once the game runs, every file of this build has loaded,
  // and the page installs the worker that keeps them (sw.js). A newer build
  // that the worker finds waits until then too, and is then asked to take
  // over: the next load is the new build, and this game never meets its
  // files. A page opened from a file has no worker.
  function keep_for_offline() {
    if (location.protocol === 'file:' || !('serviceWorker' in navigator)) return;
    const take_over = (worker) => {
      if (!worker) return;
      if (worker.state === 'installed') worker.postMessage('take-over');
      else worker.addEventListener('statechange', () => take_over(worker.state === 'installed' ? worker : null));
    };
    navigator.serviceWorker.register('sw.js').then((registration) => {
      take_over(registration.waiting || registration.installing);
      registration.addEventListener('updatefound', () => take_over(registration.installing));
    }, () => {});  // no network or no room: the game plays on as it is
  }
  const on_started = window.Module.onRuntimeInitialized;
  window.Module.onRuntimeInitialized = function () {
    on_started();
    keep_for_offline();
  };

  // For the tests and measurements: the page last shown (indices and
  // palette, base64), the whole frames drawn, and whether the game ended.
  function base64(bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text);
  }
  window.ranvel_test = {
    running: () => running,
    ended: () => ended,
    frames: () => (running || ended ? Module._web_frame_count() : 0),
    scale: () => scale,
    views: () => views_drawn,
    sleeps: () => sleeps.splice(0),
    shown: () => {
      const heap = Module.HEAPU8;
      const page = Module._web_shown_page();
      const palette = Module._web_shown_palette();
      return {
        indices: base64(heap.subarray(page, page + PAGE_WIDTH * PAGE_HEIGHT)),
        palette: base64(heap.subarray(palette, palette + 768)),
      };
    },
  };
})();
