// The game in a real browser (headless Chromium), against the golden pictures
// and against the desktop game: each scene is played here and by the replay
// runner with the same input, and wherever the replay takes a picture the
// page must come to show exactly that picture (indices and palette), and the
// canvas exactly its colours.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {appendFileSync, chmodSync, cpSync, mkdtempSync, readFileSync, readdirSync, rmSync, utimesSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {after, before, test} from 'node:test';
import {pathToFileURL} from 'node:url';

import {serve_folder} from '../../web/serve.mjs';
import {GamePage, PAGE_HEIGHT, PAGE_WIDTH, ROOT, WEB_BUILD, launch_browser, picture_difference, read_png,
        replay_pictures, serve_site, sleep} from './support.mjs';

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
//   ['taps', X, Y, N, MS]  N touches there MS ms apart; the replay taps once
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
    else if (kind === 'tap' || kind === 'taps') lines.push(`click ${a[0]} ${a[1]}`, 'mouse out');
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
    } else if (kind === 'taps') {
      const p = await game.client_point(a[0], a[1]);
      for (let i = 0; i < a[2]; ++i) {
        if (i > 0) await sleep(a[3]);
        await page.touchscreen.tap(p.x, p.y);
      }
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
  // Everything the page and its worker asked for came from its own folder.
  assert.deepEqual([...new Set(site.requests)].filter((path) => path !== '/' && !site_files().includes(path.slice(1))), []);
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

test('the teacher\'s controls change the game in place and keep the address; A hides and shows the hints', async () => {
  // The address as a teacher may type it; the controls show what the game read.
  const game = await new GamePage(browser, site.url).open(undefined, '?nivel=F%C3%A1cil&ayuda=1');
  const page = game.page;
  assert.equal(await page.$eval('#level', (e) => e.value), 'facil');
  assert.equal(await page.$eval('#hints', (e) => e.checked), true);
  await until_picture(game, golden('options'), 'options screen with the aids');
  await page.focus('#view');
  await page.keyboard.press('Enter');
  await until_picture(game, golden('hints/hints_first_frame'), 'first frame with the hints');
  // Neither control reloads: the game stays where it is, the hints go at
  // once, and the address can still be shared.
  await page.evaluate(() => { window.not_reloaded = true; });
  await page.click('#hints');
  await until_picture(game, golden('first_frame'), 'first frame, the hints hidden by the page');
  await page.select('#level', 'medio');
  assert.equal(new URL(page.url()).search, '?nivel=medio');
  await page.click('#hints');
  assert.equal(new URL(page.url()).search, '?nivel=medio&ayuda');
  await until_picture(game, golden('hints/hints_first_frame'), 'first frame, the hints shown again');
  await page.focus('#view');
  await page.keyboard.press('a');
  await until_picture(game, golden('first_frame'), 'first frame, the hints hidden by A');
  assert.equal(await page.evaluate(() => window.not_reloaded), true);
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

test('a double tap on a rod lays one rod, the taps 60 or 90 ms apart', async () => {
  const game = await open_game();
  await play_alongside(game, [
    ['wait', 300], ['key', 'enter'], ['wait', 500], ['shot', 'first_frame'],
    ['taps', 317, 450, 2, 60], ['wait', 8000], ['shot', 'one_rod'], ['still', 2000],
    ['taps', 317, 450, 2, 90], ['wait', 8000], ['shot', 'two_rods'], ['still', 2000],
  ]);
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

// Phones and tablets by touch. In the page: the window, anything scrolled
// sideways, the game, the controls' band, the instructions, and every
// control shown with its tap target (a check box's is its label).
function look() {
  const box = (e) => e.getBoundingClientRect().toJSON();
  const shown = (selector) => [...document.querySelectorAll(selector)].filter((e) => e.checkVisibility({visibilityProperty: true}));
  return {width: innerWidth, height: innerHeight, view: box(document.getElementById('view')),
          sideways: scrollX !== 0 || [...document.querySelectorAll('html, body, body *')]
              .some((e) => e.scrollLeft !== 0 || e.scrollWidth > Math.max(e.clientWidth, innerWidth)),
          footer: box(document.querySelector('footer')), text: shown('footer p').map(box),
          controls: shown('footer :is(button, select, input, textarea, a[href]), #again')
              .map((e) => [e.id || e.name, box(e.matches('input') ? e.closest('label') ?? e : e)])};
}

function layout_faults(seen, when) {
  const faults = seen.sideways ? [`${when}: the page is scrolled or scrolls sideways`] : [];
  const apart = (a, b) => a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
  const inside = (a, b) => a.left >= b.left && a.top >= b.top && a.right <= b.right && a.bottom <= b.bottom;
  seen.controls.forEach(([name, b], i) => {
    if (b.left < 0 || b.top < 0 || b.right > seen.width || b.bottom > seen.height) faults.push(`${when}: ${name} is outside the window`);
    if (b.width < 44 || b.height < 44) faults.push(`${when}: ${name} is ${b.width} x ${b.height}`);
    // "Jugar otra vez" stands over the ended game; everything else apart from it.
    const others = [...seen.text, ...seen.controls.slice(i + 1).map(([, c]) => c)];
    if (name === 'again' ? !inside(b, seen.view) || !others.every((c) => apart(b, c))
                         : ![seen.view, ...others].every((c) => apart(b, c)))
      faults.push(`${when}: ${name} overlaps the game, the text or another control`);
  });
  // Near the largest 4:3 box that leaves the controls one row of 44 px
  // targets below (52 px with their margin) or a 200 px column beside, and
  // the controls right after the game.
  const {width: w, height: h} = seen;
  const allowed = Math.max(Math.min(w, (h - 52) * 4 / 3), Math.min(w - 200, h * 4 / 3));
  if (seen.view.width < 0.95 * allowed) faults.push(`${when}: the game is ${seen.view.width} wide of ${allowed}`);
  const gap = Math.max(seen.footer.top - seen.view.bottom, seen.footer.left - seen.view.right);
  if (gap < 0 || gap > 1) faults.push(`${when}: ${gap} px between the game and the controls`);
  return faults;
}

// Two fingers put down 40 px apart around (x, y) and spread to 300 (inside
// the window); the page's zoom then. Input.synthesizePinchGesture zooms
// nothing in headless Chromium; touch points sent one by one do.
async function pinch(page, x, y) {
  const cdp = await page.createCDPSession();
  const fingers = (d) => [{x: Math.max(1, x - d), y, id: 0}, {x: Math.min(page.viewport().width - 1, x + d), y, id: 1}];
  await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: fingers(20)});
  for (let d = 30; d <= 150; d += 10) await cdp.send('Input.dispatchTouchEvent', {type: 'touchMove', touchPoints: fingers(d)});
  await cdp.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
  await cdp.detach();
  return page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done(visualViewport.scale))));
}

