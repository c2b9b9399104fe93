// Zips made and read by fflate. A zip made here has the same bytes for the
// same files: every entry has one fixed time and the files keep the order given.
import { zipSync, unzipSync } from 'fflate';

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

// The files of a zip, [{ name, bytes }], in the order that it holds them,
// folders left out. Throws when bytes are not a zip that fflate reads.
export const unzip = (bytes) => Object.entries(unzipSync(bytes))
  .filter(([name]) => !name.endsWith('/'))
  .map(([name, data]) => ({ name, bytes: data }));
