// The pane: the dialogue as at a console, drawn append-only. The output of a run
// up to where the program waited is the same in every later run over more text
// (web/bridge.cpp), so each run only adds what lies past what is drawn: the rest
// of the output, standard error, the echo of each entry, and at the end a note
// on the exit status. Nothing drawn is ever drawn again; clear() starts afresh.
// The last Enter of an order-10 run adds some 20 printouts at once, 2,000 of
// their 4,000 entries marked: only the last few printouts, those in view, are
// drawn with their marks at once; the others first as plain text, and marked
// in a task after the pane is painted (or before a print).
'use strict';

const paneView = (() => {
  const pane = document.getElementById('pane');
  const decoder = new TextDecoder();
  const t = language.t;
  const markedAtOnce = 4;  // printouts, more than a screen's height at order 10
  let drawn;               // what is in the pane: see clear()
  let unmarked = [];       // printouts drawn as plain text: [text node, rows, rows before, pivot]
  let marking = 0;         // the frame after which they are marked, if one is asked for

  function span(className, text) {
    const s = document.createElement('span');
    s.className = className;
    s.textContent = text;
    return s;
  }

  // Empties the pane and forgets everything drawn.
  function clear() {
    pane.textContent = '';
    unmarked = [];
    delete pane.dataset.marks;
    drawn = {
      entries: 0,          // entries echoed
      out: 0,              // output bytes drawn
      err: 0,              // characters of standard error drawn
      rows: [],            // the rows of the printout being read, held until it ends
      printouts: new Map(), // rows x columns -> the rows of the last printout of that shape
      count: 0,            // printouts drawn: printout k is the report's stage k
      widest: 0,           // the longest entry drawn
      note: null,          // the exit note, once the run is over: [span, text id, values]
    };
  }

  // A printout's row as one text node, but for a span around each marked entry:
  // an order-10 run draws some 4,000 entries at its last Enter.
  function drawRow(row, before, pivot, into) {
    let text = '';
    row.forEach((entry, c) => {
      const changed = before !== undefined && before[c] !== entry;
      if (changed || c === pivot) {
        if (text !== '') into.append(text);
        text = '';
        into.append(span(changed && c === pivot ? 'changed pivot' : changed ? 'changed' : 'pivot', entry));
        text = '\t';
      } else {
        text += entry + '\t';
      }
    });
    into.append(text + '\n');
  }

  // Draws the held rows, the printout, as plain text, to be marked by mark():
  // the entries printed otherwise than in the printout of the same shape before
  // it, and the pivot of its stage.
  function drawPrintout(stages, into) {
    const rows = drawn.rows;
    if (rows.length === 0) return;
    const shape = rows.length + 'x' + rows[0].length;
    const before = drawn.printouts.get(shape);
    const stage = stages[drawn.count++];
    const pivot = stage && stage.pivot !== null ? stage.pivot - 1 : -1;
    const text = document.createTextNode(rows.map((row) => row.join('\t') + '\t\n').join(''));
    for (const row of rows) for (const entry of row) if (entry.length > drawn.widest) drawn.widest = entry.length;
    into.append(text);
    unmarked.push([text, rows, before, pivot]);
    drawn.printouts.set(shape, rows);
    drawn.rows = [];
  }

  // Marks the printouts drawn as plain text, from the last: count of them, or all.
  function mark(count = unmarked.length) {
    for (const [text, rows, before, pivot] of unmarked.splice(-count, count)) {
      const marked = document.createDocumentFragment();
      rows.forEach((row, r) => drawRow(row, before && before[r], r === pivot ? pivot : -1, marked));
      text.replaceWith(marked);
    }
    if (unmarked.length === 0) delete pane.dataset.marks;
  }

  // Draws a slice of standard output, a line at a time. Matrix rows ("%g\t"
  // entries) are held until their printout ends; a printout and the line after
  // it, its commentary, form a stage, which print keeps on one page.
  function drawOutput(text, run, into) {
    let plain = '';
    for (const line of text.split(/(?<=\n)/)) {
      if (/^([^\t\n]+\t)+\n$/.test(line)) {
        drawn.rows.push(line.slice(0, -2).split('\t'));
        continue;
      }
      let group = into;
      if (drawn.rows.length > 0) {
        if (plain !== '') into.append(plain);
        plain = '';
        group = span('pane-stage', '');
        // Its height while it is out of view, in lines: the rows and the commentary.
        group.style.containIntrinsicBlockSize = `auto ${drawn.rows.length + 1}lh`;
        into.append(group);
        drawPrintout(run.report.stages, group);
      }
      const id = run.stageIds.get(line);
      if (id === undefined) {
        if (group === into) plain += line;
        else group.append(line);
        continue;
      }
      if (plain !== '') into.append(plain);
      plain = '';
      const s = span('gloss', line.slice(0, -1));
      s.lang = 'ko';
      s.tabIndex = 0;
      s.dataset.stage = id;
      s.dataset.gloss = t('gloss.' + id);
      group.append(s, '\n');
    }
    if (plain !== '') into.append(plain);
  }

  // Draws what run holds past what is drawn. run: { program, output (bytes),
  // errors, stops (per entry, [output bytes, error length] before it), lines
  // (the entries), status (-1 while the program waits), report, stageIds }.
  function draw(run) {
    if (drawn.note) return;
    const into = document.createDocumentFragment();
    const shown = [...run.stops, [run.output.length, run.errors.length]];
    for (let k = drawn.entries; k < shown.length; k++) {
      const [outEnd, errEnd] = shown[k];
      drawOutput(decoder.decode(run.output.subarray(drawn.out, outEnd)), run, into);
      drawPrintout(run.report.stages, into);
      if (errEnd > drawn.err) into.append(span('err', run.errors.slice(drawn.err, errEnd)));
      drawn.out = outEnd;
      drawn.err = errEnd;
      if (k < run.lines.length) {
        into.append(span('echo', run.lines[k]));
        drawn.entries = k + 1;
      }
    }
    if (run.status !== -1) {
      drawn.note = run.status === -2 ? [span('note', ''), 'pane.notStarted', { program: run.program }]
        : [span('note', ''), 'pane.exited', { program: run.program, status: run.status }];
      tellNote();
      into.append(drawn.note[0]);
    }
    if (unmarked.length > 0) mark(markedAtOnce);
    pane.append(into);
    // A tab reaches past the longest entry, so that the columns line up.
    pane.style.tabSize = Math.max(8, drawn.widest + 2);
    if (unmarked.length > 0 && marking === 0) {
      pane.dataset.marks = 'pending';
      marking = requestAnimationFrame(() => setTimeout(() => { marking = 0; mark(); }, 0));
    }
  }

  function tellNote() {
    const [s, id, values] = drawn.note;
    s.textContent = `\n[${t(id, values)}]\n`;
  }

  // Retells the page's own words in the pane, the glosses and the exit note, in
  // the language now chosen; the transcript itself never changes.
  function retell() {
    for (const s of pane.querySelectorAll('.gloss')) s.dataset.gloss = t('gloss.' + s.dataset.stage);
    if (drawn.note) tellNote();
  }

  // A print shows every printout, marked.
  addEventListener('beforeprint', () => mark());
  clear();
  return { clear, draw, retell };
})();
