// A link's QR code, drawn as SVG for a print: the worksheets' and the class
// list's. Only over http(s) is it worth drawing: a link to a file opens on no
// other device.
import qrcode from 'qrcode-generator';
import { t } from './language.js';

/*! qrcode-generator 2.0.4: Copyright (c) 2009 Kazuhiko Arase, MIT license.
  Permission is hereby granted, free of charge, to any person obtaining a copy of this software and associated
  documentation files (the "Software"), to deal in the Software without restriction, including without limitation
  the rights to use, copy, modify, merge, publish, distribute, sublicense, and/or sell copies of the Software, and to
  permit persons to whom the Software is furnished to do so, subject to the following conditions: The above copyright
  notice and this permission notice shall be included in all copies or substantial portions of the Software.
  THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE
  WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR
  COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR
  OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE. */

// The most bytes that a QR code of level M holds (version 40): a longer
// link is refused at once, not tried at each version (some 0.1 s).
const most = 2331;

// The QR code of link as an SVG drawing (one path, no style: the CSP allows
// none), or null when the link is longer than a QR code holds.
export function qrOf(link, label = t('sheet.qr')) {
  if (link.length > most) return null;
  const code = qrcode(0, 'M');
  try {
    code.addData(link);
    code.make();
  } catch {
    return null;
  }
  const size = code.getModuleCount();
  let path = '';
  for (let r = 0; r < size; r++)
    for (let c = 0; c < size; c++) if (code.isDark(r, c)) path += `M${c + 4} ${r + 4}h1v1h-1z`;
  const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
  svg.setAttribute('viewBox', `0 0 ${size + 8} ${size + 8}`);
  svg.setAttribute('class', 'qr');
  svg.setAttribute('role', 'img');
  svg.setAttribute('aria-label', label);
  const drawing = document.createElementNS('http://www.w3.org/2000/svg', 'path');
  drawing.setAttribute('d', path);
  svg.append(drawing);
  return svg;
}
