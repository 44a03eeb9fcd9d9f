// The page as one file that plays when opened from a disk, with no server
// (a browser fetches no .wasm from a file): index.html with page_texts.js,
// page.js and the game built with its WebAssembly inside (-sSINGLE_FILE)
// written into it, and without the manifest, which a page from a file
// cannot load.
//
//   node web/make_single_page.mjs SITE GAME_JS OUT
import {readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';

const [site, game, out] = process.argv.slice(2);
if (!out) {
  console.error('usage: node web/make_single_page.mjs SITE GAME_JS OUT');
  process.exit(2);
}
// A script's text inside the page: nothing in it may end the element.
const inline = (file) => `<script>\n${readFileSync(file, 'utf8').replace(/<\/(script)/gi, '<\\/$1')}</script>`;
let page = readFileSync(join(site, 'index.html'), 'utf8');
let has_game = false;
page = page.replace(/<link rel="manifest"[^>]*>\n?/, '').replace(/<script src="([^"]+)"( async)?><\/script>/g, (_, src) => {
  has_game ||= src === 'ranvel.js';
  return inline(src === 'ranvel.js' ? game : join(site, src));
});
if (!has_game || /<script src=|rel="manifest"/.test(page)) {
  console.error(`make_single_page: ${site}/index.html: its manifest or a script could not be taken into the page`);
  process.exit(1);
}
writeFileSync(out, page);
