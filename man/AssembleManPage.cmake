# Writes a manual page from its template: @PROJECT_VERSION@ becomes the version and, in the page
# of qvn, @QVN_COMMANDS@ the sections of the commands (one file each, in name order), then a
# compressed copy for installing.
#   cmake -DTEMPLATE=... -DOUTPUT=... -DVERSION=... [-DSECTIONS=a;b] [-DGZIP=gzip] -P this
file(READ ${TEMPLATE} page)
set(commands "")
foreach(section ${SECTIONS})
  file(READ ${section} text)
  string(APPEND commands "${text}")
endforeach()
string(REGEX REPLACE "\n$" "" commands "${commands}")
string(REPLACE "@QVN_COMMANDS@" "${commands}" page "${page}")
string(REPLACE "@PROJECT_VERSION@" "${VERSION}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
if(GZIP)
  execute_process(COMMAND ${GZIP} -9 -n -c ${OUTPUT} OUTPUT_FILE ${OUTPUT}.gz RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${OUTPUT}")
  endif()
endif()
