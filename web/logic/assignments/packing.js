// Packing values into bits, and bits into text that survives where it is sent:
// a bit writer and reader, CRC-32, and two alphabets, base64url for links and
// Crockford's base32 for codes that people copy into chats (digits and capital
// letters only, read back in either case, with O read as 0 and I, L as 1:
// plainBase32).
// Assignments and result codes are built from these. Imports nothing.

const utf8 = new TextEncoder();
const fromUtf8 = new TextDecoder('utf-8', { fatal: true });

// A bit writer: bits(v, n) writes v's n low bits, most significant first (n up
// to 32); uint(v) writes a non-negative integer in groups of 3 bits, each with
// a bit saying whether another follows; text(s) writes s's UTF-8 bytes after
// their count; nibbles(s, alphabet, end) writes each character of s as its
// place in alphabet (of at most 15) in 4 bits, then end; bytes() gives what
// was written, the last byte padded with zeros.
export function writer() {
  const bits = [];
  const w = {
    bits(v, n) {
      for (let i = n - 1; i >= 0; i--) bits.push(Math.floor(v / 2 ** i) % 2);
      return w;
    },
    uint(v) {
      const groups = [];
      do { groups.unshift(v % 8); v = Math.floor(v / 8); } while (v > 0);
      groups.forEach((g, i) => w.bits(g, 3).bits(Number(i < groups.length - 1), 1));
      return w;
    },
    text(s) {
      const data = utf8.encode(s);
      w.uint(data.length);
      data.forEach((b) => w.bits(b, 8));
      return w;
    },
    nibbles(s, alphabet, end) {
      for (const ch of s) w.bits(alphabet.indexOf(ch), 4);
      return w.bits(end, 4);
    },
    length: () => bits.length,
    bytes() {
      const out = new Uint8Array(Math.ceil(bits.length / 8));
      bits.forEach((b, i) => { out[i >> 3] |= b << (7 - (i & 7)); });
      return out;
    },
  };
  return w;
}

// A reader of what writer() wrote, with the same methods; each throws an
// Error('short') past the end, text() an Error('encoding') for bytes that are
// not UTF-8, nibbles(alphabet, end, most) an Error('format') for a code past
// the alphabet and an Error('long') past most characters. left() is the
// count of bits not yet read.
export function reader(data) {
  let at = 0;
  const r = {
    bits(n) {
      if (at + n > data.length * 8) throw new Error('short');
      let v = 0;
      while (n > 0) {
        const [free, take] = [8 - (at & 7), Math.min(8 - (at & 7), n)];
        v = v * (1 << take) + ((data[at >> 3] >> (free - take)) & ((1 << take) - 1));
        [at, n] = [at + take, n - take];
      }
      return v;
    },
    uint() {
      let v = 0;
      for (let more = 1, groups = 0; more; groups++) {
        if (groups === 11) throw new Error('long');
        v = v * 8 + r.bits(3);
        more = r.bits(1);
      }
      return v;
    },
    text(limit = Infinity) {
      const length = r.uint();
      if (length > limit) throw new Error('long');
      const out = new Uint8Array(length);
      for (let i = 0; i < length; i++) out[i] = r.bits(8);
      try {
        return fromUtf8.decode(out);
      } catch (e) {
        throw new Error('encoding');
      }
    },
    nibbles(alphabet, end, most) {
      let text = '';
      for (let v = r.bits(4); v !== end; v = r.bits(4)) {
        if (v >= alphabet.length) throw new Error('format');
        if (text.length >= most) throw new Error('long');
        text += alphabet[v];
      }
      return text;
    },
    left: () => data.length * 8 - at,
  };
  return r;
}

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

