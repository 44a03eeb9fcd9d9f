// The page's worker: it keeps every file of one build of the site in one
// cache, so the game opens and plays with no network, and never serves the
// files of two builds together (a new ranvel.js never meets an old
// ranvel.wasm). BUILD, written above this by the build (make_worker.mjs),
// names the build and lists its files with their digest.
'use strict';

const SCOPE = new URL(self.registration.scope);
// The scope is in the name: two copies of the site on one host keep apart.
const CACHE = `ranvel-${BUILD.name} ${SCOPE.pathname}`;
const FILES = new Set(BUILD.files);

async function sha256(bytes) {
  const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return Array.from(hash, (b) => b.toString(16).padStart(2, '0')).join('');
}

// Every file asked of the server afresh (revalidated: an unchanged file
// comes from the browser's own cache), and kept only when they all make up
// the build named: a server caught half-way through an update fails the
// install, and the build before stays.
self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const responses = await Promise.all(BUILD.files.map((file) => fetch(new URL(file, SCOPE), {cache: 'no-cache'})));
    let list = '';
    for (const [i, response] of responses.entries()) {
      if (!response.ok) throw new Error(`${BUILD.files[i]}: HTTP ${response.status}`);
      list += `${BUILD.files[i]} ${await sha256(await response.clone().arrayBuffer())}\n`;
    }
    if (await sha256(new TextEncoder().encode(list)) !== BUILD.digest)
      throw new Error(`the server's files are not those of build ${BUILD.name}`);
    const cache = await caches.open(CACHE);
    await Promise.all(responses.map((response, i) => cache.put(new URL(BUILD.files[i], SCOPE), response)));
  })());
});

// A page that has loaded all its files asks a waiting new build to take
// over: its own game cannot meet the new files any more.
self.addEventListener('message', (event) => {
  if (event.data === 'take-over') self.skipWaiting();
});

// The builds before this one are deleted, and the pages open are served
// from this one.
self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys())
      if (name !== CACHE && name.startsWith('ranvel-') && name.endsWith(' ' + SCOPE.pathname)) await caches.delete(name);
    await self.clients.claim();
  })());
});

// The site's files come from the cache, and the page itself (the scope, or
// index.html) with any query: a shared link with ?nivel=facil opens offline
// too. Anything else, another host above all, is left to the browser.
self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== SCOPE.origin || !url.pathname.startsWith(SCOPE.pathname)) return;
  let file = url.pathname.slice(SCOPE.pathname.length);
  if (file === '' && event.request.mode === 'navigate') file = 'index.html';
  if (!FILES.has(file)) return;
  event.respondWith((async () => {
    const kept = await caches.open(CACHE).then((cache) => cache.match(new URL(file, SCOPE)));
    return kept || fetch(event.request);
  })());
});
