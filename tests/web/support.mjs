// What the browser tests and the browser measurements share: the system's
// Chromium driven by puppeteer-core, the built page served on 127.0.0.1,
// paletted PNGs read back as indices and palette, and the desktop replay
// runner for pictures to compare with.
import {execFileSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';
import {inflateSync} from 'node:zlib';
import puppeteer from 'puppeteer-core';

import {serve_folder} from '../../web/serve.mjs';

export const ROOT = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const PAGE_WIDTH = 800;
export const PAGE_HEIGHT = 600;
export const CHROMIUM = process.env.RANVEL_CHROMIUM || '/usr/bin/chromium';

// Chromium as these tests need it: headless, as root without its sandbox,
// nothing fetched from the network behind our back, a fresh profile.
// A headless browser that prefers the given language (Chromium's own is
// en-US whatever the machine's locale; the game's tests want Spanish).
export async function launch_browser(language = 'es') {
  const profile = mkdtempSync(join(tmpdir(), 'ranvel-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', `--user-data-dir=${profile}`, `--lang=${language}`, `--accept-lang=${language}`],
  });
  // The profile goes once the browser has closed.
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, {recursive: true, force: true, maxRetries: 5, retryDelay: 100});
  };
  return browser;
}

export const WEB_BUILD = resolve(ROOT, process.env.RANVEL_WEB_BUILD || 'build-web');

export async function serve_site(folder = join(WEB_BUILD, 'site')) {
  return serve_folder(folder);
}

// A PNG read back whole: {width, height, channels, data}, and for an 8-bit
// paletted one (the replay runner's shots, the golden pictures) also
// {indices, palette (768 bytes)}.
export function read_png(source) {
  const data = typeof source === 'string' ? readFileSync(source) : Buffer.from(source);
  let at = 8;
  let width = 0, height = 0, channels = 0, paletted = false;
  const palette = new Uint8Array(768);
  const idat = [];
  while (at < data.length) {
    const length = data.readUInt32BE(at);
    const type = data.toString('latin1', at + 4, at + 8);
    const body = data.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[body[9]];
      paletted = body[9] === 3;
      if (body[8] !== 8 || body[12] !== 0) throw new Error('only 8-bit PNGs without interlacing are read here');
    } else if (type === 'PLTE') {
      palette.set(body.subarray(0, Math.min(768, body.length)));
    } else if (type === 'IDAT') {
      idat.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(idat));
  const stride = width * channels;
  const pixels = new Uint8Array(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = pixels.subarray(y * stride, (y + 1) * stride);
    const up = y > 0 ? pixels.subarray((y - 1) * stride, y * stride) : new Uint8Array(stride);
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? out[x - channels] : 0, b = up[x], c = x >= channels ? up[x - channels] : 0;
      let predictor = 0;
      if (filter === 1) predictor = a;
      else if (filter === 2) predictor = b;
      else if (filter === 3) predictor = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      out[x] = (line[x] + predictor) & 0xFF;
    }
  }
  return paletted ? {width, height, channels, data: pixels, indices: pixels, palette} : {width, height, channels, data: pixels};
}

// How two pictures (indices + palette) differ, in words; '' when they are the same.
export function picture_difference(actual, expected) {
  let first = -1, count = 0;
  for (let i = 0; i < expected.indices.length; ++i) {
    if (actual.indices[i] !== expected.indices[i]) {
      if (first < 0) first = i;
      ++count;
    }
  }
  const palette_entries = [];
  for (let i = 0; i < 256; ++i)
    for (let c = 0; c < 3; ++c)
      if (actual.palette[3 * i + c] !== expected.palette[3 * i + c]) {
        palette_entries.push(i);
        break;
      }
  if (count === 0 && palette_entries.length === 0) return '';
  const where = first < 0 ? '' : ` (first at ${first % PAGE_WIDTH}, ${Math.floor(first / PAGE_WIDTH)})`;
  return `${count} pixels differ${where}, palette entries differ: [${palette_entries.slice(0, 12).join(' ')}]`;
}

// Runs the desktop replay runner on a script; returns the folder of its shots.
export function replay_pictures(script_text) {
  const runner = resolve(ROOT, process.env.RANVEL_REPLAY || 'build/ranvel-replay');
  const folder = mkdtempSync(join(tmpdir(), 'ranvel-replay-'));
  writeFileSync(join(folder, 'script.replay'), script_text);
  execFileSync(runner, [join(folder, 'script.replay'), join(folder, 'shots')], {stdio: ['ignore', 'ignore', 'pipe']});
  return join(folder, 'shots');
}

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
export {sleep};

