# The generated header QvBuildInfo.h: the one place the programs take their version, desktop id
# and installed data folder from (all set in the top-level CMakeLists.txt).
configure_file(${CMAKE_CURRENT_LIST_DIR}/QvBuildInfo.h.in ${PROJECT_BINARY_DIR}/generated/cmake/QvBuildInfo.h
               @ONLY)
add_library(qv_build_info INTERFACE)
target_include_directories(qv_build_info INTERFACE ${PROJECT_BINARY_DIR}/generated)
