// A content page for the stand-in LMS: it connects through the page's LMS
// adapter, shows what the LMS gave as window.fixture, and reports the results
// that the test hands it. The test bundles it with esbuild.
import { connect } from '../../../../web/views/lms.js';

const session = connect(window);
window.fixture = session && {
  version: session.version, name: session.name, suspend: session.suspend, entry: session.entry,
  errors: session.errors, report: (result) => session.report(result),
};
