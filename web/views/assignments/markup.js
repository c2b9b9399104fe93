// The markup of the teacher's side, which the teacher's part of the page
// brings: the results view that a teacher's link opens, and the form of a new
// assignment in practice's section (views/practice/markup.js). Made when the
// part loads (page/parts/teacher-part.js imports this first), before the views that
// draw into it look for their elements, and drawn in the language of the page.
import { byId } from '../dom.js';
import { drawTexts } from '../language.js';
import { optionBoxes } from '../practice/markup.js';

// "Download for an LMS": the assignment's package, asked where it was made
// (at '') and in the results view of a teacher's link (at 'teacher-'), the
// ids of each starting with at (lms-download.js).
const lmsDetails = (at) => `  <details id="${at}lms" class="lms">
    <summary data-text="lms.summary">Download for an LMS</summary>
    <form id="${at}lms-form" class="lms-form">
      <p class="help" data-text="lms.help"></p>
      <fieldset>
        <legend data-text="lms.version">SCORM version</legend>
        <label><input type="radio" name="${at}lms-version" value="1.2" checked> <span data-text="lms.version.1.2"></span></label>
        <label><input type="radio" name="${at}lms-version" value="2004"> <span data-text="lms.version.2004"></span></label>
      </fieldset>
      <p class="help" data-text="lms.versionHelp"></p>
      <p><label for="${at}lms-pass" data-text="lms.passMark">Pass mark</label>
        <input id="${at}lms-pass" type="number" min="0" max="100" step="any" value="60" inputmode="decimal" aria-describedby="${at}lms-pass-help"></p>
      <p class="help" id="${at}lms-pass-help" data-text="lms.passHelp"></p>
      <p><label for="${at}lms-zip" data-text="lms.zip">The release's web zip</label>
        <input id="${at}lms-zip" type="file" accept=".zip,application/zip" required aria-describedby="${at}lms-zip-help"></p>
      <p class="help" id="${at}lms-zip-help" data-text="lms.zipHelp"></p>
      <button type="submit" data-text="lms.download">Download the package</button>
      <p id="${at}lms-problem" class="note-box" role="alert" hidden></p>
    </form>
  </details>
`;

