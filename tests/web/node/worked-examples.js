// The worked examples that practice is tested on, under node and in the
// browsers: each one's golden case, its printouts as the program prints them
// (rows written with blanks for tabs) and each stage's decisions.
export const workedExamples = {
  gjinverse: {
    golden: 'gjinverse/worked-2x2',
    printouts: [['2 1 1 0', '1 3 0 1'], ['1 0.5 0.5 0', '0.333333 1 0 0.333333'], ['1 0.5 0.5 0', '0.333333 1 0 0.333333'],
                ['1 0.5 0.5 0', '0 -2.5 0.5 -1'], ['5 0 3 -1', '0 -2.5 0.5 -1'], ['1 0 0.6 -0.2', '-0 1 -0.2 0.4'],
                ['0.6 -0.2', '-0.2 0.4']],
    decisions: [{}, { 'divisor 1': '2', 'divisor 2': '3' }, { order: '1 2' }, { 'r 2': '3' }, { 'r 1': '-5' },
                { 'divisor 1': '5', 'divisor 2': '-2.5' }, {}],
  },
  gjsolve: {
    golden: 'gjsolve/worked-2x2',
    printouts: [['2 -3 0', '1 1 5'], ['-0.666667 1 -0', '0.2 0.2 1'], ['-0.666667 1 -0', '0.2 0.2 1'],
                ['-0.666667 1 -0', '0 1.66667 3.33333'], ['1.11111 0 3.33333', '0 1.66667 3.33333'], ['3', '2']],
    decisions: [{}, { 'divisor 1': '-3', 'divisor 2': '5' }, { order: '12' }, { 'r 2': '-3.33333' }, { 'r 1': '5/3' },
                { 'x 1': '3', 'x 2': '2' }],
  },
};

// The program's answer to question key ('divisor 1', 'entry 2 1') of stage k of
// an example ({ printouts, decisions }): a decision, or an entry as printed.
export function printedAnswer(example, k, key) {
  if (key in example.decisions[k]) return example.decisions[k][key];
  const [, r, c] = key.split(' ').map(Number);
  return example.printouts[k][r - 1].split(' ')[c - 1];
}
