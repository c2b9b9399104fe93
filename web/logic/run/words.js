// How the page words a stage and its operations: the stage's name, and each
// operation in row notation and in words, its numbers as the transcript prints
// them. The stages section, the status line, practice and the copies say them
// alike. Each function that words something is handed the translator t of the
// language to word it in (translate.js).

// "Pivot pass, column 2".
export function stageName(t, stage) {
  return t('stage.' + stage.id, { j: stage.column ?? '' });
}

// A stage's short name, where a narrow column heads it: "Pivot 2".
export const stageShort = (t, stage) => t('short.' + stage.id, { j: stage.column ?? '' });

// The values that an operation's texts name, from its record (model.js).
export function values(op, stage) {
  switch (op.name) {
    case 'scale': return { i: op.i, c: op.c, d: op.d.shown };
    case 'swap': return { i: op.i, k: op.k, j: stage.column };
    case 'no_exchange': return { j: op.j };
    case 'combine': return { t: op.t, p: op.p, r: op.r.shown };
    case 'unchanged': return { t: op.t, p: op.p };
    case 'divide': return { i: op.i, d: op.d.shown };
    case 'quotient': return { j: op.j, b: op.b.shown, d: op.d.shown, x: op.x.shown };
    default: return null;
  }
}

// { notation, words } for op of stage, or null for a line that is no operation.
// In the notation a negative number is bracketed: R1 ← R2 − (-5) × R1.
export function describe(t, op, stage) {
  const named = values(op, stage);
  if (named === null) return null;
  const notation = { ...named };
  for (const name of ['r', 'd', 'b'])
    if (/^-/.test(notation[name] ?? '')) notation[name] = t('op.bracketed', { number: notation[name] });
  return { notation: t(`op.${op.name}.notation`, notation), words: t(`op.${op.name}.words`, named) };
}

// The described operations of a stage, in order.
export const operations = (t, stage) => stage.ops.map((op) => describe(t, op, stage)).filter(Boolean);

// "Stage 3: Pivot pass, column 1", for stage k (0-based) of a model.
export const stageHeading = (t, stage) => t('stage.heading', { k: stage.k + 1, name: stageName(t, stage) });

// A practice question's label (check.js).
export function questionLabel(t, { label: { id, values } }) {
  return id === 'practice.q.entry' ? t(id, { ...values, after: t('practice.after.' + values.stage) }) : t(id, values);
}

// A worksheet's title: what the exercise asks, for program and order n.
export const sheetTitle = (t, program, n) => t(`sheet.title.${program}`, { program, n });

// An exercise's options as a sheet names them.
export const optionWords = (t, options) =>
  (options.length > 0 ? options.map((o) => t('sheet.option.' + o)).join(', ') : t('sheet.noOptions'));
