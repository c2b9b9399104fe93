# Writes OUTPUT, a copy of the UTF-8 source INPUT in which the string literals
# carry their text in ENCODING: the file goes through iconv, then every byte
# outside ASCII becomes a three-digit octal escape. The result is plain ASCII, so
# that no compiler option on source or execution character sets can alter the
# bytes that the programs write, and an octal escape, unlike \x, never runs into
# a following digit.
#
#   cmake -DINPUT=commentary.hpp.in -DOUTPUT=commentary.hpp -DENCODING=CP949
#         -DICONV=/usr/bin/iconv -P encode_literals.cmake
foreach(var INPUT OUTPUT ENCODING ICONV)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "encode_literals.cmake needs -D${var}=...")
  endif()
endforeach()

get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND ${ICONV} -f UTF-8 -t ${ENCODING} INPUT_FILE ${INPUT}
                OUTPUT_FILE ${OUTPUT}.converted RESULT_VARIABLE failed ERROR_VARIABLE why)
if(failed)
  message(FATAL_ERROR "iconv could not write ${INPUT} in ${ENCODING} (${failed}): ${why}")
endif()

file(READ ${OUTPUT}.converted hex HEX)
string(LENGTH "${hex}" length)
set(text "")
set(at 0)
while(at LESS length)
  string(SUBSTRING "${hex}" ${at} 2 byte)
  math(EXPR value "0x${byte}")
  if(value LESS 128)
    string(ASCII ${value} char)
    string(APPEND text "${char}")
  else()
    math(EXPR high "${value} / 64")
    math(EXPR middle "${value} / 8 % 8")
    math(EXPR low "${value} % 8")
    string(APPEND text "\\${high}${middle}${low}")
  endif()
  math(EXPR at "${at} + 2")
endwhile()

get_filename_component(source ${INPUT} NAME)
file(WRITE ${OUTPUT} "// Generated from ${source} in ${ENCODING}; edit that file instead.\n${text}")
file(REMOVE ${OUTPUT}.converted)
