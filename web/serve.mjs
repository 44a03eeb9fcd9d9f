// A static web server for the built page, on this machine only (127.0.0.1),
// as any static host would serve it: plain files, their types, and a 304 for
// a file the browser already has.
//
//   node web/serve.mjs [FOLDER] [PORT]     (defaults: build-web/site, 8080)
//
// Also imported by the browser tests and measurements (serve_folder).
import {createServer} from 'node:http';
import {readFile, stat} from 'node:fs/promises';
import {extname, join, normalize, resolve, sep} from 'node:path';
import {fileURLToPath} from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.css': 'text/css; charset=utf-8',
  '.png': 'image/png',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
};

// Serves folder on 127.0.0.1 (port 0: any free port). Resolves to
// {server, url, requests}, where requests lists every path asked for.
export function serve_folder(folder, port = 0) {
  const root = resolve(folder);
  const requests = [];
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    requests.push(path);
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    if (file !== root && !file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const info = await stat(file);
      const tag = `"${info.size}-${Math.floor(info.mtimeMs)}"`;
      const headers = {'ETag': tag, 'Cache-Control': 'no-cache'};
      if (request.headers['if-none-match'] === tag) {
        response.writeHead(304, headers).end();
        return;
      }
      const body = await readFile(file);
      headers['Content-Type'] = TYPES[extname(file)] || 'application/octet-stream';
      headers['Content-Length'] = body.length;
      response.writeHead(200, headers).end(request.method === 'HEAD' ? undefined : body);
    } catch {
      response.writeHead(404, {'Content-Type': 'text/plain'}).end('not found\n');
    }
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => {
      done({server, url: `http://127.0.0.1:${server.address().port}/`, requests});
    });
  });
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const folder = process.argv[2] || 'build-web/site';
  const port = Number(process.argv[3] || 8080);
  const {url} = await serve_folder(folder, port);
  console.log(`Ranvel: ${folder} at ${url} (Ctrl+C stops)`);
}