// One page of the game in the browser, with what it reported.
export class GamePage {
  constructor(browser, url) {
    this.browser = browser;
    this.url = url;
    this.problems = [];  // console errors and warnings, page errors, failed requests, requests to other hosts
    this.console = [];  // every console line
  }

  // Loads the page at the viewport's size (query: the address's parameters,
  // '?...'; prepare: what to do to the browser's page before it loads).
  async open(viewport = {width: PAGE_WIDTH, height: PAGE_HEIGHT}, query = '', prepare = null) {
    this.page = await this.browser.newPage();
    const page = this.page;
    if (prepare) await prepare(page);
    page.on('console', (m) => {
      this.console.push(m.text());
      if (m.type() === 'error' || m.type() === 'warn' || m.type() === 'warning')
        this.problems.push(`console ${m.type()}: ${m.text()}`);
    });
    page.on('pageerror', (e) => this.problems.push(`page error: ${e.message}`));
    page.on('requestfailed', (r) => this.problems.push(`request failed: ${r.url()} ${r.failure()?.errorText}`));
    page.on('request', (r) => {
      if (!r.url().startsWith(this.url) && !r.url().startsWith('data:')) this.problems.push(`request elsewhere: ${r.url()}`);
    });
    page.on('response', (r) => {
      if (r.status() >= 400) this.problems.push(`HTTP ${r.status()}: ${r.url()}`);
    });
    await this.set_size(viewport.width, viewport.height);
    await page.goto(this.url + query);
    await page.waitForFunction(() => window.ranvel_test && window.ranvel_test.running(), {timeout: 20000});
    this.loaded = true;
    await this.set_size(viewport.width, viewport.height);
    // Two frames for the page to lay itself out at that size.
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    return this;
  }

  // Sizes the window so that the game's stage (the window less the line
  // under it) is width x height CSS pixels.
  // (CSS pixels; ratio: device pixels to a CSS pixel).
  async set_size(width, height, ratio = 1) {
    await this.page.setViewport({width, height: height + (this.footer ?? 40), deviceScaleFactor: ratio});
    if (!this.loaded) return;
    // The controls may take another number of rows at the new size: measured
    // again until the stage comes out right.
    for (let tries = 0; tries < 4; ++tries) {
      const footer = await this.page.evaluate(() => window.innerHeight - document.getElementById('stage').clientHeight);
      if (footer === this.footer) break;
      this.footer = footer;
      await this.page.setViewport({width, height: height + this.footer, deviceScaleFactor: ratio});
    }
  }

  // The page last shown (indices and palette); with_canvas adds the pixels
  // of the 800 x 600 canvas the game draws into (RGBA), read at the same moment.
  async shown(with_canvas = false) {
    const s = await this.page.evaluate((with_canvas) => {
      const shown = window.ranvel_test.shown();
      if (!with_canvas) return shown;
      // Read through a copy made for reading, so the game's canvas stays as the game uses it.
      const c = document.getElementById('ranvel');
      const copy = document.createElement('canvas');
      copy.width = c.width;
      copy.height = c.height;
      const context = copy.getContext('2d', {willReadFrequently: true});
      context.drawImage(c, 0, 0);
      const bytes = context.getImageData(0, 0, c.width, c.height).data;
      let text = '';
      for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return {...shown, canvas: btoa(text)};
    }, with_canvas);
    const bytes = (text) => new Uint8Array(Buffer.from(text, 'base64'));
    return {indices: bytes(s.indices), palette: bytes(s.palette), canvas: s.canvas && bytes(s.canvas)};
  }

  // Waits until the page shown equals the expected picture. Returns '' then
  // or how it still differs after timeout_ms, and what was shown (with the
  // canvas, read at the moment the page was found equal).
  async until_picture(expected, timeout_ms = 15000) {
    const end = Date.now() + timeout_ms;
    let difference = 'nothing shown';
    let shown = null;
    while (Date.now() < end) {
      shown = await this.shown();
      difference = picture_difference(shown, expected);
      if (!difference) {
        shown = await this.shown(true);
        difference = picture_difference(shown, expected);
        if (!difference) return {difference, shown};
      }
      await sleep(100);
    }
    return {difference, shown};
  }

  // Where a page pixel's centre lies in the window, in CSS pixels.
  async client_point(x, y) {
    const box = await this.page.evaluate(() => {
      const r = document.getElementById('view').getBoundingClientRect();
      return {left: r.left, top: r.top, width: r.width, height: r.height};
    });
    return {x: box.left + (x + 0.5) * box.width / PAGE_WIDTH, y: box.top + (y + 0.5) * box.height / PAGE_HEIGHT};
  }

  async close() {
    await this.page.close();
  }
}
