// Links to runs, and the examples menu. A link carries the program and the text
// typed so far in the fragment (after '#'), so that it never reaches a server and
// works from file://:
//
//   #gjinverse                          the program, waiting for its order
//   #gjinverse&input=2%0A2%201%0A        the lines typed so far, each with its Enter
//   #gjsolve&input=2%0A1%202&end        ... and the end of input (Ctrl-D) after them
//   #gjsolve&practice&input=...         the same, to practise: the learner does each stage
//   #gjinverse&practice&seed=7&order=3&options=nice,reorder&gen=2
//                                       a generated exercise (exercises.js), by its seed
//                                       and the generator's version (1 when not said: the
//                                       links written before versions were named)
//   ...&from=4&fill=all                 practice asks from stage 4 on (stage 2, the
//                                       scaling, when not said), every entry of each
//                                       printout (none, one row when not said, all)
//   #ownway&kind=system&m=...&ops=...   the learner's own row operations on a matrix
//                                       (own/link.js), which no program's link is
//   ...&own                             the page's own examples and the exercises made
//                                       with its form: practice starts where this
//                                       browser's progress says, one stage more each
//                                       exercise finished; no link that the page writes
//                                       for others to open says so
//
// What a link carries is only ever typed text: the page types it at the prompts,
// line by line, and never reads it as anything else. Imports nothing.
export const programNames = ['gjinverse', 'gjsolve'];
export const defaultProgram = 'gjinverse';
// Far more than an order-10 matrix with long numbers takes, and still a link
// that every browser keeps whole.
export const maxInput = 8000;

export const exerciseOptions = ['nice', 'reorder', 'alone', 'singular', 'exact'];
// The generator's versions: each draws what it always drew, so that a link
// gives its matrix after the page changes; new exercises are of the latest.
export const latestGenerator = 2;

// The options that can hold together at order n, in their usual order: a
// singular A has no answer to be nice, nor a run without a division by 0 or a
// residue, and two rows leave a pivot pass no other row to reorder. From
// version 2, a singular A of order 2 with a row left alone would be two
// zeros in a column, which is near-trivial.
export function possible(options, n, generator = 1) {
  return exerciseOptions.filter((o) => options.includes(o) &&
    !(['nice', 'exact'].includes(o) && options.includes('singular')) && !(o === 'reorder' && n < 3) &&
    !(generator >= 2 && o === 'alone' && n < 3 && options.includes('singular')));
}

export const fills = ['none', 'row', 'all'];
// What practice asks when a link does not say: from the scaling on, one row of entries.
export const firstAsked = 2;
export const defaultFill = 'row';

// The fragment for a run: the program, whether it is practised, and the text
// typed so far and whether the end of input followed it, or the exercise
// ({ seed, order, options, generator }, the generator's version, 1 when not given) that gives the text; then what practice asks
// where it differs from what a link asks unsaid (from, fill), or own.
export function fragment(program, input, ended, { practice = false, exercise = null, from = firstAsked, fill = defaultFill, own = false } = {}) {
  let text = '#' + program + (practice ? '&practice' : '');
  if (exercise) {
    text += `&seed=${exercise.seed}&order=${exercise.order}${exercise.options.length ? '&options=' + exercise.options.join(',') : ''}`;
    if ((exercise.generator ?? 1) !== 1) text += `&gen=${exercise.generator}`;
  }
  else {
    if (input !== '') text += '&input=' + encodeURIComponent(input);
    if (ended) text += '&end';
  }
  if (from !== firstAsked) text += `&from=${from}`;
  if (fill !== defaultFill) text += `&fill=${fill}`;
  return own ? text + '&own' : text;
}

// An exercise from a link's seed, order (3 if none), options and generator
// version (1 if none); null when any of them is not one that the generator takes.
function exerciseOf({ seed, order = '3', options = '', gen = '1' }) {
  const names = options === '' ? [] : options.split(',');
  if (!/^\d{1,10}$/.test(seed ?? '') || Number(seed) >= 2 ** 32 || !/^[2-5]$/.test(order) ||
      !names.every((name) => exerciseOptions.includes(name)) || !/^[1-9]$/.test(gen) || Number(gen) > latestGenerator) return null;
  return { seed: Number(seed), order: Number(order), options: exerciseOptions.filter((name) => names.includes(name)), generator: Number(gen) };
}

