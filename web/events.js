// Where the page's parts meet: events on one target, one queue of work to do
// after the pane is painted, and one helper that makes elements.
//   'model'     a new model is shown (detail: the model)
//   'announce'  something for the status line to say (detail: its parts, text
//               or elements, read in turn)
// Work after paint is tagged with the run that it is for, and dropped when
// another run is shown by the time it would start.
'use strict';
var GJ = globalThis.GJ = globalThis.GJ || {};

GJ.events = (() => {
  const target = new EventTarget();
  let shown = 0;  // the id of the run shown

  function on(type, fn) {
    target.addEventListener(type, (event) => fn(event.detail));
  }

  function emit(type, detail) {
    target.dispatchEvent(new CustomEvent(type, { detail }));
  }

  // Notes that run is the one shown now.
  function show(run) {
    shown = run.id;
  }

  const isShown = (run) => run.id === shown;

  // Runs fn once the next frame is painted (the frame, then a task of its own),
  // if run is still the one shown then.
  function afterPaint(run, fn) {
    requestAnimationFrame(() => setTimeout(() => { if (isShown(run)) fn(); }, 0));
  }

  return { on, emit, show, isShown, afterPaint };
})();

// An element: tag, optional class, text and attributes (properties where the
// element has one of that name, attributes otherwise).
GJ.el = (tag, className = '', text = undefined, attributes = {}) => {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  for (const [name, value] of Object.entries(attributes)) {
    if (name in e) e[name] = value;
    else e.setAttribute(name, value);
  }
  return e;
};

// Puts text on the clipboard (or, given a map of types to texts, each flavour)
// and has the status line say that it did, with doneId, or why it could not.
GJ.copy = async (content, doneId) => {
  try {
    if (typeof content === 'string') await navigator.clipboard.writeText(content);
    else await navigator.clipboard.write([new ClipboardItem(Object.fromEntries(
      Object.entries(content).map(([type, text]) => [type, new Blob([text], { type })])))]);
    GJ.events.emit('announce', () => [GJ.language.t(doneId)]);
  } catch (e) {
    GJ.events.emit('announce', () => [GJ.language.t('status.copyFailed', { error: e.message })]);
  }
};
