// Writes the site's worker, SITE/sw.js: web/sw.js after the build's name
// (the version and a digest of the files) and the list of every file the
// site folder holds, as built (so a file added to the site is kept too).
//
//   node web/make_worker.mjs SITE VERSION
//
// The digest is the SHA-256 of the lines "FILE SHA256\n", one a file in the
// list's order, which the worker checks the files it keeps against.
import {createHash} from 'node:crypto';
import {readFileSync, readdirSync, writeFileSync} from 'node:fs';
import {dirname, join, relative, sep} from 'node:path';
import {fileURLToPath} from 'node:url';

const [site, version] = process.argv.slice(2);
if (!site || !version) {
  console.error('usage: node web/make_worker.mjs SITE VERSION');
  process.exit(2);
}
const WORKER = 'sw.js';
const sha256 = (bytes) => createHash('sha256').update(bytes).digest('hex');

const files = readdirSync(site, {recursive: true, withFileTypes: true})
  .filter((entry) => entry.isFile())
  .map((entry) => relative(site, join(entry.parentPath ?? entry.path, entry.name)).split(sep).join('/'))
  .filter((file) => file !== WORKER)
  .sort();
const digest = sha256(files.map((file) => `${file} ${sha256(readFileSync(join(site, file)))}\n`).join(''));
const build = {name: `${version}-${digest.slice(0, 16)}`, digest, files};
const source = readFileSync(join(dirname(fileURLToPath(import.meta.url)), WORKER), 'utf8');
writeFileSync(join(site, WORKER), `// Made by web/make_worker.mjs for this build: do not edit.\nconst BUILD = ${JSON.stringify(build)};\n\n${source}`);
