// The names that assistive technology reads for the page's parts, in the page's
// language: the dialogue pane, a scrollable region reached with Tab, is named here.
'use strict';
(() => {
  // This script's texts, by id, in each language of the page.
  const texts = {
    paneName: { en: 'Dialogue with the program', ko: '프로그램과의 대화' },
  };
  const language = document.documentElement.lang.startsWith('ko') ? 'ko' : 'en';
  document.getElementById('pane').setAttribute('aria-label', texts.paneName[language]);
})();
