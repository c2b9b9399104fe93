// Zips made and read by fflate. A zip made here has the same bytes for the
// same files: every entry has one fixed time and the files keep the order given.
// A zip read is unpacked only up to a size given: a small zip may unpack to
// gigabytes, and may say otherwise of its files.
import { zipSync, unzipSync, Unzip, UnzipInflate } from 'fflate';

// Bytes of a zip read at a time: deflate unpacks each to 1,032 times as many
// at most (2 MB), so that a zip that lies about its sizes stops within 2 MB
// of the cap, and fflate, which takes longer per byte the more one push
// unpacks, gets there sooner than with larger pieces.
const slice = 2048;

// 1 January 1980, the first time a zip can hold, in local time, which is how
// fflate reads a date, so that every time zone writes the same bytes.
const fixedTime = () => new Date(1980, 0, 1, 0, 0, 0);

// The zip of files, [{ name, bytes }] (a Uint8Array each, or a string, which
// is written in UTF-8), as a Uint8Array, each file deflated at the highest
// level. Throws on two files of one name.
export function zip(files) {
  const entries = {};
  for (const { name, bytes } of files) {
    if (Object.hasOwn(entries, name)) throw new Error(`two files named ${name}`);
    const data = typeof bytes === 'string' ? new TextEncoder().encode(bytes) : bytes;
    entries[name] = [data, { mtime: fixedTime(), level: 9 }];
  }
  return zipSync(entries);
}

// The bytes of parts, one after another.
function joined(parts) {
  const out = new Uint8Array(parts.reduce((sum, part) => sum + part.length, 0));
  parts.reduce((at, part) => { out.set(part, at); return at + part.length; }, 0);
  return out;
}

// The files of a zip, [{ name, bytes }], in the order that it holds them,
// folders left out. Throws when bytes are not a zip that fflate reads, and a
// RangeError when the files come to more than cap bytes: as the zip's index
// says, before anything is unpacked, or as they unpack, which stops there.
export function unzip(bytes, cap = Infinity) {
  let size = 0;
  const count = (n) => {
    size += n;
    if (size > cap) throw new RangeError('unpacks past the cap');
  };
  unzipSync(bytes, { filter: (file) => { count(file.originalSize); return false; } });
  size = 0;
  const files = [];
  const reading = new Unzip((file) => {
    const parts = [];
    file.ondata = (error, data, final) => {
      if (error) throw error;
      count(data.length);
      parts.push(data);
      if (final && !file.name.endsWith('/')) files.push({ name: file.name, bytes: joined(parts) });
    };
    file.start();
  });
  reading.register(UnzipInflate);
  for (let at = 0; at < bytes.length; at += slice) reading.push(bytes.subarray(at, at + slice), at + slice >= bytes.length);
  return files;
}
