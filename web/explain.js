// The stages section: each printout of the run again, with its commentary line
// explained, its row operations in words and in row notation, and the exact value
// of every entry. It is built from the operation report and the transcript, apart
// from the pane, one stage at a time unless all are asked for; the exact values
// are computed only after the pane has been painted.
'use strict';

const explain = (() => {
  const t = language.t;
  const byId = (id) => document.getElementById(id);
  const section = byId('stages');
  const empty = byId('stages-empty');
  const controls = byId('stage-controls');
  const list = byId('stage-list');
  const previousButton = byId('stage-previous');
  const nextButton = byId('stage-next');
  const allButton = byId('stage-all');
  const position = byId('stage-position');
  const exactNote = byId('exact-note');

  let run = null;          // the run shown: see show()
  let stages = [];         // per stage: { id, ops, column, pivot, printout, changed }
  let current = 0;         // the stage shown when not all are
  let all = false;
  let printing = false;    // between beforeprint and afterprint: every stage is shown
  let result = null;       // the exact replay once computed: { values, stop } or { none }
  let pending = 0;         // the timer of the replay to come
  const built = new Map(); // stage index -> its article
  let announce = () => {};

  const element = (tag, className, text) => {
    const e = document.createElement(tag);
    if (className) e.className = className;
    if (text !== undefined) e.textContent = text;
    return e;
  };

  // For each printout, the "row,column" places (0-based) of the entries printed
  // otherwise than in the printout of the same shape before it, as the pane marks them.
  function changes(printouts) {
    const before = new Map();
    return printouts.map((printout) => {
      const changed = new Set();
      if (!printout.rows) return changed;
      const shape = printout.rows.length + 'x' + printout.rows[0].length;
      const last = before.get(shape);
      printout.rows.forEach((row, r) => row.forEach((entry, c) => {
        if (last && last[r][c] !== entry) changed.add(r + ',' + c);
      }));
      before.set(shape, printout.rows);
      return changed;
    });
  }

  function stageName(k) {
    return t('stage.' + stages[k].id, { j: stages[k].column });
  }

  // The words and the row notation of one operation, its numbers as printed.
  function describe(op, stage) {
    const [a, b] = op.places;
    const shown = op.numbers.map((number) => number.shown);
    const values = {
      scale: { i: a, c: b, d: shown[0] },
      swap: { i: a, k: b, j: stage.column },
      no_exchange: { j: a },
      combine: { t: a, p: b, r: shown[0] },
      unchanged: { t: a, p: b },
      divide: { i: a, d: shown[0] },
      quotient: { j: a, b: shown[0], d: shown[1], x: shown[2] },
    }[op.name];
    if (!values) return null;
    const notation = { ...values };
    // In the notation a negative number is bracketed: R1 ← R2 − (-5) × R1.
    for (const name of ['r', 'd', 'b']) if (/^-/.test(notation[name])) notation[name] = `(${notation[name]})`;
    return { notation: t(`op.${op.name}.notation`, notation), words: t(`op.${op.name}.words`, values) };
  }

  // The entry at row r, column c (0-based) of stage k's printout, as an exact
  // value: its description for a reader, and whether it is a rounding residue.
  function exactEntry(k, r, c, printed) {
    if (!result) return { text: t('exact.pending') };
    if (result.none) return { text: t('exact.unavailable') };
    const value = result.values[k];
    if (!value) return { text: t('exact.past') };
    const stage = stages[k];
    let x;
    if (stage.printout.unknowns) x = value[r];
    else x = value[r][stage.id === 'inverse_done' ? value.length + c : c];
    if (exact.isZero(x) && printed !== '0' && printed !== '-0') return { text: t('exact.residue'), residue: true };
    return { text: t('exact.cell', { exact: exact.format(x) }) };
  }

  function readout(cell) {
    const article = cell.closest('.stage');
    const k = Number(article.dataset.stage);
    const r = Number(cell.dataset.r);
    const c = Number(cell.dataset.c);
    const printed = cell.textContent;
    const description = exactEntry(k, r, c, printed).text;
    article.querySelector('.readout').textContent = stages[k].printout.unknowns
      ? t('exact.unknown', { name: `x${r + 1}`, printed, description })
      : t('exact.readout', { r: r + 1, c: c + 1, printed, description });
  }

  // Gives each entry of an article its exact value as its title (shown on hover,
  // read as its description) and marks rounding residues.
  function decorate(article) {
    const k = Number(article.dataset.stage);
    for (const cell of article.querySelectorAll('td')) {
      const entry = exactEntry(k, Number(cell.dataset.r), Number(cell.dataset.c), cell.textContent);
      cell.title = entry.text;
      cell.classList.toggle('residue', entry.residue === true);
    }
    const note = article.querySelector('.stop-note');
    if (note) note.remove();
    if (result && result.stop && result.stop.stage === k) article.append(stopNote(result.stop));
  }

  function stopNote(stop) {
    let shown = stop.shown;
    if (shown === null) shown = stages[stop.stage - 1].printout.rows[stop.row - 1][stop.column - 1];
    const parts = [t('exact.stop', { i: stop.row, c: stop.column })];
    parts.push(shown === '0' || shown === '-0' ? t('exact.stop.zero') : t('exact.stop.residue', { shown }));
    if (stop.singular) parts.push(t('exact.stop.singular'));
    parts.push(t('exact.stop.end'));
    const note = element('p', 'note-box stop-note', parts.join(' '));
    note.setAttribute('role', 'note');
    return note;
  }

  // The printout as a grid with one tab stop: the arrow keys move among its entries.
  function grid(k) {
    const stage = stages[k];
    const table = element('table', 'printout');
    table.setAttribute('role', 'grid');
    table.setAttribute('aria-label', t('stage.printout', { k: k + 1 }));
    const rows = stage.printout.rows ?? stage.printout.unknowns.map((x) => [x]);
    rows.forEach((row, r) => {
      const tr = table.insertRow();
      if (stage.printout.unknowns) {
        const th = element('th', '', `x${r + 1} =`);
        th.scope = 'row';
        tr.append(th);
      }
      row.forEach((entry, c) => {
        const cell = element('td', '', entry);
        cell.dataset.r = r;
        cell.dataset.c = c;
        cell.tabIndex = r === 0 && c === 0 ? 0 : -1;
        if (stage.changed.has(r + ',' + c)) cell.classList.add('changed');
        if (stage.pivot !== null && r === stage.pivot - 1 && c === stage.pivot - 1) cell.classList.add('pivot');
        tr.append(cell);
      });
    });
    const box = element('div', 'printout-box');
    box.append(table);
    return box;
  }

  function article(k) {
    const stage = stages[k];
    const a = element('article', 'stage');
    a.dataset.stage = k;
    a.id = `stage-${k + 1}`;
    const heading = element('h3', '', t('stage.heading', { k: k + 1, name: stageName(k) }));
    heading.id = `stage-${k + 1}-heading`;
    heading.tabIndex = -1;
    a.setAttribute('aria-labelledby', heading.id);
    a.append(heading);
    const line = run.lines.get(stage.id);
    if (line !== undefined) {
      const p = element('p', 'commentary');
      const printed = element('span', 'printed-line', line);
      printed.lang = 'ko';
      p.append(printed, ' — ', t('gloss.' + stage.id));
      a.append(p);
    }
    a.append(element('p', 'about', t('about.' + stage.id, { j: stage.column })));
    // The printout, and beside it (under it on a narrow screen) its operations.
    const figure = element('div', 'figure');
    figure.append(grid(k), element('p', 'readout', t('exact.hint')));
    const operations = element('div', 'operations');
    operations.append(element('h4', '', t('stage.operations')));
    const described = stage.ops.map((op) => describe(op, stage)).filter(Boolean);
    if (described.length === 0) operations.append(element('p', '', t('stage.noOperations')));
    else {
      const ops = element('ul', 'ops');
      for (const { notation, words } of described) {
        const li = element('li');
        li.append(element('span', 'notation', notation), ' ', element('span', 'words', `(${words})`));
        ops.append(li);
      }
      operations.append(ops);
    }
    const body = element('div', 'stage-body');
    body.append(figure, operations);
    a.append(body);
    decorate(a);
    return a;
  }

  function articleFor(k) {
    if (!built.has(k)) built.set(k, article(k));
    return built.get(k);
  }

  // Puts the current stage, or every stage, into the list, and the controls in step.
  function paint() {
    const shownStages = all || printing ? stages.map((s, k) => k) : [current];
    list.replaceChildren(...shownStages.map(articleFor));
    for (const [k, a] of built) a.classList.toggle('current', all && k === current);
    position.textContent = t('stages.position', { k: current + 1, count: stages.length });
    previousButton.disabled = current === 0;
    nextButton.disabled = current === stages.length - 1;
    allButton.setAttribute('aria-pressed', String(all));
  }

  function paintExactNote() {
    let note = '';
    if (result && result.none) {
      const none = result.none;
      note = none.missing ? t('exact.none.missing')
        : none.token !== undefined ? t('exact.none.token', { token: none.token })
        : t('exact.none.value', { row: none.row, value: none.value });
    } else if (result && result.stop) {
      note = t('exact.stopped', { k: result.stop.stage + 1 });
    }
    exactNote.textContent = note;
    exactNote.hidden = note === '';
  }

  function computeExact() {
    pending = 0;
    const none = exact.unreadable(run.report.rows, run.typed, run.typedPerRow);
    result = none ? { none } : exact.replay(run.report);
    for (const a of built.values()) decorate(a);
    paintExactNote();
    section.dataset.exact = 'done';
  }

  // After the pane is painted: the next frame, then a task of its own.
  function scheduleExact() {
    clearTimeout(pending);
    section.dataset.exact = 'pending';
    requestAnimationFrame(() => { pending = setTimeout(computeExact, 0); });
  }

  // Shows the stages of a run: program, the parsed report and its text, the
  // transcript so far, everything typed, and the commentary line of each stage
  // id. Nothing is redone when the report is the same as before.
  function show(next) {
    if (run && run.reportText === next.reportText && run.program === next.program) return;
    const hadStages = stages.length > 0;
    run = next;
    run.typedPerRow = run.program === 'gjsolve' ? run.report.rows.length + 1 : run.report.rows.length;
    const printouts = exact.parsePrintouts(run.output);
    const changed = changes(printouts);
    stages = run.report.stages.map((stage, k) => ({ ...stage, printout: printouts[k], changed: changed[k] }))
      .filter((stage) => stage.printout);
    built.clear();
    result = null;
    clearTimeout(pending);
    if (!hadStages) current = 0;
    current = Math.max(0, Math.min(current, stages.length - 1));
    empty.hidden = stages.length > 0;
    controls.hidden = stages.length === 0;
    paintExactNote();
    if (stages.length === 0) {
      list.replaceChildren();
      delete section.dataset.exact;
      return;
    }
    paint();
    scheduleExact();
  }

  // Moves to stage k. Focus on an entry follows to the same place in the new
  // stage's printout, so that one entry can be watched from stage to stage.
  function go(k) {
    if (k < 0 || k >= stages.length || k === current) return;
    const focused = document.activeElement;
    const place = focused && focused.matches('#stage-list td')
      ? [focused.dataset.r, focused.dataset.c] : null;
    current = k;
    paint();
    // At either end its button is disabled, and the focus goes to the other one.
    if (focused && focused.disabled) (focused === nextButton ? previousButton : nextButton).focus();
    const a = articleFor(k);
    if (place) {
      const cell = a.querySelector(`td[data-r="${place[0]}"][data-c="${place[1]}"]`);
      if (cell) moveTo(cell);
      else a.querySelector('h3').focus();
    }
    if (all) a.scrollIntoView({ block: 'nearest' });
    announce(t('status.stage', { k: k + 1, count: stages.length, name: stageName(k) }));
  }

  // Makes cell the grid's one tab stop, and focuses it.
  function moveTo(cell) {
    const table = cell.closest('table');
    for (const other of table.querySelectorAll('td[tabindex="0"]')) other.tabIndex = -1;
    cell.tabIndex = 0;
    cell.focus();
  }

  function gridKey(event, cell) {
    const table = cell.closest('table');
    const r = Number(cell.dataset.r);
    const c = Number(cell.dataset.c);
    const rows = table.rows.length;
    const cols = table.rows[0].querySelectorAll('td').length;
    const to = {
      ArrowUp: [r - 1, c], ArrowDown: [r + 1, c], ArrowLeft: [r, c - 1], ArrowRight: [r, c + 1],
      Home: [r, 0], End: [r, cols - 1],
    }[event.key];
    if (!to) return false;
    const [r2, c2] = [Math.max(0, Math.min(rows - 1, to[0])), Math.max(0, Math.min(cols - 1, to[1]))];
    moveTo(table.querySelector(`td[data-r="${r2}"][data-c="${c2}"]`));
    return true;
  }

  // What the status line tells of stages from .. to-1, new from one run: how
  // many, then the last one's name, commentary line and operations; never its
  // printout. Returns the parts, text and elements, to be read in turn.
  function brief(from, to) {
    const k = to - 1;
    const stage = stages[k];
    const parts = [t(to - from > 1 ? 'announce.many' : 'announce.one', { count: to - from, k: k + 1, name: stageName(k) })];
    const line = run.lines.get(stage.id);
    if (line !== undefined) {
      const printed = element('span', '', line);
      printed.lang = 'ko';
      parts.push(printed, t('announce.gloss', { gloss: t('gloss.' + stage.id) }));
    }
    const ops = stage.ops.map((op) => describe(op, stage)).filter(Boolean).map((op) => op.notation);
    if (ops.length > 0) parts.push(t('announce.ops', { ops: ops.join('; ') }));
    return parts;
  }

  function start(announcer) {
    announce = announcer;
    previousButton.addEventListener('click', () => go(current - 1));
    nextButton.addEventListener('click', () => go(current + 1));
    allButton.addEventListener('click', () => {
      all = !all;
      paint();
      if (all) articleFor(current).scrollIntoView({ block: 'nearest' });
    });
    section.addEventListener('keydown', (event) => {
      if (event.altKey || event.ctrlKey || event.metaKey) return;
      let handled = false;
      if (event.key === 'PageUp' || event.key === 'PageDown') {
        go(current + (event.key === 'PageDown' ? 1 : -1));
        handled = true;
      } else if (event.target.matches('#stage-list td')) {
        handled = gridKey(event, event.target);
      }
      if (handled) event.preventDefault();
    });
    list.addEventListener('focusin', (event) => {
      if (event.target.matches('td')) readout(event.target);
    });
    list.addEventListener('mouseover', (event) => {
      if (event.target.matches('td')) readout(event.target);
    });
    // A print holds every stage, whatever the screen shows.
    for (const [event, on] of [['beforeprint', true], ['afterprint', false]]) {
      addEventListener(event, () => {
        printing = on;
        if (stages.length > 0) paint();
      });
    }
    // A new language: every article is told anew.
    language.onChange(() => {
      if (stages.length === 0) return;
      built.clear();
      paint();
      paintExactNote();
    });
  }

  return { start, show, brief, count: () => stages.length };
})();
