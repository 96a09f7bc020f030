# Runs clang-format over the project's C++ sources: CHECK=ON only reports (and fails on)
# files that differ from the project's format, CHECK=OFF rewrites them.
cmake_policy(SET CMP0007 NEW)
execute_process(COMMAND git ls-files -- "*.cpp" "*.h"
                WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE files RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "git ls-files failed")
endif()
string(REPLACE "\n" ";" files "${files}")
list(FILTER files EXCLUDE REGEX "^$")
if(CHECK)
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Some files are not formatted: run 'cmake --build <dir> --target format'")
  endif()
else()
  execute_process(COMMAND ${CLANG_FORMAT} -i ${files} WORKING_DIRECTORY ${SOURCE_DIR})
endif()
