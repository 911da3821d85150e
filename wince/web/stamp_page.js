// Writes the page's service worker for the build in FOLDER: the worker
// (TEMPLATE) with the SHA-256 of each file it keeps and a cache named by
// them all, so that a build whose bytes differ in any file has a worker of
// other bytes, which the browser then installs. Given an ID of the same
// length, first marks the build in FOLDER with it (in the script and the
// module alike) in place of the one it has: a second build that differs
// from the first in nothing else, for the browser test's updates.
//   node stamp_page.js TEMPLATE FOLDER [ID]
'use strict';
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');

const KEPT = [
  'index.html', 'pellax-rim.js', 'pellax-rim.wasm', 'manifest.webmanifest', 'icon-192.png',
  'icon-512.png'
];
const MARK = 'pellax-build:';  // runner/web.cpp's build mark, its ID after it
const sha256 = (bytes) => crypto.createHash('sha256').update(bytes).digest('hex');

function remark(folder, id) {
  for (const name of ['pellax-rim.js', 'pellax-rim.wasm']) {
    const file = path.join(folder, name), bytes = fs.readFileSync(file);
    const at = bytes.indexOf(MARK);
    if (at < 0) throw new Error(`no build mark in ${file}`);
    const old = bytes.subarray(at + MARK.length, at + MARK.length + id.length).toString('latin1');
    for (let from = 0, i; (i = bytes.indexOf(MARK + old, from)) >= 0; from = i + 1)
      bytes.write(id, i + MARK.length, 'latin1');
    fs.writeFileSync(file, bytes);
  }
}

const [template, folder, id] = process.argv.slice(2);
if (id) remark(folder, id);
const files = {};
for (const name of KEPT) files[name] = sha256(fs.readFileSync(path.join(folder, name)));
const build = sha256(JSON.stringify(files)).slice(0, 16);
// Its comments are for the source alone: the page carries no more than it
// runs.
const worker = fs.readFileSync(template, 'utf8')
                   .replace('@BUILD@', build)
                   .replace('@FILES@', JSON.stringify(files))
                   .split('\n')
                   .map((line) => line.trim())
                   .filter((line) => line && !line.startsWith('//'))
                   .join('\n');
fs.writeFileSync(path.join(folder, 'sw.js'), worker);
