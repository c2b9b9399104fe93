# Writes the module that the page shows its first prompt from, before the
# programs have loaded (page.js): each program's output up to its first read,
# as node runs the console program with no input at all. Run with cmake -P at
# build time. Variables: NODE, FOLDER (where gjinverse.js and gjsolve.js are),
# OUTPUT.
set(prompts "")
foreach(program IN ITEMS gjinverse gjsolve)
  execute_process(COMMAND ${NODE} ${FOLDER}/${program}.js INPUT_FILE /dev/null
                  OUTPUT_VARIABLE output ERROR_QUIET)
  if(output STREQUAL "" OR output MATCHES "[\n\"\\\\]")
    message(FATAL_ERROR "${program} gave no first prompt of one line: \"${output}\"")
  endif()
  string(APPEND prompts "  ${program}: \"${output}\",\n")
endforeach()
file(WRITE ${OUTPUT}.new "// Written by web/first-prompts.cmake from the programs' own output.\nexport const firstPrompts = {\n${prompts}};\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