// Reads a fragment (with or without its '#'). Returns the program to open, the
// text to type, whether the end of input follows it, whether to practise, the
// exercise to make (or null), what practice asks (asked: { from, fill, own },
// from and fill null when not said), and a problem: null, or the id of a
// message to show ('link.program', 'link.unknown', 'link.encoding',
// 'link.long', 'link.exercise', 'link.practice'). Whatever the problem, a
// program opens: empty when the link names none of the programs, since its
// input was meant for another, or when its input or exercise is too long or
// broken; practice asks what a link asks unsaid when from or fill is broken.
export function parse(hash) {
  const parts = hash.replace(/^#/, '').split('&');
  const run = { program: defaultProgram, input: '', ended: false, problem: null, practice: false, exercise: null,
                asked: { from: null, fill: null, own: false } };
  if (parts[0] === '' && parts.length === 1) return run;
  if (programNames.includes(parts[0])) run.program = parts[0];
  else run.problem = 'link.program';
  const exercise = {};
  for (const part of parts.slice(1)) {
    const [key, value] = part.split(/=(.*)/s);
    if ((key === 'end' || key === 'practice') && value === undefined) run[key === 'end' ? 'ended' : 'practice'] = true;
    else if (key === 'own' && value === undefined) run.asked.own = true;
    else if (key === 'from' && /^\d{1,3}$/.test(value ?? '') && Number(value) >= firstAsked) run.asked.from = Number(value);
    else if (key === 'fill' && fills.includes(value)) run.asked.fill = value;
    else if (key === 'from' || key === 'fill') run.problem = run.problem ?? 'link.practice';
    else if (['seed', 'order', 'options', 'gen'].includes(key) && value !== undefined) exercise[key] = value;
    else if (key === 'input' && value !== undefined) {
      try {
        run.input = decodeURIComponent(value);
      } catch (e) {
        return { ...run, input: '', ended: false, problem: 'link.encoding' };
      }
    } else run.problem = run.problem ?? 'link.unknown';
  }
  if (run.input.length > maxInput) return { ...run, input: '', ended: false, problem: 'link.long' };
  if (run.problem === 'link.program') return { ...run, input: '', ended: false };
  if (Object.keys(exercise).length === 0) return run;
  run.exercise = exerciseOf(exercise);
  return run.exercise ? { ...run, input: '', ended: false } : { ...run, problem: run.problem ?? 'link.exercise' };
}

// Splits typed text into the entries that a person would have made: each line
// with its Enter, and what follows the last Enter, given with the end of input
// or left in the input field.
export function entries(input) {
  return input.match(/[^\n]*\n|[^\n]+$/g) ?? [];
}

// Runs worth studying, each a link with a note (a text id).
export const examples = [
  { id: 'worked-inverse', program: 'gjinverse', input: '2\n2 1\n1 3\n' },
  { id: 'worked-solve', program: 'gjsolve', input: '2\n2 -3 0\n1 1 5\n' },
  { id: 'pivot-bubble', program: 'gjinverse', input: '3\n1 4 0\n2 4 1\n3 4 3\n' },
  { id: 'zero-unchanged', program: 'gjsolve', input: '2\n0 1 2\n1 0 3\n' },
  { id: 'residues', program: 'gjsolve', input: '3\n1 1 1 6\n0 2 5 -4\n2 5 -1 27\n' },
  { id: 'singular', program: 'gjinverse', input: '3\n1 2 3\n4 5 6\n7 8 9\n' },
  { id: 'order-one', program: 'gjinverse', input: '1\n-4\n' },
  { id: 'practice-inverse', program: 'gjinverse', input: '2\n2 1\n1 3\n', practice: true, own: true },
  { id: 'practice-solve', program: 'gjsolve', input: '2\n2 -3 0\n1 1 5\n', practice: true, own: true },
  { id: 'practice-nice', program: 'gjinverse', input: '', practice: true, own: true, exercise: { seed: 2024, order: 3, options: ['nice', 'reorder'], generator: 1 } },
  { id: 'practice-alone', program: 'gjsolve', input: '', practice: true, own: true, exercise: { seed: 19, order: 3, options: ['nice', 'alone'], generator: 1 } },
].map((example) => ({ ...example, hash: fragment(example.program, example.input, false, example) }));


// The seed of a new exercise from a random 32-bit word (the page's one source
// of chance): six digits at most, short enough to type again; an assignment
// takes the whole word.
export const exerciseSeed = (word) => word % 1000000;

// The seed typed into a form, of up to nine digits, or null.
export const typedSeed = (text) => (/^\d{1,9}$/.test(text.trim()) ? Number(text.trim()) : null);