// The CRC-32 of bytes (that of zip and PNG), an unsigned 32-bit integer.
export function crc32(data) {
  let c = 0xffffffff;
  for (const b of data) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

// bytes followed by their CRC-32, big-endian; and back: the bytes without it,
// or null when it does not match.
export function sealed(data) {
  const crc = crc32(data);
  return Uint8Array.from([...data, crc >>> 24, (crc >>> 16) & 0xff, (crc >>> 8) & 0xff, crc & 0xff]);
}
export function unsealed(data) {
  if (data.length < 4) return null;
  const body = data.subarray(0, data.length - 4);
  const crc = data.subarray(data.length - 4).reduce((v, b) => v * 256 + b, 0);
  return crc === crc32(body) ? body : null;
}

export const base32Alphabet = '0123456789ABCDEFGHJKMNPQRSTVWXYZ';

// base32 text as this page writes it: in capitals, O as 0 and I, L as 1.
export const plainBase32 = (text) => text.toUpperCase().replace(/O/g, '0').replace(/[IL]/g, '1');

// The value of each ASCII character in base32 (read in either case, with O,
// I and L as plainBase32 reads them), -1 for a character outside it.
const base32Values = new Int8Array(128).fill(-1);
for (const [i, ch] of [...base32Alphabet].entries()) base32Values[ch.charCodeAt(0)] = base32Values[ch.toLowerCase().charCodeAt(0)] = i;
for (const ch of 'OoIiLl') base32Values[ch.charCodeAt(0)] = base32Values[plainBase32(ch).charCodeAt(0)];

// bytes as base32 text, 5 bits a character, the last padded with zeros.
export function toBase32(data) {
  let [text, acc, bits] = ['', 0, 0];
  for (const b of data) {
    [acc, bits] = [((acc << 8) | b) & 0xfff, bits + 8];
    for (; bits >= 5; bits -= 5) text += base32Alphabet[(acc >> (bits - 5)) & 31];
  }
  return bits > 0 ? text + base32Alphabet[(acc << (5 - bits)) & 31] : text;
}

// base32 text back to bytes; null for a character outside the alphabet or
// padding bits that are not zero (so that each byte string has one text).
export function fromBase32(text) {
  const out = new Uint8Array(Math.floor((text.length * 5) / 8));
  let [acc, bits, at] = [0, 0, 0];
  for (let i = 0; i < text.length; i++) {
    const c = text.charCodeAt(i);
    const v = c < 128 ? base32Values[c] : -1;
    if (v < 0) return null;
    [acc, bits] = [((acc << 5) | v) & 0x1fff, bits + 5];
    if (bits >= 8) out[at++] = (acc >> (bits -= 8)) & 0xff;
  }
  return (acc & ((1 << bits) - 1)) !== 0 || bits >= 5 ? null : out;
}

// bytes as base64url text without padding, and back (null for anything else).
export function toBase64url(data) {
  return btoa(String.fromCharCode(...data)).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}
export function fromBase64url(text) {
  if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) return null;
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  const data = Uint8Array.from(binary, (c) => c.charCodeAt(0));
  return toBase64url(data) === text ? data : null;
}

// The first 64 primes, found once: the page's start waits for this module.
const primes = [];
for (let n = 2; primes.length < 64; n++) if (primes.every((p) => n % p !== 0)) primes.push(n);
const sha256K = primes.map((prime) => Math.floor((Math.cbrt(prime) % 1) * 2 ** 32) >>> 0);

// The SHA-256 digest of bytes, as 64 hexadecimal digits: what tells one
// build of the page's script from another.
export function sha256(data) {
  const h = [0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19];
  const length = Math.ceil((data.length + 9) / 64) * 64;
  const padded = new Uint8Array(length);
  padded.set(data);
  padded[data.length] = 0x80;
  const view = new DataView(padded.buffer);
  view.setUint32(length - 8, Math.floor(data.length / 2 ** 29));
  view.setUint32(length - 4, (data.length * 8) >>> 0);
  const rotate = (x, n) => (x >>> n) | (x << (32 - n));
  const w = new Int32Array(64);
  for (let at = 0; at < length; at += 64) {
    for (let i = 0; i < 64; i++) {
      if (i < 16) w[i] = view.getUint32(at + 4 * i);
      else {
        const [a, b] = [w[i - 15], w[i - 2]];
        w[i] = (w[i - 16] + (rotate(a, 7) ^ rotate(a, 18) ^ (a >>> 3)) + w[i - 7] + (rotate(b, 17) ^ rotate(b, 19) ^ (b >>> 10))) | 0;
      }
    }
    let [a, b, c, d, e, f, g, k] = h;
    for (let i = 0; i < 64; i++) {
      const t1 = (k + (rotate(e, 6) ^ rotate(e, 11) ^ rotate(e, 25)) + ((e & f) ^ (~e & g)) + sha256K[i] + w[i]) | 0;
      const t2 = ((rotate(a, 2) ^ rotate(a, 13) ^ rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c))) | 0;
      k = g; g = f; f = e; e = (d + t1) | 0; d = c; c = b; b = a; a = (t1 + t2) | 0;
    }
    [a, b, c, d, e, f, g, k].forEach((x, i) => { h[i] = (h[i] + x) | 0; });
  }
  return h.map((x) => (x >>> 0).toString(16).padStart(8, '0')).join('');
}
