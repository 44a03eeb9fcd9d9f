// Measurements of the web build in headless Chromium (make bench-web): the
// download size (the site, the zip and the page in one file), the time until
// the options screen shows (a fresh browser, a second load in the same one,
// and a load with the network cut once the worker keeps the site), the
// processor the page takes while it
// waits for input, the median time of a whole game frame
// with each floor kernel, and the frames the game draws per second during a
// camera move, with and without WebAssembly SIMD.
//
//   node bench/web/web_bench.mjs [SIMD_BUILD] [SCALAR_BUILD]
// (defaults build-web and build-web-scalar; a missing scalar build is skipped)
import {existsSync, readFileSync, readdirSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {gzipSync} from 'node:zlib';

import {serve_folder} from '../../web/serve.mjs';
import {GamePage, ROOT, launch_browser, read_png, sleep} from '../../tests/web/support.mjs';

const simd_build = resolve(ROOT, process.argv[2] || 'build-web');
const scalar_build = resolve(ROOT, process.argv[3] || 'build-web-scalar');
const LOADS = 7;
const MOVES = 3;

const median = (list) => [...list].sort((a, b) => a - b)[list.length >> 1];
const fixed = (x, digits = 1) => x.toFixed(digits);

// FNV-1a over the indices and the palette, here and in the page alike.
function digest(indices, palette) {
  let h = 0x811C9DC5;
  for (const bytes of [indices, palette])
    for (let i = 0; i < bytes.length; ++i) h = Math.imul(h ^ bytes[i], 0x01000193) >>> 0;
  return h;
}

// Milliseconds from the start of the navigation until the page shows the
// options screen, looked at every animation frame.
async function time_to_options(page, url, wanted) {
  await page.goto(url, {waitUntil: 'domcontentloaded'});
  const handle = await page.waitForFunction((wanted) => {
    if (!window.ranvel_test || !window.ranvel_test.running()) return false;
    const s = window.ranvel_test.shown();
    const bytes = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
    let h = 0x811C9DC5;
    for (const b of [bytes(s.indices), bytes(s.palette)])
      for (let i = 0; i < b.length; ++i) h = Math.imul(h ^ b[i], 0x01000193) >>> 0;
    return h === wanted ? performance.now() : false;
  }, {polling: 'raf', timeout: 20000}, wanted);
  return handle.jsonValue();
}

async function load_times(site) {
  const options = read_png(join(ROOT, 'tests/golden/options.png'));
  const wanted = digest(options.indices, options.palette);
  const cold = [], warm = [], offline = [];
  for (let i = 0; i < LOADS; ++i) {
    const browser = await launch_browser();
    const page = await browser.newPage();
    await page.setViewport({width: 800, height: 640});
    cold.push(await time_to_options(page, site.url, wanted));
    warm.push(await time_to_options(page, site.url, wanted));
    await page.waitForFunction(() => navigator.serviceWorker.controller, {timeout: 20000});
    await page.setOfflineMode(true);
    offline.push(await time_to_options(page, site.url, wanted));
    await browser.close();
  }
  return {cold, warm, offline};
}

async function frame_times(browser) {
  const site = await serve_folder(join(simd_build, 'bench'));
  const page = await browser.newPage();
  const lines = [];
  page.on('console', (m) => lines.push(m.text()));
  await page.goto(site.url + 'frame_time.html');
  for (let waited = 0; !lines.includes('done') && waited < 120000; waited += 200) await sleep(200);
  await page.close();
  site.server.close();
  return lines.filter((l) => l.startsWith('{')).map((l) => JSON.parse(l));
}

// The game's own frames during a camera move: a 10 and the computer's 2
// bring the total to 12; a 5 then moves the camera from 12 to 17 in 1.25 s.
// Counted over its first second, with what the browser showed meanwhile.
async function camera_move(browser, folder) {
  const site = await serve_folder(join(folder, 'site'));
  const drawn = [], shown = [];
  for (let i = 0; i < MOVES; ++i) {
    const game = await new GamePage(browser, site.url).open({width: 800, height: 600});
    const t = game.page;
    // Nothing drawn for 1.2 s (at most 20 s of looking).
    const quiet = async () => {
      let last = -1;
      for (let same = 0, looks = 0; same < 12 && looks < 200; ++looks, await sleep(100)) {
        const now = await t.evaluate(() => window.ranvel_test.frames());
        same = now === last ? same + 1 : 0;
        last = now;
      }
    };
    await sleep(500);
    await t.keyboard.press('Enter');
    await sleep(500);
    await t.keyboard.press('0');
    await quiet();
    const before = await t.evaluate(() => [window.ranvel_test.frames(), window.ranvel_test.views(), performance.now()]);
    await t.keyboard.press('5');
    await sleep(1000);
    const after = await t.evaluate(() => [window.ranvel_test.frames(), window.ranvel_test.views(), performance.now()]);
    const seconds = (after[2] - before[2]) / 1000;
    drawn.push((after[0] - before[0]) / seconds);
    shown.push((after[1] - before[1]) / seconds);
    await game.close();
  }
  site.server.close();
  return {drawn, shown};
}

const size = (file) => {
  const bytes = readFileSync(file);
  return {raw: bytes.length, gzip: gzipSync(bytes, {level: 9}).length};
};

const js = size(join(simd_build, 'site/ranvel.js'));
const wasm = size(join(simd_build, 'site/ranvel.wasm'));
console.log('## Size');
console.log(`ranvel.js ${js.raw} bytes (${js.gzip} gzipped), ranvel.wasm ${wasm.raw} bytes (${wasm.gzip} gzipped): ` +
            `${fixed((js.gzip + wasm.gzip) / 1024)} KiB gzipped together`);
// The whole site, each file gzipped, and the part that makes it an app
// that plays offline.
const site_files = readdirSync(join(simd_build, 'site'), {recursive: true, withFileTypes: true}).filter((e) => e.isFile())
  .map((e) => join(e.parentPath ?? e.path, e.name));
const total = (files) => files.reduce((sum, file) => sum + size(file).gzip, 0);
const app = site_files.filter((file) => /(manifest\.webmanifest|sw\.js|\.png)$/.test(file));
console.log(`the site: ${site_files.length} files, ${fixed(total(site_files) / 1024)} KiB gzipped; the manifest, ` +
            `the worker and the icons ${fixed(total(app) / 1024)} KiB of it`);
for (const file of readdirSync(simd_build).filter((name) => /^ranvel-(sin-servidor\.html|web-.*\.zip)$/.test(name))) {
  const {raw, gzip} = size(join(simd_build, file));
  console.log(`${file}: ${raw} bytes (${gzip} gzipped)`);
}

const site = await serve_folder(join(simd_build, 'site'));
const loads = await load_times(site);
site.server.close();
console.log('\n## Time to the options screen (ms from navigation start, 127.0.0.1)');
console.log(`cold (fresh browser): median ${fixed(median(loads.cold))}, all ${loads.cold.map((x) => fixed(x, 0)).join(' ')}`);
console.log(`warm (second load):   median ${fixed(median(loads.warm))}, all ${loads.warm.map((x) => fixed(x, 0)).join(' ')}`);
console.log(`offline (kept by the worker, network cut): median ${fixed(median(loads.offline))}, all ` +
            loads.offline.map((x) => fixed(x, 0)).join(' '));

const browser = await launch_browser();
{
  // The options screen waiting for input: the page's share of a core.
  const idle_site = await serve_folder(join(simd_build, 'site'));
  const game = await new GamePage(browser, idle_site.url).open({width: 800, height: 600});
  await sleep(1000);
  const before = await game.page.metrics();
  await sleep(5000);
  const after = await game.page.metrics();
  const share = (after.TaskDuration - before.TaskDuration) / (after.Timestamp - before.Timestamp);
  console.log(`\n## Idle on the options screen: ${fixed(100 * share, 2)} % of a core (main thread of the page)`);
  await game.close();
  idle_site.server.close();
}
console.log('\n## A whole game frame (median of 300, ms)');
for (const r of await frame_times(browser))
  console.log(`${r.kernel}: frame ${fixed(r.frame_ms, 2)}, floor alone ${fixed(r.floor_ms, 2)}, ` +
              `options floor ${fixed(r.options_floor_ms, 2)}`);

console.log('\n## Camera move, frames a second (median of ' + MOVES + ' moves; drawn by the game / shown by the browser)');
for (const [name, folder] of [['SIMD', simd_build], ['scalar', scalar_build]]) {
  if (!existsSync(join(folder, 'site/ranvel.wasm'))) {
    console.log(`${name}: no build in ${folder}`);
    continue;
  }
  const r = await camera_move(browser, folder);
  console.log(`${name}: ${fixed(median(r.drawn))} drawn / ${fixed(median(r.shown))} shown ` +
              `(drawn: ${r.drawn.map((x) => fixed(x, 0)).join(' ')})`);
}
await browser.close();
