// CSV for spreadsheets: UTF-8 with a byte-order mark, so that a spreadsheet set
// to Korean (or any other language) reads the names as written, fields quoted as
// RFC 4180 asks, lines ended with CR LF. Imports nothing.

// A field as written: quoted when it holds a quote, a comma or a line break,
// its quotes doubled. Text that a spreadsheet would run as a formula (starting
// with =, +, -, @, a tab or a CR) is written after an apostrophe, since a name
// or a code comes from whoever typed it; numbers are written as they are.
function field(value) {
  if (typeof value === 'number') return String(value);
  const text = /^[=+\-@\t\r]/.test(value) ? "'" + value : value;
  return /[",\r\n]/.test(text) ? `"${text.replace(/"/g, '""')}"` : text;
}

// The rows (arrays of strings and numbers) as one CSV text, the byte-order
// mark first; encoded as UTF-8 (a Blob or TextEncoder does) it is the file.
export const csv = (rows) => '\ufeff' + rows.map((row) => row.map(field).join(',') + '\r\n').join('');
