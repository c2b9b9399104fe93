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

// The markup, its lines continued (\) so that it holds no line breaks. In
// it, #id stands for the attribute id="own-id", @id for data-text="own.view.id",
// <B …> for an empty button of type button, <S …> for one of type submit, and
// <L id …> for an empty label for the element own-id.
section.innerHTML = `<h2 #heading @heading tabindex="-1">Your own way</h2><p class="help" @intro></p>\
<details #start><summary @start></summary><p><B #from-run @fromRun></p>\
<form #exercise ${line}><L program @program><select #program>${options('program.', ['gjsolve', 'gjinverse'])}</select><L order @order><select #order><option>2</option><option selected>3</option><option>4</option><option>5</option></select><S @makeExercise></form>\
<form #typed-form><p ${line}><L kind @kind><select #kind>${options('kind.', ['system', 'inverse', 'matrix'])}</select></p><p><L typed @entries><br><textarea #typed rows="4" ${off} aria-describedby="own-limits own-typed-problem"></textarea></p><p #limits class="help" @limits></p><p #typed-problem class="own-problem"></p>\
<ul #typed-cells class="own-problem"></ul><S @use></form></details><p #empty class="note-box" @empty></p>\
<div #work hidden>\
<div #matrix class="printout-box" tabindex="0" role="region"></div><p #shape></p>\
<div #meaning class="note-box" role="group" aria-labelledby="own-meaning-heading" hidden><h3 #meaning-heading @meaning></h3><p></p></div>\
<fieldset #arithmetic><legend @arithmetic></legend><label><input type="radio" name="own-by" value="page" checked> <span @byPage></span></label><label><input type="radio" name="own-by" value="learner"> <span @byLearner></span></label></fieldset>\
<form #op-form ${line}><L op @op><input #op ${off} enterkeyhint="done" aria-describedby="own-op-problem own-op-help"><S @apply></form><p #op-help class="help" @opHelp></p><p #op-problem class="own-problem"></p>\
<details #buttons><summary @buttons></summary><p ${line}><L row @row> <select #row></select><L factor @factor> <input #factor size="6" value="1" ${off}><L from @from> <select #from></select></p><p ${line}><B data-build="swap" @swap><B data-build="scale" @scale><B data-build="add" @add></p></details>\
<div #pending class="note-box" hidden><p #pending-ask></p><div #sources class="printout-box" tabindex="0" role="region"></div>\
<form #row-form>\
<div #fields class="own-fields"></div><p #slip class="own-problem"></p><p ${line}><S @check><B #show @show><B #cancel @cancel></p></form></div><p ${line}><B #hint @hint><B #compare @compare></p><p #help class="note-box" hidden></p><h3 #history-heading @history></h3><p ${line}><B #undo @undo><B #redo @redo></p>\
<ol #history start="0" aria-labelledby="own-history-heading"></ol><p #record></p><p ${line}><B data-copy="text" @copyText><B data-copy="latex" data-text="export.latex"><B data-copy="document" @copyDocument><B data-copy="markdown" data-text="export.markdown"></p></div>`
  .replace(/<B([^>]*)>/g, '<button type="button"$1></button>').replace(/<S([^>]*)>/g, '<button type="submit"$1></button>')
  .replace(/<L (\S+)([^>]*)>/g, '<label for="own-$1"$2></label>').replace(/#([\w-]+)/g, 'id="own-$1"').replace(/@([\w.]+)/g, 'data-text="own.view.$1"');
drawTexts(section);
