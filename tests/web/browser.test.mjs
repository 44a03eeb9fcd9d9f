// The game in a real browser (headless Chromium), against the golden pictures
// and against the desktop game: each scene is played here and by the replay
// runner with the same input, and wherever the replay takes a picture the
// page must come to show exactly that picture (indices and palette), and the
// canvas exactly its colours.
import assert from 'node:assert/strict';
import {rmSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {after, before, test} from 'node:test';

import {GamePage, PAGE_HEIGHT, PAGE_WIDTH, ROOT, launch_browser, picture_difference, read_png, replay_pictures,
        serve_site, sleep} from './support.mjs';

const golden = (name) => read_png(join(ROOT, 'tests/golden', name + '.png'));
const BROWSER_KEYS = {enter: 'Enter', esc: 'Escape', space: 'Space', left: 'ArrowLeft', right: 'ArrowRight',
                      up: 'ArrowUp', down: 'ArrowDown'};

let browser, site;
before(async () => {
  browser = await launch_browser();
  site = await serve_site();
});
after(async () => {
  await browser?.close();
  site?.server.close();
});

async function open_game(width = PAGE_WIDTH, height = PAGE_HEIGHT) {
  return new GamePage(browser, site.url).open({width, height});
}

// The canvas holds, for every pixel, the palette colour of the page's index,
// opaque: a swapped channel or a stale row shows here.
function check_canvas(shown, what) {
  let wrong = 0, first = -1;
  for (let i = 0; i < PAGE_WIDTH * PAGE_HEIGHT; ++i) {
    const c = 3 * shown.indices[i];
    if (shown.canvas[4 * i] !== shown.palette[c] || shown.canvas[4 * i + 1] !== shown.palette[c + 1] ||
        shown.canvas[4 * i + 2] !== shown.palette[c + 2] || shown.canvas[4 * i + 3] !== 255) {
      if (first < 0) first = i;
      ++wrong;
    }
  }
  assert.equal(wrong, 0, `${what}: ${wrong} canvas pixels are not their palette colour (first at ${first})`);
}

async function until_picture(game, picture, what, timeout_ms) {
  const {difference, shown} = await game.until_picture(picture, timeout_ms);
  assert.equal(difference, '', `${what}: ${difference}`);
  check_canvas(shown, what);
}

// A scene as steps that both the replay runner and the browser carry out:
//   ['key', K]             a key, named as in replay scripts
//   ['wait', MS, PAGEMS]   MS of the replay's time; PAGEMS (default 0) real time in the page
//   ['mouse', X, Y]        the pointer to page pixel (X, Y)
//   ['out']                the pointer off the page
//   ['click', X, Y]        a click there; in the page down and up at once, a quick click
//   ['tap', X, Y]          a touch there; the replay clicks and leaves the page
//   ['press', X, Y, MS]    a touch held there for MS; the replay holds the button
//   ['shot', NAME]         the page must come to show the replay's picture
//   ['still', MS]          ... and still show it MS later
//   ['page', FUNCTION]     in the page only: FUNCTION(game)
function replay_script(steps) {
  const lines = [];
  for (const [kind, ...a] of steps) {
    if (kind === 'key') lines.push(`key ${a[0]}`);
    else if (kind === 'wait' || kind === 'still') lines.push(`wait ${a[0]}`);
    else if (kind === 'mouse') lines.push(`mouse ${a[0]} ${a[1]}`);
    else if (kind === 'out') lines.push('mouse out');
    else if (kind === 'click') lines.push(`click ${a[0]} ${a[1]}`);
    else if (kind === 'tap') lines.push(`click ${a[0]} ${a[1]}`, 'mouse out');
    else if (kind === 'press') lines.push(`mouse ${a[0]} ${a[1]}`, 'down', `wait ${a[2]}`, 'up', 'mouse out');
    else if (kind === 'shot') lines.push(`shot ${a[0]}`);
  }
  return lines.join('\n') + '\n';
}

async function play_alongside(game, steps, options = {}) {
  const shots = replay_pictures(replay_script(steps));
  try {
    await play_steps(game, steps, shots, options);
  } finally {
    rmSync(dirname(shots), {recursive: true, force: true});
  }
}

async function play_steps(game, steps, shots, {timeout_ms = 15000}) {
  const page = game.page;
  let last = null, last_name = '';
  for (const [kind, ...a] of steps) {
    if (kind === 'key') {
      await page.keyboard.press(BROWSER_KEYS[a[0]] ?? a[0]);
    } else if (kind === 'wait') {
      if (a[1]) await sleep(a[1]);
    } else if (kind === 'mouse') {
      const p = await game.client_point(a[0], a[1]);
      await page.mouse.move(p.x, p.y);
    } else if (kind === 'out') {
      await page.mouse.move(1, page.viewport().height - 1);
    } else if (kind === 'click') {
      const p = await game.client_point(a[0], a[1]);
      await page.mouse.move(p.x, p.y);
      // Press and release sent together: both may reach the page between
      // two looks of the game at the mouse.
      const cdp = await page.createCDPSession();
      const event = {x: p.x, y: p.y, button: 'left', clickCount: 1};
      await Promise.all([cdp.send('Input.dispatchMouseEvent', {...event, type: 'mousePressed', buttons: 1}),
                         cdp.send('Input.dispatchMouseEvent', {...event, type: 'mouseReleased', buttons: 0})]);
      await cdp.detach();
    } else if (kind === 'tap') {
      const p = await game.client_point(a[0], a[1]);
      await page.touchscreen.tap(p.x, p.y);
    } else if (kind === 'press') {
      const p = await game.client_point(a[0], a[1]);
      await page.touchscreen.touchStart(p.x, p.y);
      await sleep(a[2]);
      await page.touchscreen.touchEnd();
    } else if (kind === 'shot') {
      last = read_png(join(shots, a[0] + '.png'));
      last_name = a[0];
      await until_picture(game, last, a[0], timeout_ms);
    } else if (kind === 'page') {
      await a[0](game);
    } else if (kind === 'still') {
      await sleep(a[0]);
      assert.equal(picture_difference(await game.shown(), last), '', `${last_name}, ${a[0]} ms later`);
    }
  }
}

function assert_no_problems(game) {
  assert.deepEqual(game.problems, [], 'console errors or failed requests');
}

test('the options screen and the first frame are the golden pictures, in the canvas through the palette', async () => {
  const game = await open_game();
  await until_picture(game, golden('options'), 'options screen');
  // The keys reach the game at once, and still after the full-screen button.
  const focused = () => game.page.evaluate(() => document.activeElement.id);
  assert.equal(await focused(), 'view');
  await game.page.click('#fullscreen');
  assert.equal(await focused(), 'view');
  await game.page.keyboard.press('Enter');
  await until_picture(game, golden('first_frame'), 'first frame');
  // Everything the page asked for came from its own folder.
  assert.deepEqual([...new Set(site.requests)].sort(), ['/', '/page.js', '/ranvel.js', '/ranvel.wasm']);
  assert_no_problems(game);
  await game.close();
});

test('the address\'s parameters are the command line; one the game does not know still lets it start', async () => {
  // "--scale 3 --integer-scale --version": read as a command line (the
  // window choices change nothing in a page), the version on the console.
  let game = await new GamePage(browser, site.url).open(undefined, '?scale=3&integer-scale&version');
  await until_picture(game, golden('options'), 'options screen, with a command line');
  assert.ok(game.console.some((line) => /^ranvel \d+\.\d+\.\d+$/.test(line)), game.console.join('\n'));
  assert_no_problems(game);
  await game.close();
  game = await new GamePage(browser, site.url).open(undefined, '?colores=todos');
  await until_picture(game, golden('options'), 'options screen, after an unknown option');
  // Written to standard error, which the page's console shows as a warning.
  assert.ok(game.problems.length > 0 && game.problems.every((p) => p.startsWith('console w')), game.problems);
  assert.match(game.problems[0], /opción desconocida: «--colores»/);
  await game.close();
});

test('the teacher\'s controls restart the page with the level and the hints; A hides and shows them', async () => {
  const game = await open_game();
  const page = game.page;
  await until_picture(game, golden('options'), 'options screen');
  // Each control reloads the page with the choice in its address.
  await Promise.all([page.waitForNavigation(), page.select('#level', 'facil')]);
  await Promise.all([page.waitForNavigation(), page.click('#hints')]);
  assert.equal(new URL(page.url()).search, '?nivel=facil&ayuda');
  await page.waitForFunction(() => window.ranvel_test && window.ranvel_test.running(), {timeout: 20000});
  assert.equal(await page.$eval('#level', (e) => e.value), 'facil');
  assert.equal(await page.$eval('#hints', (e) => e.checked), true);
  await until_picture(game, golden('options'), 'options screen with the aids');
  // The first frame with the markers and the status line, then without.
  await page.focus('#view');
  await page.keyboard.press('Enter');
  await until_picture(game, golden('hints/hints_first_frame'), 'first frame with the hints');
  await page.keyboard.press('a');
  await until_picture(game, golden('first_frame'), 'first frame, the hints hidden');
  assert_no_problems(game);
  await game.close();
});

test('keys change the target, the rods and the starter as on the desktop, and the game starts with them', async () => {
  const game = await open_game();
  await play_alongside(game, [
    ['wait', 300], ['shot', 'options'],
    ['key', 'C'], ['key', '1'], ['key', '3'], ['key', '0'], ['key', 'down'], ['key', 'down'], ['key', 'left'],
    ['wait', 400], ['shot', 'changed'],
    ['key', 'j'], ['key', '3'], ['key', 'up'], ['key', 'right'], ['key', 'right'], ['key', 'x'],
    ['wait', 400], ['shot', 'changed_again'],
    ['key', 'enter'], ['wait', 500], ['shot', 'first_frame'],
    ['key', '4'], ['wait', 9000], ['shot', 'four_laid_and_answered'],
  ]);
  assert_no_problems(game);
  await game.close();
});

test('a quick click on a rod lays it once, the computer answers, and the rod under the pointer lights', async () => {
  const game = await open_game();
  await play_alongside(game, [
    ['wait', 300], ['key', 'enter'], ['wait', 500], ['shot', 'first_frame'],
    ['click', 250, 430], ['wait', 9000], ['shot', 'five_and_seven'], ['still', 1500],
  ]);
  assert_no_problems(game);
  await game.close();
});

test('a tap lays a rod once and leaves nothing lit; the mouse events sent after it are not counted', async () => {
  const game = await open_game();
  const count_mouse_events = (g) => g.page.evaluate(() => {
    window.mouse_events_after_touch = 0;
    for (const type of ['mousedown', 'mouseup', 'click'])
      document.getElementById('view').addEventListener(type, () => ++window.mouse_events_after_touch);
  });
  await play_alongside(game, [
    ['wait', 300], ['key', 'enter'], ['wait', 500], ['shot', 'first_frame'], ['page', count_mouse_events],
    ['tap', 120, 430], ['wait', 9000], ['shot', 'three_and_nine'], ['still', 1500],
  ]);
  assert.ok(await game.page.evaluate(() => window.mouse_events_after_touch) > 0,
            'the browser sent no mouse events after the touch, so this test proves nothing about them');
  assert_no_problems(game);
  await game.close();
});

test('a long touch on an arrow repeats like a held button; the page keeps the browser\'s touch gestures away', async () => {
  const game = await open_game();
  // The -1 arrow: one step at once, then one every 0.2 s: 100 down to 95.
  await play_alongside(game, [['wait', 300], ['shot', 'options'], ['press', 739, 170, 1000], ['wait', 300],
                              ['shot', 'held_a_second']]);
  // No panning or double-tap zoom, no selection, no context menu on the game.
  const page_rules = await game.page.$eval('#view', (view) => {
    const style = getComputedStyle(view);
    const menu = new MouseEvent('contextmenu', {bubbles: true, cancelable: true});
    return [style.touchAction, style.userSelect, view.dispatchEvent(menu)];
  });
  assert.deepEqual(page_rules, ['none', 'none', false]);
  assert_no_problems(game);
  await game.close();
});

test('a whole game played to its message, closed by a click', async () => {
  const game = await open_game();
  // Target 12: 1, the computer's 10, then a 5 passes the target.
  const down_to_12 = [...Array(9)].map(() => ['key', 'down']).concat([['key', 'right'], ['key', 'right']]);
  await play_alongside(game, [
    ['wait', 300], ['shot', 'options'], ...down_to_12, ['wait', 400], ['shot', 'target_12'],
    ['key', 'enter'], ['wait', 500], ['shot', 'first_frame'],
    ['key', '1'], ['wait', 6000], ['shot', 'total_11'],
    ['key', '5'], ['wait', 4000], ['shot', 'overshot_message'],
    ['click', 10, 10], ['wait', 1000, 600], ['shot', 'options_again'],
  ]);
  assert_no_problems(game);
  await game.close();
});

test('quitting shows the closing page, which stays; "Jugar otra vez" brings the options screen back', async () => {
  const game = await open_game();
  await play_alongside(game, [
    ['wait', 300], ['shot', 'options'], ['key', 'esc'], ['wait', 300], ['shot', 'question'],
    ['key', 'enter'], ['wait', 500], ['shot', 'closing_page'],
  ]);
  const closing = await game.shown();
  // A key ends it once it has been shown for five seconds.
  await game.page.keyboard.press('Space');
  await game.page.waitForFunction(() => window.ranvel_test.ended(), {timeout: 15000});
  assert.ok(await game.page.$eval('#again', (b) => !b.hidden && document.activeElement === b));
  const kept = await game.shown(true);
  assert.equal(picture_difference(kept, closing), '', 'the last picture, kept after the end');
  check_canvas(kept, 'the last picture, kept after the end');
  await Promise.all([game.page.waitForNavigation(), game.page.click('#again')]);
  await game.page.waitForFunction(() => window.ranvel_test && window.ranvel_test.running(), {timeout: 20000});
  await until_picture(game, golden('options'), 'options screen after "Jugar otra vez"');
  assert_no_problems(game);
  await game.close();
});

test('at twice the size every page pixel is a sharp 2 x 2 square of its colour, on a plain and a HiDPI screen', async () => {
  const game = await open_game(1600, 1200);
  const options = golden('options');
  await until_picture(game, options, 'options screen');
  // 1600 x 1200 CSS pixels, then 800 x 600 CSS pixels of two device pixels each.
  for (const [width, height, ratio] of [[1600, 1200, 1], [800, 600, 2]]) {
    await game.set_size(width, height, ratio);
    // The page lays itself out when the browser tells it of the new size.
    await game.page.waitForFunction((width, height) => {
      const box = document.getElementById('view').getBoundingClientRect();
      return box.x === 0 && box.y === 0 && box.width === width && box.height === height;
    }, {timeout: 5000}, width, height);
    assert.equal(await game.page.evaluate(() => window.ranvel_test.scale()), 2);
    await sleep(300);  // a frame for the view to be drawn
    const shot = read_png(await game.page.screenshot({clip: {x: 0, y: 0, width, height}}));
    assert.deepEqual([shot.width, shot.height], [1600, 1200]);
    let wrong = 0, first = '';
    for (let y = 0; y < 1200; ++y) {
      for (let x = 0; x < 1600; ++x) {
        const c = 3 * options.indices[(y >> 1) * PAGE_WIDTH + (x >> 1)];
        const at = (y * 1600 + x) * shot.channels;
        if (shot.data[at] !== options.palette[c] || shot.data[at + 1] !== options.palette[c + 1] ||
            shot.data[at + 2] !== options.palette[c + 2]) {
          if (!first) first = `${x}, ${y}`;
          ++wrong;
        }
      }
    }
    assert.equal(wrong, 0, `ratio ${ratio}: ${wrong} screen pixels differ from their page pixel's colour (first at ${first})`);
  }
  assert_no_problems(game);
  await game.close();
});

test('at 1.5 times the size the pointer finds the page pixel under it, to the edge of a button', async () => {
  const game = await open_game(1200, 900);
  await game.page.waitForFunction(() => document.getElementById('view').getBoundingClientRect().width === 1200,
                                  {timeout: 5000});
  const box = await game.page.$eval('#view', (v) => v.getBoundingClientRect().toJSON());
  assert.deepEqual([box.width, box.height], [1200, 900]);
  assert.equal(await game.page.evaluate(() => window.ranvel_test.scale()), 2);
  // "Salir" covers x 620..759, y 500..579 and lights up under the pointer.
  await play_alongside(game, [
    ['wait', 300], ['key', 'enter'], ['wait', 500], ['shot', 'first_frame'],
    ['mouse', 619, 540], ['wait', 100], ['shot', 'left_of_salir'],
    ['mouse', 620, 540], ['wait', 100], ['shot', 'on_salir_left_edge'],
    ['mouse', 690, 580], ['wait', 100], ['shot', 'below_salir'],
    ['mouse', 759, 579], ['wait', 100], ['shot', 'on_salir_corner'],
    ['mouse', 760, 579], ['wait', 100], ['shot', 'right_of_salir'],
    ['click', 515, 420], ['wait', 9000], ['shot', 'nine_and_three'],
  ], {timeout_ms: 5000});
  assert_no_problems(game);
  await game.close();
});

test('sleeping: short waits are not stretched to a timer\'s 4 ms, and a hidden page sleeps until it is shown', async () => {
  const game = await open_game();
  // A 10 and the computer's 2, then a 5: the camera moves from 12 to 17,
  // a frame every 2 ms sleep.
  await play_alongside(game, [
    ['wait', 300], ['key', 'enter'], ['wait', 500], ['shot', 'first_frame'],
    ['key', '0'], ['wait', 6000], ['shot', 'total_12'],
  ]);
  const median = (list) => list.sort((a, b) => a - b)[list.length >> 1];
  // The play loop waiting for the player: 10 ms between looks.
  await game.page.evaluate(() => window.ranvel_test.sleeps());
  await sleep(1000);
  const polls = (await game.page.evaluate(() => window.ranvel_test.sleeps())).map(([asked, took]) => took - asked);
  assert.ok(polls.length > 40, `only ${polls.length} looks at the input in a second`);
  assert.ok(median(polls) < 4, `10 ms sleeps overran by ${median(polls).toFixed(2)} ms (median)`);
  await game.page.keyboard.press('5');
  await sleep(1500);
  const sleeps = await game.page.evaluate(() => window.ranvel_test.sleeps());
  const short = sleeps.filter(([asked]) => asked === 2).map(([, took]) => took);
  assert.ok(short.length > 50, `only ${short.length} frames of the camera move in 1.5 s`);
  assert.ok(median(short) < 3.5, `a 2 ms sleep took ${median(short).toFixed(2)} ms (median)`);

  // Hidden: the sleep in progress ends at most, then nothing runs.
  await game.page.evaluate(() => {
    window.page_hidden = true;
    Object.defineProperty(document, 'hidden', {configurable: true, get: () => window.page_hidden});
    document.dispatchEvent(new Event('visibilitychange'));
  });
  await sleep(200);
  await game.page.evaluate(() => window.ranvel_test.sleeps());
  const frames = await game.page.evaluate(() => window.ranvel_test.frames());
  await sleep(1000);
  assert.deepEqual(await game.page.evaluate(() => window.ranvel_test.sleeps()), [], 'the game slept while hidden');
  assert.equal(await game.page.evaluate(() => window.ranvel_test.frames()), frames);
  // Shown again, the game goes on where it was.
  await game.page.evaluate(() => {
    window.page_hidden = false;
    document.dispatchEvent(new Event('visibilitychange'));
  });
  await game.page.waitForFunction((f) => window.ranvel_test.frames() > f, {timeout: 5000}, frames);
  assert_no_problems(game);
  await game.close();
});

// In place of the browser's audio context, before the page's scripts run: a
// spy noting the contexts made and, for each sound started, its length in ms
// and its loudest sample.
const spy_on_audio = (page) => page.evaluateOnNewDocument(() => {
  window.audio_spy = {contexts: 0, started: []};
  window.AudioContext = class {
    constructor() { ++window.audio_spy.contexts; this.state = 'running'; }
    createBuffer(channels, length, rate) { return {length, rate, data: new Float32Array(length), getChannelData() { return this.data; }}; }
    createBufferSource() {
      const source = {connect() {}, stop() {}, start() {
        const {length, rate, data} = source.buffer;
        window.audio_spy.started.push([Math.round(1000 * length / rate), Math.round(100 * Math.max(...data.map(Math.abs))) / 100]);
      }};
      return source;
    }
  };
});

test('sound: nothing before the first press; then clicks, M and the page silencing them, a rod\'s knock', async () => {
  const game = await new GamePage(browser, site.url).open(undefined, '', spy_on_audio);
  const page = game.page;
  const spy = () => page.evaluate(() => window.audio_spy);
  await until_picture(game, golden('options'), 'options screen');
  await sleep(500);
  assert.deepEqual(await spy(), {contexts: 0, started: []}, 'sound before the first press');
  // Click, silence, click: 50 ms each, the loudest sample at half of full
  // scale (-6 dB); the target is 100 again. M acts as it is pressed, the
  // other keys when the game looks: a moment between them.
  for (const key of ['ArrowLeft', 'm', 'ArrowRight', 'M', 'ArrowRight']) {
    await page.keyboard.press(key);
    await sleep(200);
  }
  await page.waitForFunction(() => window.audio_spy.started.length >= 2, {timeout: 5000});
  assert.deepEqual(await spy(), {contexts: 1, started: [[50, 0.5], [50, 0.5]]});
  // The page's own switch, as a control under the game would use it.
  await page.evaluate(() => Module._web_set_sound(0));
  await page.keyboard.press('ArrowRight');
  await sleep(300);
  assert.equal(await page.evaluate(() => Module._web_sound_on()), 0);
  await page.evaluate(() => Module._web_set_sound(1));
  // "Jugar" clicks; a 1 knocks as it lands, the computer's rod after its slide.
  await page.keyboard.press('Enter');
  await until_picture(game, golden('first_frame'), 'first frame');
  await page.keyboard.press('1');
  await page.waitForFunction(() => window.audio_spy.started.length >= 5, {timeout: 15000});
  assert.deepEqual((await spy()).started.slice(2), [[50, 0.5], [120, 0.5], [120, 0.5]]);
  assert_no_problems(game);
  await game.close();
});
