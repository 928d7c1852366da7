# cmake -P script: installs the build tree into a fresh prefix and checks it.
#   -DBUILD_DIR=<build tree> -DPREFIX=<empty folder to install to>
#   -DEXPECTED=<expected_files.txt> -DPRIVATE_LIBDIR=<lib/<triplet>/tavrel>
# Every expected file is there, nothing is installed outside the prefix, and
# the installed programs run from it: tavrel-calc computes a coplanar line,
# so the private library folder is found through the install run path.
cmake_minimum_required(VERSION 3.22)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status})")
endif()

string(REGEX REPLACE "^lib/|/tavrel$" "" triplet "${PRIVATE_LIBDIR}")
file(STRINGS ${EXPECTED} expected)
set(missing "")
foreach(path ${expected})
  string(REPLACE "@TRIPLET@" "${triplet}" path "${path}")
  if(NOT EXISTS "${PREFIX}/${path}")
    list(APPEND missing "${path}")
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " text)
  message(FATAL_ERROR "not installed:\n  ${text}")
endif()

# The coplanar library only from the install tree: no copy beside the programs.
file(GLOB stray "${PREFIX}/bin/*.so")
if(stray)
  message(FATAL_ERROR "library installed beside the executables: ${stray}")
endif()

execute_process(COMMAND ${PREFIX}/bin/tavrel-calc analyze cpw W=50um G=10um H=100um
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "\"impedance_ohm\"")
  message(FATAL_ERROR "installed tavrel-calc did not compute a CPW line (${status}):\n${out}${err}")
endif()
execute_process(COMMAND ${PREFIX}/bin/tavrel --version
  RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "^tavrel [0-9]+\\.[0-9]+")
  message(FATAL_ERROR "installed tavrel --version: (${status}) ${out}")
endif()
list(LENGTH expected count)
message(STATUS "${count} files installed under ${PREFIX}; installed programs run")
