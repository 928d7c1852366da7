# tavrel-calc run from a folder without "CPW for Tavrel.so": the two coplanar
# lines report the load failure with exit status 1, the other six still
# calculate.  The copy sits two folders deep, so that neither of its run-path
# folders ($ORIGIN, $ORIGIN/..) holds the library.
#   cmake -DCALC=<tavrel-calc> -DWORK=<scratch folder> -P cpw_missing_library.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/bin")
file(COPY "${CALC}" DESTINATION "${WORK}/bin")
get_filename_component(name "${CALC}" NAME)
set(calc "${WORK}/bin/${name}")
unset(ENV{LD_LIBRARY_PATH})

foreach(line cpw cpw-ground)
  execute_process(COMMAND "${calc}" analyze ${line} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 1 OR NOT out STREQUAL "{\"error\":\"Could not load CPW for Tavrel.dll\"}\n")
    message(FATAL_ERROR "${line} without the library: status ${rc}, output ${out}")
  endif()
endforeach()

foreach(line microstrip stripline coax slotline coupled-microstrip coupled-stripline)
  execute_process(COMMAND "${calc}" analyze ${line} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "\"impedance_ohm\"")
    message(FATAL_ERROR "${line} without the coplanar library: status ${rc}, output ${out}")
  endif()
endforeach()

# The same copy with the library beside it calculates the coplanar lines.
file(COPY "${LIBRARY}" DESTINATION "${WORK}/bin")
foreach(line cpw cpw-ground)
  execute_process(COMMAND "${calc}" analyze ${line} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "\"impedance_ohm\"")
    message(FATAL_ERROR "${line} with the library beside it: status ${rc}, output ${out}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