for (const [width, height, ratio] of [[390, 844, 3], [844, 390, 3], [768, 1024, 2], [1024, 768, 2]]) {
  test(`${width} x ${height} by touch: the controls fit and zoom nothing, the game fills its room, nothing moves at the end`, async (t) => {
    const page = await browser.newPage();
    await page.setViewport({width, height, deviceScaleFactor: ratio, isMobile: true, hasTouch: true});
    // The pinch zooms a page that lets it, so the pinches below prove something.
    await page.setContent('<meta name="viewport" content="width=device-width, initial-scale=1"><p>Ranvel</p>');
    assert.ok(await pinch(page, width / 2, height / 2) > 2, 'the pinch zooms nothing');
    await page.goto(site.url);
    await page.waitForFunction(() => window.ranvel_test && window.ranvel_test.running(), {timeout: 20000});
    const playing = await page.evaluate(look);
    const problems = layout_faults(playing, 'playing');
    for (const [name, b] of [['the controls\' band', playing.footer], ...playing.text.map((t) => ['the instructions', t]),
                             ...playing.controls]) {
      const scale = await pinch(page, b.x + b.width / 2, b.y + b.height / 2);
      if (scale !== 1) problems.push(`a pinch on ${name} zoomed the page to ${scale.toFixed(2)}`);
    }
    // Quit from the options screen; a key ends the closing page once it has been shown 5 s.
    await page.focus('#view');
    for (const key of ['Escape', 's', 'Space']) {
      await page.keyboard.press(key);
      await sleep(500);
    }
    await page.waitForFunction(() => window.ranvel_test.ended(), {timeout: 15000});
    const ended = await page.evaluate(look);
    problems.push(...layout_faults(ended, 'ended'));
    const moved = (box, name) => JSON.stringify(box) !== JSON.stringify(name ? new Map(ended.controls).get(name) : ended.view);
    if (moved(playing.view) || playing.controls.some(([name, box]) => moved(box, name))) problems.push('something moved at the end');
    t.diagnostic(`game ${ended.view.width.toFixed(1)} x ${ended.view.height.toFixed(1)} (${(100 * ended.view.width /
                 Math.min(width, height * 4 / 3)).toFixed(1)} % of the window's 4:3 box); tap targets: ` +
                 ended.controls.map(([name, b]) => `${name} ${b.width.toFixed(0)} x ${b.height.toFixed(0)}`).join(', '));
    assert.deepEqual(problems, []);
    await page.close();
  });
}

