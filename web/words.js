// How the page words a stage and its operations, in the language chosen: the
// stage's name, and each operation in row notation and in words, its numbers as
// the transcript prints them. The stages section, the status line and practice
// say them alike.
'use strict';
var GJ = globalThis.GJ = globalThis.GJ || {};

GJ.words = (() => {
  const t = (id, values) => GJ.language.t(id, values);

  // "Pivot pass, column 2".
  function stageName(stage) {
    return t('stage.' + stage.id, { j: stage.column ?? '' });
  }

  // The values that an operation's texts name, from its report fields.
  function values(op, stage) {
    const [a, b] = op.places;
    const shown = op.numbers.map((number) => number.shown);
    switch (op.name) {
      case 'scale': return { i: a, c: b, d: shown[0] };
      case 'swap': return { i: a, k: b, j: stage.column };
      case 'no_exchange': return { j: a };
      case 'combine': return { t: a, p: b, r: shown[0] };
      case 'unchanged': return { t: a, p: b };
      case 'divide': return { i: a, d: shown[0] };
      case 'quotient': return { j: a, b: shown[0], d: shown[1], x: shown[2] };
      default: return null;
    }
  }

  // { notation, words } for op of stage, or null for a line that is no operation.
  // In the notation a negative number is bracketed: R1 ← R2 − (-5) × R1.
  function describe(op, stage) {
    const named = values(op, stage);
    if (named === null) return null;
    const notation = { ...named };
    for (const name of ['r', 'd', 'b'])
      if (/^-/.test(notation[name] ?? '')) notation[name] = t('op.bracketed', { number: notation[name] });
    return { notation: t(`op.${op.name}.notation`, notation), words: t(`op.${op.name}.words`, named) };
  }

  // The described operations of a stage, in order.
  const operations = (stage) => stage.ops.map((op) => describe(op, stage)).filter(Boolean);

  return { stageName, values, describe, operations };
})();

if (typeof module === 'object' && module.exports) module.exports = GJ.words;
