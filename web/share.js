// Links to runs, and the examples menu. A link carries the program and the text
// typed so far in the fragment (after '#'), so that it never reaches a server and
// works from file://:
//
//   #gjinverse                          the program, waiting for its order
//   #gjinverse&input=2%0A2%201%0A        the lines typed so far, each with its Enter
//   #gjsolve&input=2%0A1%202&end        ... and the end of input (Ctrl-D) after them
//   #gjsolve&practice&input=...         the same, to practise: the learner does each stage
//   #gjinverse&practice&seed=7&order=3&options=nice,reorder
//                                       a generated exercise (exercises.js), by its seed
//
// What a link carries is only ever typed text: the page types it at the prompts,
// line by line, and never reads it as anything else. Imports nothing.
export const programNames = ['gjinverse', 'gjsolve'];
export const defaultProgram = 'gjinverse';
// Far more than an order-10 matrix with long numbers takes, and still a link
// that every browser keeps whole.
export const maxInput = 8000;

export const exerciseOptions = ['nice', 'reorder', 'alone', 'singular', 'exact'];

// The fragment for a run: the program, whether it is practised, and the text
// typed so far and whether the end of input followed it, or the exercise
// ({ seed, order, options }) that gives the text.
export function fragment(program, input, ended, { practice = false, exercise = null } = {}) {
  let text = '#' + program + (practice ? '&practice' : '');
  if (exercise) return `${text}&seed=${exercise.seed}&order=${exercise.order}${exercise.options.length ? '&options=' + exercise.options.join(',') : ''}`;
  if (input !== '') text += '&input=' + encodeURIComponent(input);
  if (ended) text += '&end';
  return text;
}

// An exercise from a link's seed, order (3 if none) and options; null when
// any of them is not one that the generator takes.
function exerciseOf({ seed, order = '3', options = '' }) {
  const names = options === '' ? [] : options.split(',');
  if (!/^\d{1,10}$/.test(seed ?? '') || Number(seed) >= 2 ** 32 || !/^[234]$/.test(order) ||
      !names.every((name) => exerciseOptions.includes(name))) return null;
  return { seed: Number(seed), order: Number(order), options: exerciseOptions.filter((name) => names.includes(name)) };
}

// Reads a fragment (with or without its '#'). Returns the program to open, the
// text to type, whether the end of input follows it, whether to practise, the
// exercise to make (or null), and a problem: null, or the id of a message to
// show ('link.program', 'link.unknown', 'link.encoding', 'link.long',
// 'link.exercise'). Whatever the problem, a program opens: empty when the link
// names none of the programs, since its input was meant for another, or when
// its input or exercise is too long or broken.
export function parse(hash) {
  const parts = hash.replace(/^#/, '').split('&');
  const run = { program: defaultProgram, input: '', ended: false, problem: null, practice: false, exercise: null };
  if (parts[0] === '' && parts.length === 1) return run;
  if (programNames.includes(parts[0])) run.program = parts[0];
  else run.problem = 'link.program';
  const exercise = {};
  for (const part of parts.slice(1)) {
    const [key, value] = part.split(/=(.*)/s);
    if ((key === 'end' || key === 'practice') && value === undefined) run[key === 'end' ? 'ended' : 'practice'] = true;
    else if (['seed', 'order', 'options'].includes(key) && value !== undefined) exercise[key] = value;
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
  { id: 'practice-inverse', program: 'gjinverse', input: '2\n2 1\n1 3\n', practice: true },
  { id: 'practice-solve', program: 'gjsolve', input: '2\n2 -3 0\n1 1 5\n', practice: true },
  { id: 'practice-nice', program: 'gjinverse', input: '', practice: true, exercise: { seed: 2024, order: 3, options: ['nice', 'reorder'] } },
  { id: 'practice-alone', program: 'gjsolve', input: '', practice: true, exercise: { seed: 19, order: 3, options: ['nice', 'alone'] } },
].map((example) => ({ ...example, hash: fragment(example.program, example.input, false, example) }));