test('the controls fit phones and tablets in every language', async () => {
  const problems = [];
  for (const language of ['es', 'ca', 'gl', 'eu', 'pt', 'en']) {
    for (const [width, height, ratio] of [[390, 844, 3], [844, 390, 3], [768, 1024, 2], [1024, 768, 2]]) {
      const page = await browser.newPage();
      await page.setViewport({width, height, deviceScaleFactor: ratio, isMobile: true, hasTouch: true});
      await page.goto(`${site.url}?idioma=${language}`);
      await page.waitForFunction(() => window.ranvel_test && window.ranvel_test.running(), {timeout: 20000});
      problems.push(...layout_faults(await page.evaluate(look), `${language}, ${width} x ${height}`));
      await page.close();
    }
  }
  assert.deepEqual(problems, []);
});

test('the page and the game speak the address\'s language, else the browser\'s; the menu changes it, asking during a game', async () => {
  const shows_language = async (game, code) => {
    const texts = await game.page.evaluate(() => window.RANVEL_PAGE_TEXTS);
    assert.equal(await game.page.evaluate(() => document.documentElement.lang), code);
    assert.equal(await game.page.$eval('#level-label', (e) => e.textContent), texts[code]?.Nivel ?? 'Nivel');
    assert.equal(await game.page.$eval('#language', (e) => e.value), code);
    await until_picture(game, golden(`languages/${code}/options`), `options screen in ${code}`);
  };
  let game = await new GamePage(browser, site.url).open(undefined, '?idioma=ca');
  await shows_language(game, 'ca');
  // During a game the menu asks first; no keeps the game, yes starts the page again in English.
  await game.page.focus('#view');
  await game.page.keyboard.press('Enter');
  const answers = [false, true];
  const asked = [];
  game.page.on('dialog', (d) => {
    asked.push(d.message());
    answers.shift() ? d.accept() : d.dismiss();
  });
  await sleep(500);
  await game.page.select('#language', 'en');
  assert.equal(await game.page.$eval('#language', (e) => e.value), 'ca');
  await Promise.all([game.page.waitForNavigation(), game.page.select('#language', 'en')]);
  assert.equal(asked.length, 2);
  const catalan = (await game.page.evaluate(() => window.RANVEL_PAGE_TEXTS)).ca;
  assert.equal(asked[0], catalan['Hay una partida en juego. ¿Cambiar de idioma y empezar de nuevo?']);
  assert.equal(new URL(game.page.url()).search, '?idioma=en');
  await game.page.waitForFunction(() => window.ranvel_test && window.ranvel_test.running(), {timeout: 20000});
  await shows_language(game, 'en');
  await game.close();
  // No address: the browser's preferred language, or Spanish when the game has none of them.
  for (const [preferred, code] of [['eu', 'eu'], ['en-US', 'en'], ['fr', 'es']]) {
    const other = await launch_browser(preferred);
    try {
      game = await new GamePage(other, site.url).open();
      if (code === 'es') await until_picture(game, golden('options'), 'options screen in Spanish');
      else await shows_language(game, code);
      assert_no_problems(game);
    } finally {
      await other.close();
    }
  }
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
  // The page's "Sonido" switch: no reload, the address keeps ?sin-sonido,
  // and M shows on it.
  await page.evaluate(() => { window.not_reloaded = true; });
  await page.click('#sound');
  assert.equal(new URL(page.url()).search, '?sin-sonido');
  await page.focus('#view');
  await page.keyboard.press('ArrowRight');
  await sleep(300);
  assert.equal(await page.evaluate(() => Module._web_sound_on()), 0);
  await page.keyboard.press('m');
  assert.equal(await page.$eval('#sound', (e) => e.checked), true);
  assert.equal(new URL(page.url()).search, '');
  assert.equal(await page.evaluate(() => window.not_reloaded), true);
  // "Jugar" clicks; a 1 knocks as it lands, the computer's rod after its slide.
  await page.keyboard.press('Enter');
  await until_picture(game, golden('first_frame'), 'first frame');
  await page.keyboard.press('1');
  await page.waitForFunction(() => window.audio_spy.started.length >= 5, {timeout: 15000});
  assert.deepEqual((await spy()).started.slice(2), [[50, 0.5], [120, 0.5], [120, 0.5]]);
  assert_no_problems(game);
  await game.close();
});

