// Makes the page's icons (192 and 512 pixels, whole multiples of the icon's
// 16 x 16 grid, so they stay crisp) from the icon's pixels, which the
// program given prints, one 0xAARRGGBB word in hex a line.
//   node make_icons.js FOLDER PIXELS.js
'use strict';
const childProcess = require('child_process');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const GRID = 16;
const printed =
    childProcess.execFileSync(process.execPath, [process.argv[3]], { encoding: 'utf8' });
const pixels = printed.trim().split('\n').map((word) => parseInt(word, 16) >>> 0);
if (pixels.length !== GRID * GRID) throw new Error('expected 256 pixels, got ' + pixels.length);

const CRC = new Int32Array(256).map((_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c;
});
function crc32(bytes) {
  let c = -1;
  for (const b of bytes) c = CRC[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ -1) >>> 0;
}
function chunk(type, data) {
  const body = Buffer.concat([Buffer.from(type, 'latin1'), data]);
  const out = Buffer.alloc(12 + data.length);
  out.writeUInt32BE(data.length, 0);
  body.copy(out, 4);
  out.writeUInt32BE(crc32(body), 8 + data.length);
  return out;
}
function png(size) {
  const scale = size / GRID;
  const rows = Buffer.alloc(size * (1 + size * 4));
  for (let y = 0; y < size; ++y) {
    for (let x = 0; x < size; ++x) {
      const p = pixels[Math.floor(y / scale) * GRID + Math.floor(x / scale)];
      const at = y * (1 + size * 4) + 1 + x * 4;
      rows.writeUInt32BE(((p << 8) | (p >>> 24)) >>> 0, at);  // ARGB to RGBA
    }
  }
  const header = Buffer.alloc(13);
  header.writeUInt32BE(size, 0);
  header.writeUInt32BE(size, 4);
  header.set([8, 6, 0, 0, 0], 8);  // 8 bits, RGBA
  return Buffer.concat([
    Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk('IHDR', header),
    chunk('IDAT', zlib.deflateSync(rows, { level: 9 })), chunk('IEND', Buffer.alloc(0))
  ]);
}
for (const size of [192, 512])
  fs.writeFileSync(path.join(process.argv[2], `icon-${size}.png`), png(size));
