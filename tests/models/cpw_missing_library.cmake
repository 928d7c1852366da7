# tavrel-calc without a usable "CPW for Tavrel.so" beside it: the two coplanar
# lines report the load failure with exit status 1, quickly, the other six
# still calculate.  Sound copies of the library in the parent folder and in
# the current folder must not be picked up; a copy cut short or a FIFO in
# its place is refused, not a crash or a hang.
#   cmake -DCALC=<tavrel-calc> -DLIBRARY=<library> -DWORK=<scratch folder> -P cpw_missing_library.cmake
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

expect_load_failure("without the library beside it")
foreach(line microstrip stripline coax slotline coupled-microstrip coupled-stripline)
  execute_process(COMMAND "${calc}" analyze ${line} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "\"impedance_ohm\"")
    message(FATAL_ERROR "${line} without the coplanar library: status ${rc}, output ${out}")
  endif()
endforeach()

# A copy cut short (headers whole, segments missing), then a FIFO.
execute_process(COMMAND head -c 16384 "${LIBRARY}" OUTPUT_FILE "${beside}")
expect_load_failure("with a library cut at 16384 bytes")
file(REMOVE "${beside}")
execute_process(COMMAND mkfifo "${beside}")
expect_load_failure("with a FIFO in place of the library")
file(REMOVE "${beside}")

# The same copy with the library beside it calculates the coplanar lines.
file(COPY "${LIBRARY}" DESTINATION "${WORK}/bin")
foreach(line cpw cpw-ground)
  execute_process(COMMAND "${calc}" analyze ${line} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "\"impedance_ohm\"")
    message(FATAL_ERROR "${line} with the library beside it: status ${rc}, output ${out}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