// Installed, offline, anywhere on a server, in one file, in one zip.
const SITE = join(WEB_BUILD, 'site');
const site_files = (folder = SITE) => readdirSync(folder, {recursive: true, withFileTypes: true})
  .filter((e) => e.isFile()).map((e) => join(e.parentPath ?? e.path, e.name).slice(folder.length + 1)).sort();
const until_kept = (game) => game.page.waitForFunction(() => navigator.serviceWorker.controller, {timeout: 20000});
async function reload(game, query = '') {
  await game.page.goto(game.url + query);
  await game.page.waitForFunction(() => window.ranvel_test && window.ranvel_test.running(), {timeout: 20000});
}
async function own_server(t, folder) {
  const own = await serve_folder(folder);
  t.after(() => own.server.close() && own.server.closeAllConnections());
  return own;
}

test('installable: Chromium finds no error, the icons are the sizes named, the colours the game\'s', async () => {
  const game = await open_game();
  const cdp = await game.page.createCDPSession();
  assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
  const manifest = JSON.parse((await cdp.send('Page.getAppManifest')).data);
  for (const {src, sizes} of manifest.icons) assert.equal(Object.values(read_png(join(SITE, src))).slice(0, 2).join('x'), sizes, src);
  const colours = Buffer.from(golden('options').palette).toString('hex').match(/.{6}/g).map((c) => '#' + c);
  assert.ok(colours.includes(manifest.theme_color) && colours.includes(manifest.background_color));
  assert.equal(await game.page.$eval('meta[name=theme-color]', (m) => m.content), manifest.theme_color);
  await game.close();
});

