# The test-folder rule on a small tree of its own: an added folder and a skipped one
# pass, a folder that no parent adds fails the configure step.
string(RANDOM LENGTH 10 tag)
set(root ${WORK}/folders-${tag})
foreach(d tests/a tests/a/inner tests/skipped/deep tests/forgotten)
  file(WRITE ${root}/${d}/CMakeLists.txt "")
endforeach()
function(check expect_fail)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} "-DADDED=${ARGN}"
                          -DSKIP=tests/skipped -P ${CHECK}
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(expect_fail AND (rc EQUAL 0 OR NOT err MATCHES "tests/forgotten"))
    message(FATAL_ERROR "a forgotten test folder passed: ${err}")
  elseif(NOT expect_fail AND NOT rc EQUAL 0)
    message(FATAL_ERROR "a complete tree failed: ${err}")
  endif()
endfunction()
check(ON "${root}/tests;${root}/tests/a;${root}/tests/a/inner")
check(OFF "${root}/tests;${root}/tests/a;${root}/tests/a/inner;${root}/tests/forgotten")
file(REMOVE_RECURSE ${root})
