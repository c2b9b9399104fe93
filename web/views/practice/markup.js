// The practice section's markup, which practice's part of the page brings:
// made when the part loads (page/parts/practice-part.js imports this first), before
// the views that draw into it look for their elements, and drawn in the
// language of the page. The form of a new assignment, within it, is the
// teacher's part's (views/assignments/markup.js), asked for when first opened.
import { byId } from '../dom.js';
import { drawTexts } from '../language.js';
import { exerciseOptions } from '../../logic/run/share.js';

// The generator's options as boxes named name, "nice" checked: an exercise's
// and an assignment's (views/assignments/markup.js).
export const optionBoxes = (name) => `<fieldset>
  <legend data-text="exercise.options">Options</legend>
${exerciseOptions.map((o) => `  <label><input type="checkbox" name="${name}" value="${o}"${o === 'nice' ? ' checked' : ''}> <span data-text="exercise.${o}"></span></label>`).join('\n')}
</fieldset>`;

const section = byId('practice');
section.innerHTML = `
<h2 id="practice-heading" data-text="practice.heading">Practice</h2>
<p class="help" data-text="practice.intro"></p>
<details id="exercise">
  <summary><span data-text="exercise.summary">New exercise</span>: <span class="program-name">gjinverse</span></summary>
  <form id="exercise-form">
    <p><label for="exercise-order" data-text="exercise.order">Order</label>
      <select id="exercise-order"><option>2</option><option selected>3</option><option>4</option><option>5</option></select>
      <label for="exercise-seed" data-text="exercise.seed">Seed</label>
      <input id="exercise-seed" inputmode="numeric" autocomplete="off" size="8"></p>
${optionBoxes('exercise-option')}
    <button type="submit" data-text="exercise.make">Make the exercise</button>
    <p class="class-set"><label for="exercise-count" data-text="exercise.count">Sheets</label>
      <input id="exercise-count" type="number" min="1" max="100" value="30" inputmode="numeric" autocomplete="off">
      <label for="exercise-print" data-text="exercise.printWhat">Print</label>
      <select id="exercise-print"><option value="all" data-text="exercise.print.all">sheets and answer keys</option><option value="sheets" data-text="exercise.print.sheets">sheets only</option><option value="keys" data-text="exercise.print.keys">answer keys only</option></select>
      <button type="button" id="exercise-class-set" data-text="exercise.classSet">Print a class set</button></p>
    <p><label><input type="checkbox" id="exercise-one-sided"> <span data-text="exercise.oneSided"></span></label></p>
    <p id="exercise-file-link" class="note-box" data-text="exercise.fileLink" hidden></p>
    <p class="help" data-text="exercise.classSetHelp"></p>
  </form>
</details>
<details id="assignment">
  <summary data-text="assign.summary">New assignment for a class</summary>
</details>
<p id="practice-unmet" class="note-box" data-text="exercise.unmet" hidden></p>
<div id="link-choice" class="note-box" role="group" hidden></div>
<div id="practice-setup" hidden>
  <fieldset id="practice-fill">
    <legend data-text="practice.fill">Entries to fill in after the decisions</legend>
    <label><input type="radio" name="practice-fill" value="none"> <span data-text="practice.fill.none"></span></label>
    <label><input type="radio" name="practice-fill" value="row" checked> <span data-text="practice.fill.row"></span></label>
    <label><input type="radio" name="practice-fill" value="all"> <span data-text="practice.fill.all"></span></label>
  </fieldset>
  <p class="start-at"><label for="practice-from" data-text="practice.from">Start at</label> <select id="practice-from"></select></p>
  <p><label><input type="checkbox" id="practice-exact"> <span data-text="practice.exact">Printouts as exact fractions</span></label></p>
  <p><button type="button" id="practice-restart" data-text="practice.restart">Start this exercise over</button></p>
  <p id="practice-restart-confirm" class="confirm" role="group" aria-labelledby="practice-restart-question" hidden>
    <span id="practice-restart-question" data-text="confirm.erase">Erase this exercise's answers?</span>
    <button type="button" class="erase" data-text="confirm.yes">Yes, erase them</button>
    <button type="button" class="keep" id="practice-restart-keep" data-text="confirm.no">No, keep them</button></p>
</div>
<div id="practice-body"></div>
<div id="student-end" hidden></div>
`;
drawTexts(section);