test('after one visit the game opens and plays offline, a shared link with its query too', async (t) => {
  const own = await own_server(t, SITE);
  const game = await new GamePage(browser, own.url).open();
  await until_kept(game);
  own.server.close() && own.server.closeAllConnections();
  await game.page.setOfflineMode(true);
  await reload(game);
  await play_alongside(game, [['wait', 300], ['shot', 'options'], ['key', 'enter'], ['wait', 500], ['shot', 'first_frame'],
                              ['key', '4'], ['wait', 9000], ['shot', 'four_laid_and_answered']]);
  await reload(game, '?nivel=facil&ayuda');
  await until_picture(game, golden('options'), 'options screen offline, with the aids');
  await game.page.keyboard.press('Enter');
  await until_picture(game, golden('hints/hints_first_frame'), 'first frame offline, with the hints');
  // A rod laid: the camera follows the total, a frame at every step.
  const frames = await game.page.evaluate(() => window.ranvel_test.frames());
  await game.page.keyboard.press('1');
  await game.page.waitForFunction((f) => window.ranvel_test.frames() > f + 10, {timeout: 10000}, frames);
  assert_no_problems(game);
  await game.close();
});

test('served from /juegos/ranvel/, it is kept there; a second build replaces the first after one load, its cache gone', async (t) => {
  const root = mkdtempSync(join(tmpdir(), 'ranvel-server-'));
  t.after(() => rmSync(root, {recursive: true, force: true}));
  const folder = join(root, 'juegos/ranvel');
  cpSync(SITE, folder, {recursive: true});
  const own = await own_server(t, root);
  const game = await new GamePage(browser, own.url + 'juegos/ranvel/').open();
  await until_picture(game, golden('options'), 'options screen under /juegos/ranvel/');
  await until_kept(game);
  const [first] = await game.page.evaluate(() => caches.keys());
  // The second build: another page.js, and its worker made anew.
  appendFileSync(join(folder, 'page.js'), '\nwindow.ranvel_build = 2;\n');
  execFileSync('node', [join(ROOT, 'web/make_worker.mjs'), folder, '1.0.0']);
  await reload(game);
  assert.equal(await game.page.evaluate(() => window.ranvel_build), undefined, 'the first build, whole, while the second comes');
  await game.page.waitForFunction((old) => caches.keys().then((k) => k.length === 1 && k[0] !== old), {timeout: 20000}, first);
  await reload(game);
  assert.equal(await game.page.evaluate(() => window.ranvel_build), 2);
  await until_picture(game, golden('options'), 'options screen of the second build');
  assert.match(first, / \/juegos\/ranvel\/$/);
  assert.deepEqual(own.requests.filter((path) => !path.startsWith('/juegos/ranvel/')), []);
  assert_no_problems(game);
  await game.close();
});

test('the page in one file opens from the disk with no server and no worker, and plays', async () => {
  const game = await new GamePage(browser, pathToFileURL(join(WEB_BUILD, 'ranvel-sin-servidor.html')).href).open();
  await until_picture(game, golden('options'), 'options screen from a file');
  await game.page.keyboard.press('Enter');
  await until_picture(game, golden('first_frame'), 'first frame from a file');
  assert_no_problems(game);
  await game.close();
});

test('make web-dist: the site and the one-file page in a zip, index.html at its root, the same bytes twice', (t) => {
  const folder = mkdtempSync(join(tmpdir(), 'ranvel-dist-'));
  t.after(() => rmSync(folder, {recursive: true, force: true}));
  const zip = (name, mode, time) => {
    cpSync(SITE, join(folder, name), {recursive: true});
    chmodSync(join(folder, name, 'index.html'), mode);  // the same files, at other times and permissions
    utimesSync(join(folder, name, 'index.html'), time, time);
    execFileSync('bash', [join(ROOT, 'web/dist.sh'), join(folder, name), join(WEB_BUILD, 'ranvel-sin-servidor.html'), join(folder, name + '.zip')]);
    return readFileSync(join(folder, name + '.zip'));
  };
  assert.ok(zip('one', 0o644, new Date()).equals(zip('two', 0o600, new Date(2001, 2, 3))), 'two zips of the same files differ');
  const names = execFileSync('zip', ['-sf', join(folder, 'one.zip')], {encoding: 'utf8'}).split('\n').slice(1, -2);
  assert.deepEqual(names.map((name) => name.trim()).sort(), [...site_files(), 'ranvel-sin-servidor.html'].sort());
});
