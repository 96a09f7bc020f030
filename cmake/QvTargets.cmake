# Shared compile settings for every target of the project.

# The fuzz preset: every target instrumented for libFuzzer's coverage (clang only);
# the fuzz targets under tests/fuzz link libFuzzer itself.
option(QV_FUZZ "Build the libFuzzer targets (clang)" OFF)
if(QV_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# The tsan preset: ThreadSanitizer instead of AddressSanitizer.
option(QV_TSAN "Build with ThreadSanitizer" OFF)
if(QV_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(QV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# qv_target_defaults(target): warnings (errors with QV_WERROR) for our own code.
function(qv_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
                                           -Wno-unused-parameter)
  if(QV_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Folders (relative to the source root, e.g. "engine" or "tests/app") left out of
# this build tree; handy for building one subsystem while another is in pieces.
set(QV_SKIP "" CACHE STRING "Semicolon-separated folders to leave out of the build")

# qv_subdirs(a b c): add each listed sub-folder that has a CMakeLists.txt.
macro(qv_subdirs)
  foreach(_d ${ARGN})
    file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/${_d})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_d}/CMakeLists.txt AND NOT _rel IN_LIST QV_SKIP)
      add_subdirectory(${_d})
    endif()
  endforeach()
endmacro()

# A test sees the folders of the libraries it links, and its own folder's helpers
# ("tests/engine/core/EngineTestUtil.h").
function(qv_test_includes name)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  qv_stage_folder(${folder} stage)
  target_include_directories(${name} PRIVATE ${stage})
endfunction()

# qv_gtest(name SOURCES ... LIBS ...): one GoogleTest executable registered with CTest.
function(qv_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  qv_test_includes(${name})
  qv_target_defaults(${name})
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# qv_qttest(name SOURCES ... LIBS ...): one Qt Test executable on the offscreen platform.
function(qv_qttest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test Qt6::Widgets)
  qv_test_includes(${name})
  qv_target_defaults(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# A test folder that no parent adds is never built, and its tests never run: every
# CMakeLists.txt under tests/ must be reached through qv_subdirs (or lie in a folder
# of QV_SKIP). Called once the whole tree has been read; the rule itself is
# cmake/CheckTestFolders.cmake.
function(qv_check_test_folders)
  set(added "")
  set(todo ${PROJECT_SOURCE_DIR}/tests)
  while(todo)
    list(POP_FRONT todo dir)
    list(APPEND added ${dir})
    get_property(subs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND todo ${subs})
  endwhile()
  set(SOURCE_DIR ${PROJECT_SOURCE_DIR})
  set(ADDED ${added})
  set(SKIP ${QV_SKIP})
  include(${PROJECT_SOURCE_DIR}/cmake/CheckTestFolders.cmake)
endfunction()
