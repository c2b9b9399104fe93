// The browser engine that the browser tests drive, named by GJ_ENGINE:
// chromium (the default), firefox or webkit. Each driver module gives
//   name, executable          the engine's name and the program it starts;
//   cannot                    what a test cannot do in it, each with the reason
//                             (clipboard: read the clipboard, print: print to PDF,
//                             printMedia: show the page with the print's style,
//                             accessibilityTree: read the accessibility tree,
//                             contentNames: name a table cell by its content);
//   hasAccessible(page, selector, { role, name })
//                             whether the element has that role and accessible
//                             name (any, for null), as the engine computes them;
//   launch(url)               the engine, started for the page at url, with
//     open(url, options)      a page at url, in a context of its own with the
//                             options locale, colorScheme, viewport and
//                             initScript, or in options.context to share its
//                             storage; it has the part of playwright's Page that
//                             the scenarios use, page.problems, and
//                             page.download(selector): what a click saves;
//     close().
export const engines = ['chromium', 'firefox', 'webkit'];
export const name = process.env.GJ_ENGINE || 'chromium';
if (!engines.includes(name)) throw new Error(`GJ_ENGINE names no engine of ${engines.join(', ')}: ${name}`);
export const driver = await import(`./${name}.js`);
