// Draws the app's icon, the identity matrix between brackets, as icon.svg and as
// icon-192.png and icon-512.png (the sizes that browsers ask of an installable
// app). Run with node from web/assets/ (node ../build/make-icons.js); the outputs are committed.
import fs from 'node:fs';
import zlib from 'node:zlib';

const background = '#161616';
// Rectangles in a 100 x 100 square: [x, y, width, height, colour]. The content
// keeps inside the middle 80 %, which survives a maskable icon's round crop.
const shapes = [
  [20, 20, 5, 60, '#e8e8e8'], [20, 20, 10, 5, '#e8e8e8'], [20, 75, 10, 5, '#e8e8e8'],
  [75, 20, 5, 60, '#e8e8e8'], [70, 20, 10, 5, '#e8e8e8'], [70, 75, 10, 5, '#e8e8e8'],
];
for (let r = 0; r < 3; r++) {
  for (let c = 0; c < 3; c++) {
    const [size, colour] = r === c ? [10, '#ffc34d'] : [4, '#9a9a9a'];
    shapes.push([35 + 15 * c - size / 2, 35 + 15 * r - size / 2, size, size, colour]);
  }
}

fs.writeFileSync('icon.svg', [
  '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 100">',
  `<rect width="100" height="100" fill="${background}"/>`,
  ...shapes.map(([x, y, w, h, fill]) => `<rect x="${x}" y="${y}" width="${w}" height="${h}" fill="${fill}"/>`),
  '</svg>', ''].join('\n'));

const rgb = (colour) => [1, 3, 5].map((at) => parseInt(colour.slice(at, at + 2), 16));

function crc32(bytes) {
  let crc = ~0;
  for (const byte of bytes) {
    crc ^= byte;
    for (let k = 0; k < 8; k++) crc = (crc >>> 1) ^ (0xedb88320 & -(crc & 1));
  }
  return ~crc >>> 0;
}

function chunk(type, data) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(data.length);
  head.write(type, 4, 'latin1');
  const tail = Buffer.alloc(4);
  tail.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), data])));
  return Buffer.concat([head, data, tail]);
}

// An 8-bit RGB PNG, each row with filter 0; a pixel takes the colour of the last
// shape that covers its centre.
function png(size) {
  const rows = [];
  for (let y = 0; y < size; y++) {
    const row = [0];
    for (let x = 0; x < size; x++) {
      const [u, v] = [(x + 0.5) * 100 / size, (y + 0.5) * 100 / size];
      const hit = shapes.findLast(([sx, sy, w, h]) => u >= sx && u < sx + w && v >= sy && v < sy + h);
      row.push(...rgb(hit ? hit[4] : background));
    }
    rows.push(Buffer.from(row));
  }
  const header = Buffer.alloc(13);
  header.writeUInt32BE(size, 0);
  header.writeUInt32BE(size, 4);
  header.set([8, 2, 0, 0, 0], 8);
  return Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk('IHDR', header),
                        chunk('IDAT', zlib.deflateSync(Buffer.concat(rows), { level: 9 })),
                        chunk('IEND', Buffer.alloc(0))]);
}

for (const size of [192, 512]) fs.writeFileSync(`icon-${size}.png`, png(size));
