# Writes the page (PAGE) from its template with the first prompts written in
# (TEMPLATE, as first-prompts.cmake wrote it) and the SHA-256 of the page's
# bundled script (SCRIPT) as its gj-script meta element: the page compares a
# web zip's page.js with it before it makes an LMS package of that zip. The
# digest is written after the script is bundled, so the page that a release
# zips holds its own script's. Run with cmake -P at build time.
file(SHA256 ${SCRIPT} script_digest)
configure_file(${TEMPLATE} ${PAGE}.new @ONLY)
file(COPY_FILE ${PAGE}.new ${PAGE} ONLY_IF_DIFFERENT)
file(REMOVE ${PAGE}.new)
