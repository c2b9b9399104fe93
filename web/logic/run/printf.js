// Numbers as the programs print an entry: C's printf with "%g", six
// significant digits, worked out here so that what judges a typed number
// needs no program. It gives the digits of the C library that the programs
// are built with: the nearest six-digit decimal, a tie to the even one, in
// fixed notation for exponents from -4 to 5 and in "1.5e+06" form beyond,
// trailing zeros dropped; "inf", "nan" and "-0" as C writes them. The node
// tests hold it to the programs' own printf. Imports nothing.

const digits = 6;
const bits = new DataView(new ArrayBuffer(8));

// x (finite) as an integer times a power of two: { m, e }, both BigInt but e a number.
function binary(x) {
  bits.setFloat64(0, x);
  const high = bits.getUint32(0);
  const exponent = (high >>> 20) & 0x7ff;
  const fraction = (BigInt(high & 0xfffff) << 32n) | BigInt(bits.getUint32(4));
  return exponent === 0 ? { m: fraction, e: -1074 } : { m: fraction | (1n << 52n), e: exponent - 1075 };
}

// Whether y (positive) is exactly halfway between n - 1 and n times 10^q.
function halfway(y, n, q) {
  const { m, e } = binary(y);
  // y = m 2^e against (2n - 1) 5^q 2^(q - 1), each side times 5^-q where q < 0.
  const left = m * 5n ** BigInt(Math.max(0, -q));
  const right = BigInt(2 * n - 1) * 5n ** BigInt(Math.max(0, q));
  const low = Math.min(e, q - 1);
  return left << BigInt(e - low) === right << BigInt(q - 1 - low);
}

// y (positive, finite) rounded to six significant digits: { n, exponent },
// n the digits as an integer from 100000 to 999999. JavaScript breaks a tie
// upwards, C to the even neighbour.
function rounded(y) {
  const [mantissa, power] = y.toExponential(digits - 1).split('e');
  let n = Number(mantissa.replace('.', ''));
  const exponent = Number(power);
  const longer = y.toExponential(digits);
  if (n % 2 === 1 && longer[digits + 1] === '5' && Number(longer) === y && halfway(y, n, exponent - digits + 1)) n -= 1;
  return { n, exponent };
}

// The fraction's digits without their trailing zeros, after a point if any are left.
const fractionPart = (text) => {
  const kept = text.replace(/0+$/, '');
  return kept === '' ? '' : '.' + kept;
};

// x as printf("%g", x) writes it.
export function printed(x) {
  bits.setFloat64(0, x);
  const sign = bits.getUint8(0) >= 0x80 ? '-' : '';
  if (Number.isNaN(x)) return sign + 'nan';
  if (!Number.isFinite(x)) return sign + 'inf';
  if (x === 0) return sign + '0';
  const { n, exponent } = rounded(Math.abs(x));
  const text = String(n);
  if (exponent < -4 || exponent >= digits) {
    const power = String(Math.abs(exponent)).padStart(2, '0');
    return `${sign}${text[0]}${fractionPart(text.slice(1))}e${exponent < 0 ? '-' : '+'}${power}`;
  }
  if (exponent < 0) return `${sign}0${fractionPart('0'.repeat(-exponent - 1) + text)}`;
  return sign + text.slice(0, exponent + 1) + fractionPart(text.slice(exponent + 1));
}
