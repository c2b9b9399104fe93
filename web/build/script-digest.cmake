# Writes the page (PAGE) from its template with the first prompts written in
# (TEMPLATE, as first-prompts.cmake wrote it) and one digest of the page's
# bundled scripts (SCRIPTS, their names in FOLDER, separated by commas: page.js
# and each part's) as its gj-script meta element: the page compares a web
# zip's scripts with it before it makes an LMS package of that zip
# (scorm-package.js's pageDigest reckons it alike: the SHA-256 of a line
# "<SHA-256 of the script> <name>" for each script, in the order of their
# names). The digest is written after the scripts are bundled, so the page
# that a release zips holds its own scripts'. Run with cmake -P at build time.
string(REPLACE "," ";" scripts "${SCRIPTS}")
list(SORT scripts)
set(lines "")
foreach(script IN LISTS scripts)
  file(SHA256 ${FOLDER}/${script} hash)
  string(APPEND lines "${hash} ${script}\n")
endforeach()
string(SHA256 script_digest "${lines}")
configure_file(${TEMPLATE} ${PAGE}.new @ONLY)
file(COPY_FILE ${PAGE}.new ${PAGE} ONLY_IF_DIFFERENT)
file(REMOVE ${PAGE}.new)
