# Writes the first prompts that the page shows before the programs have
# loaded: each program's output up to its first read, as node runs the console
# program with no input at all, into the module that page/console.js imports (OUTPUT)
# and, gjinverse's, into the page itself (TEMPLATE, written as PAGE, where
# the script's digest stays to be written by script-digest.cmake). Run with
# cmake -P at build time. Variables: NODE, FOLDER (where gjinverse.js and
# gjsolve.js are), OUTPUT, TEMPLATE, PAGE.
set(prompts "")
foreach(program IN ITEMS gjinverse gjsolve)
  execute_process(COMMAND ${NODE} ${FOLDER}/${program}.js INPUT_FILE /dev/null
                  OUTPUT_VARIABLE output ERROR_QUIET)
  if(output STREQUAL "" OR output MATCHES "[\n\"\\\\<&]")
    message(FATAL_ERROR "${program} gave no first prompt of one plain line: \"${output}\"")
  endif()
  string(APPEND prompts "  ${program}: \"${output}\",\n")
  set(first_prompt_${program} "${output}")
endforeach()
set(first_prompt "${first_prompt_gjinverse}")
set(script_digest "@script_digest@")
configure_file(${TEMPLATE} ${PAGE} @ONLY)
file(WRITE ${OUTPUT}.new "// Written by web/build/first-prompts.cmake from the programs' own output.\nexport const firstPrompts = {\n${prompts}};\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
