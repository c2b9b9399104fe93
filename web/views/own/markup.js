// The markup of "Your own way", which its part of the page brings: made when
// the part loads (page/parts/own-part.js imports this first), before the view
// that draws into it looks for its elements, and drawn in the page's language.
import { byId } from '../dom.js';
import { drawTexts } from '../language.js';

const section = byId('own');
const options = (prefix, values) => values.map((v) => `<option value="${v}" data-text="~${prefix}${v}"></option>`).join('');

// The markup, its lines continued (\) so that it holds no line breaks; in
// it, ~ stands for own.view., the start of its texts' ids.
section.innerHTML = `<h2 id="own-heading" data-text="~heading" tabindex="-1">Your own way</h2><p class="help" data-text="~intro"></p>\
<details id="own-start"><summary data-text="~start"></summary><p><button type="button" id="own-from-run" data-text="~fromRun"></button></p>\
<form id="own-exercise" class="own-line"><label for="own-program" data-text="~program"></label><select id="own-program">${options('program.', ['gjsolve', 'gjinverse'])}</select><label for="own-order" data-text="~order"></label><select id="own-order"><option>2</option><option selected>3</option><option>4</option><option>5</option></select><button type="submit" data-text="~makeExercise"></button></form>\
<form id="own-typed-form"><p class="own-line"><label for="own-kind" data-text="~kind"></label><select id="own-kind">${options('kind.', ['system', 'inverse', 'matrix'])}</select></p><p><label for="own-typed" data-text="~entries"></label><br><textarea id="own-typed" rows="4" spellcheck="false" autocapitalize="off" autocomplete="off" aria-describedby="own-limits own-typed-problem"></textarea></p><p id="own-limits" class="help" data-text="~limits"></p><p id="own-typed-problem" class="own-problem"></p>\
<ul id="own-typed-cells" class="own-problem"></ul><button type="submit" data-text="~use"></button></form></details><p id="own-empty" class="note-box" data-text="~empty"></p>\
<div id="own-work" hidden>\
<div id="own-matrix" class="printout-box" tabindex="0" role="region"></div><p id="own-shape"></p>\
<div id="own-meaning" class="note-box" role="group" aria-labelledby="own-meaning-heading" hidden><h3 id="own-meaning-heading" data-text="~meaning"></h3><p></p></div>\
<fieldset id="own-arithmetic"><legend data-text="~arithmetic"></legend><label><input type="radio" name="own-by" value="page" checked> <span data-text="~byPage"></span></label><label><input type="radio" name="own-by" value="learner"> <span data-text="~byLearner"></span></label></fieldset>\
<form id="own-op-form" class="own-line"><label for="own-op" data-text="~op"></label><input id="own-op" autocomplete="off" autocapitalize="off" spellcheck="false" enterkeyhint="done" aria-describedby="own-op-problem own-op-help"><button type="submit" data-text="~apply"></button></form><p id="own-op-help" class="help" data-text="~opHelp"></p><p id="own-op-problem" class="own-problem"></p>\
<details id="own-buttons"><summary data-text="~buttons"></summary><p class="own-line"><label for="own-row" data-text="~row"></label> <select id="own-row"></select><label for="own-factor" data-text="~factor"></label> <input id="own-factor" size="6" value="1" autocomplete="off" autocapitalize="off" spellcheck="false"><label for="own-from" data-text="~from"></label> <select id="own-from"></select></p><p class="own-line"><button type="button" data-build="swap" data-text="~swap"></button><button type="button" data-build="scale" data-text="~scale"></button><button type="button" data-build="add" data-text="~add"></button></p></details>\
<div id="own-pending" class="note-box" hidden><p id="own-pending-ask"></p>\
<form id="own-row-form">\
<div id="own-fields" class="own-fields"></div><p id="own-slip" class="own-problem"></p><p class="own-line"><button type="submit" data-text="~check"></button><button type="button" id="own-show" data-text="~show"></button><button type="button" id="own-cancel" data-text="~cancel"></button></p></form></div><p class="own-line"><button type="button" id="own-hint" data-text="~hint"></button><button type="button" id="own-compare" data-text="~compare"></button></p><p id="own-help" class="note-box" hidden></p><h3 id="own-history-heading" data-text="~history"></h3><p class="own-line"><button type="button" id="own-undo" data-text="~undo"></button><button type="button" id="own-redo" data-text="~redo"></button></p>\
<ol id="own-history" start="0" aria-labelledby="own-history-heading"></ol><p id="own-record"></p><p class="own-line"><button type="button" data-copy="text" data-text="~copyText"></button><button type="button" data-copy="latex" data-text="export.latex"></button><button type="button" data-copy="markdown" data-text="export.markdown"></button></p></div>`.replaceAll('="~', '="own.view.');
drawTexts(section);