const section = byId('teacher');
section.innerHTML = `
<h2 id="teacher-heading" data-text="teacher.heading">Assignment results</h2>
<dl id="teacher-facts"></dl>
<h3 data-text="assign.students">Links for the students</h3>
<div id="teacher-links"></div>
<details id="teacher-more-names">
  <summary data-text="teacher.moreNames">Add or correct names</summary>
  <form id="teacher-names-form">
    <p><label for="teacher-new-names" data-text="teacher.newNames">Names to add, one a line</label></p>
    <textarea id="teacher-new-names" rows="3" autocomplete="off" aria-describedby="teacher-names-help"></textarea>
    <p class="help" id="teacher-names-help" data-text="teacher.namesHelp"></p>
    <p><button type="submit" data-text="teacher.addNames">Add the names</button></p>
  </form>
  <form id="teacher-correct-form">
    <p><label for="teacher-wrong-name" data-text="teacher.wrongName">Name to correct</label>
      <select id="teacher-wrong-name"></select>
      <label for="teacher-right-name" data-text="teacher.rightName">Written rightly</label>
      <input id="teacher-right-name" autocomplete="off" maxlength="100">
      <button type="submit" data-text="teacher.correct">Correct</button></p>
  </form>
</details>
<form id="teacher-print-form">
  <p><label for="teacher-parts" data-text="exercise.printWhat">Print</label>
    <select id="teacher-parts"><option value="all" data-text="exercise.print.all">sheets and answer keys</option><option value="sheets" data-text="exercise.print.sheets">sheets only</option><option value="keys" data-text="exercise.print.keys">answer keys only</option></select>
    <button type="submit" id="teacher-keys" data-text="teacher.keys">Print the worksheets and keys</button></p>
  <p><label><input type="checkbox" id="teacher-one-sided"> <span data-text="exercise.oneSided"></span></label></p>
</form>
<form id="teacher-form">
  <p><label for="teacher-codes" data-text="teacher.codes">Result codes handed in</label></p>
  <textarea id="teacher-codes" rows="6" spellcheck="false" autocomplete="off"></textarea>
  <p><button type="submit" data-text="teacher.read">Read the codes</button>
    <label for="teacher-rule" data-text="teacher.rule">Of several codes of a student, grade</label>
    <select id="teacher-rule"><option value="best" data-text="teacher.rule.best"></option>
      <option value="first" data-text="teacher.rule.first"></option><option value="latest" data-text="teacher.rule.latest"></option></select></p>
</form>
<div id="teacher-table"></div>
<div id="teacher-detail" tabindex="-1"></div>
<p id="teacher-exports" hidden><button type="button" id="teacher-csv" data-text="teacher.csv">Download the table (CSV)</button>
  <button type="button" id="teacher-print" data-text="teacher.print">Print the table</button></p>
${lmsDetails('teacher-')}
<div class="gradebook" id="teacher-book"></div>
`;
const form = byId('assignment');
form.insertAdjacentHTML('beforeend', `
<form id="assignment-form">
  <p class="note-box" data-text="assign.limits"></p>
  <fieldset>
    <legend data-text="assign.source">The matrix</legend>
    <label><input type="radio" name="assign-source" value="drawn" checked> <span data-text="assign.source.drawn"></span></label>
    <label><input type="radio" name="assign-source" value="given"> <span data-text="assign.source.given"></span></label>
  </fieldset>
  <div id="assign-given" hidden>
  <p><label for="assign-kind" data-text="assign.kind">Each matrix is</label>
    <select id="assign-kind"><option value="system" data-text="assign.kind.system"></option><option value="inverse" data-text="assign.kind.inverse"></option>
      <option value="matrix" data-text="assign.kind.matrix"></option></select></p>
  <p><label for="assign-typed" data-text="assign.typed">Your matrices</label></p>
  <textarea id="assign-typed" rows="6" spellcheck="false" autocomplete="off" aria-describedby="assign-typed-help"></textarea>
  <p class="help" id="assign-typed-help" data-text="assign.typedHelp"></p>
  </div>
  <div id="assign-drawn">
  <p><label for="assign-program" data-text="assign.program">Program</label>
    <select id="assign-program"><option value="gjinverse">gjinverse</option><option value="gjsolve">gjsolve</option></select>
    <label for="assign-order" data-text="exercise.order">Order</label>
    <select id="assign-order"><option>2</option><option selected>3</option><option>4</option></select></p>
${optionBoxes('assign-option')}
  </div>
  <fieldset>
    <legend data-text="assign.mode">What the students do</legend>
    <label><input type="radio" name="assign-mode" value="stages" checked> <span data-text="assign.mode.stages"></span></label>
    <label><input type="radio" name="assign-mode" value="own"> <span data-text="assign.mode.own"></span></label>
  </fieldset>
  <div id="assign-stages">
  <p><label for="assign-from" data-text="assign.from">First stage asked</label>
    <select id="assign-from" aria-describedby="assign-from-help"></select></p>
  <p class="help" id="assign-from-help" data-text="assign.fromHelp"></p>
  <fieldset>
    <legend data-text="practice.fill">Entries to fill in after the decisions</legend>
    <label><input type="radio" name="assign-fill" value="none"> <span data-text="practice.fill.none"></span></label>
    <label><input type="radio" name="assign-fill" value="row" checked> <span data-text="practice.fill.row"></span></label>
    <label><input type="radio" name="assign-fill" value="all"> <span data-text="practice.fill.all"></span></label>
  </fieldset>
  <p><label for="assign-hints" data-text="assign.hints">Hints allowed per stage</label>
    <select id="assign-hints"><option value="0" data-text="assign.hints.0"></option><option value="1" data-text="assign.hints.1"></option>
      <option value="2" data-text="assign.hints.2"></option><option value="3" data-text="assign.hints.3" selected></option></select></p>
  <p><label><input type="checkbox" id="assign-show"> <span data-text="assign.show"></span></label></p>
  </div>
  <div id="assign-own" hidden>
  <fieldset>
    <legend data-text="assign.arithmetic">The arithmetic of each operation</legend>
    <label><input type="radio" name="assign-arithmetic" value="page" checked> <span data-text="assign.arithmetic.page"></span></label>
    <label><input type="radio" name="assign-arithmetic" value="learner"> <span data-text="assign.arithmetic.learner"></span></label>
  </fieldset>
  <p><label><input type="checkbox" id="assign-own-hints" checked> <span data-text="assign.own.hints"></span></label></p>
  <p><label><input type="checkbox" id="assign-own-show" aria-describedby="assign-own-show-help" disabled> <span data-text="assign.own.show"></span></label></p>
  <p class="help" id="assign-own-show-help" data-text="assign.own.showHelp"></p>
  </div>
  <p><button type="button" id="assign-add" data-text="assign.add">Add to the set</button></p>
  <p class="help" data-text="assign.setHelp"></p>
  <div id="assign-set"></div>
  <fieldset>
    <legend data-text="assign.matrices">Matrices</legend>
    <label><input type="radio" name="assign-matrix" value="student" checked> <span data-text="assign.perStudent"></span></label>
    <label><input type="radio" name="assign-matrix" value="class"> <span data-text="assign.forClass"></span></label>
  </fieldset>
  <p><label for="assign-title" data-text="assign.title">Title (optional)</label>
    <input id="assign-title" maxlength="200" autocomplete="off"></p>
  <p><label for="assign-due" data-text="assign.due">Due date (optional)</label>
    <input id="assign-due" type="date"></p>
  <p><label for="assign-names" data-text="assign.names">Names, one a line (optional)</label></p>
  <textarea id="assign-names" rows="6" autocomplete="off" aria-describedby="assign-names-help"></textarea>
  <p class="help" id="assign-names-help" data-text="assign.namesHelp"></p>
  <button type="submit" data-text="assign.make">Make the links</button>
  <p id="assignment-problem" class="note-box" role="alert" hidden></p>
  <div id="assignment-question" class="note-box" role="alert" hidden><p id="assignment-question-text"></p>
    <button type="button" id="assignment-confirm" data-text="assign.anyway">Make the links as they are</button></div>
</form>
<div id="assignment-made" hidden>
  <h3 data-text="assign.students">Links for the students</h3>
  <div id="assignment-students"></div>
  <h3 data-text="assign.teacher">Your link</h3>
  <p class="help" data-text="assign.teacherHelp"></p>
  <p class="link-line"><a id="assignment-teacher" href="#gjinverse">#gjinverse</a></p>
  <button type="button" id="assignment-copy-teacher" data-text="assign.copyTeacher">Copy your link</button>
${lmsDetails('')}</div>
<div class="gradebook" id="assignment-book"></div>
`);
drawTexts(section);
drawTexts(form);
