// The markup of "Your own way", which its part of the page brings: made when
// the part loads (page/parts/own-part.js imports this first), before the view
// that draws into it looks for its elements, and drawn in the page's language.
import { byId } from '../dom.js';
import { drawTexts } from '../language.js';

const section = byId('own');
const options = (prefix, values) => values.map((v) => `<option value="${v}" @${prefix}${v}></option>`).join('');

// What several of its elements have: a line of controls, and no help from the browser's typing.
const line = 'class="own-line"';
const off = 'autocomplete="off" autocapitalize="off" spellcheck="false"';

// The markup, its lines continued (\) so that it holds no line breaks; in
// it, @id stands for the attribute data-text="own.view.id", and <B for a
// button of type button.
section.innerHTML = `<h2 id="own-heading" @heading tabindex="-1">Your own way</h2><p class="help" @intro></p>\
<details id="own-start"><summary @start></summary><p><B id="own-from-run" @fromRun></button></p>\
<form id="own-exercise" ${line}><label for="own-program" @program></label><select id="own-program">${options('program.', ['gjsolve', 'gjinverse'])}</select><label for="own-order" @order></label><select id="own-order"><option>2</option><option selected>3</option><option>4</option><option>5</option></select><button type="submit" @makeExercise></button></form>\
<form id="own-typed-form"><p ${line}><label for="own-kind" @kind></label><select id="own-kind">${options('kind.', ['system', 'inverse', 'matrix'])}</select></p><p><label for="own-typed" @entries></label><br><textarea id="own-typed" rows="4" ${off} aria-describedby="own-limits own-typed-problem"></textarea></p><p id="own-limits" class="help" @limits></p><p id="own-typed-problem" class="own-problem"></p>\
<ul id="own-typed-cells" class="own-problem"></ul><button type="submit" @use></button></form></details><p id="own-empty" class="note-box" @empty></p>\
<div id="own-work" hidden>\
<div id="own-matrix" class="printout-box" tabindex="0" role="region"></div><p id="own-shape"></p>\
<div id="own-meaning" class="note-box" role="group" aria-labelledby="own-meaning-heading" hidden><h3 id="own-meaning-heading" @meaning></h3><p></p></div>\
<fieldset id="own-arithmetic"><legend @arithmetic></legend><label><input type="radio" name="own-by" value="page" checked> <span @byPage></span></label><label><input type="radio" name="own-by" value="learner"> <span @byLearner></span></label></fieldset>\
<form id="own-op-form" ${line}><label for="own-op" @op></label><input id="own-op" ${off} enterkeyhint="done" aria-describedby="own-op-problem own-op-help"><button type="submit" @apply></button></form><p id="own-op-help" class="help" @opHelp></p><p id="own-op-problem" class="own-problem"></p>\
<details id="own-buttons"><summary @buttons></summary><p ${line}><label for="own-row" @row></label> <select id="own-row"></select><label for="own-factor" @factor></label> <input id="own-factor" size="6" value="1" ${off}><label for="own-from" @from></label> <select id="own-from"></select></p><p ${line}><B data-build="swap" @swap></button><B data-build="scale" @scale></button><B data-build="add" @add></button></p></details>\
<div id="own-pending" class="note-box" hidden><p id="own-pending-ask"></p>\
<form id="own-row-form">\
<div id="own-fields" class="own-fields"></div><p id="own-slip" class="own-problem"></p><p ${line}><button type="submit" @check></button><B id="own-show" @show></button><B id="own-cancel" @cancel></button></p></form></div><p ${line}><B id="own-hint" @hint></button><B id="own-compare" @compare></button></p><p id="own-help" class="note-box" hidden></p><h3 id="own-history-heading" @history></h3><p ${line}><B id="own-undo" @undo></button><B id="own-redo" @redo></button></p>\
<ol id="own-history" start="0" aria-labelledby="own-history-heading"></ol><p id="own-record"></p><p ${line}><B data-copy="text" @copyText></button><B data-copy="latex" data-text="export.latex"></button><B data-copy="markdown" data-text="export.markdown"></button></p></div>`.replace(/@([\w.]+)/g, 'data-text="own.view.$1"').replaceAll('<B ', '<button type="button" ');
drawTexts(section);
