# tavrel-calc without a usable "CPW for Tavrel.so" beside it: the two coplanar
# lines report the load failure with exit status 1, quickly, the other six
# still calculate.  Sound copies of the library in the parent folder and in
# the current folder must not be picked up; a broken file in its place is
# refused, never with a crash or a hang.
#   cmake -DCALC=<tavrel-calc> -DLIBRARY=<library> -DMULTIARCH=<triplet> -DWORK=<scratch folder>
#         -P cpw_missing_library.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/bin" "${WORK}/cwd")
file(COPY "${CALC}" DESTINATION "${WORK}/bin")
get_filename_component(name "${CALC}" NAME)
get_filename_component(library "${LIBRARY}" NAME)
set(calc "${WORK}/bin/${name}")
set(beside "${WORK}/bin/${library}")
unset(ENV{LD_LIBRARY_PATH})
file(COPY "${LIBRARY}" DESTINATION "${WORK}")
file(COPY "${LIBRARY}" DESTINATION "${WORK}/cwd")

function(expect_load_failure what)
  foreach(line cpw cpw-ground)
    execute_process(COMMAND "${calc}" analyze ${line} WORKING_DIRECTORY "${WORK}/cwd"
                    TIMEOUT 10 RESULT_VARIABLE rc OUTPUT_VARIABLE out)
    if(NOT rc EQUAL 1 OR NOT out STREQUAL "{\"error\":\"Could not load CPW for Tavrel.dll\"}\n")
      message(FATAL_ERROR "${line} ${what}: status ${rc}, output ${out}")
    endif()
  endforeach()
endfunction()

function(expect_results what)
  foreach(line IN LISTS ARGN)
    execute_process(COMMAND "${calc}" analyze ${line} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
    if(NOT rc EQUAL 0 OR NOT out MATCHES "\"impedance_ohm\"")
      message(FATAL_ERROR "${line} ${what}: status ${rc}, output ${out}")
    endif()
  endforeach()
endfunction()

expect_load_failure("without the library beside it")
expect_results("without the coplanar library"
               microstrip stripline coax slotline coupled-microstrip coupled-stripline)

# In its place: copies cut short (inside the headers, or with the headers
# whole and segments missing), a FIFO, a folder, a link to a copy cut short.
foreach(bytes 1000 4096 16384)
  execute_process(COMMAND head -c ${bytes} "${LIBRARY}" OUTPUT_FILE "${beside}")
  expect_load_failure("with a library cut at ${bytes} bytes")
  file(REMOVE "${beside}")
endforeach()
execute_process(COMMAND mkfifo "${beside}")
expect_load_failure("with a FIFO in place of the library")
file(REMOVE "${beside}")
file(MAKE_DIRECTORY "${beside}")
expect_load_failure("with a folder in place of the library")
file(REMOVE_RECURSE "${beside}")
execute_process(COMMAND head -c 16384 "${LIBRARY}" OUTPUT_FILE "${WORK}/cut.so")
file(CREATE_LINK "${WORK}/cut.so" "${beside}" SYMBOLIC)
expect_load_failure("with a link to a library cut short")
file(REMOVE "${beside}")

# The installed layout, <prefix>/bin and <prefix>/lib/<multiarch>/tavrel.
file(COPY "${LIBRARY}" DESTINATION "${WORK}/lib/${MULTIARCH}/tavrel")
expect_results("with the library in the installed library folder" cpw cpw-ground)
file(REMOVE_RECURSE "${WORK}/lib")
file(COPY "${LIBRARY}" DESTINATION "${WORK}/bin")
expect_results("with the library beside it" cpw cpw-ground)
file(REMOVE_RECURSE "${WORK}")
