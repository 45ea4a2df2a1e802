# End-to-end scripts: every tests/e2e/*.sim runs under zura-sim on the databases built from data/
# (or, when a script's first line is "# root: fixtures/NAME", on a fixture data folder built by
# dbtool); its output must equal the .expected file beside it when one exists.
if(TARGET zura-sim)
  file(GLOB E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.sim)
  foreach(script ${E2E_SCRIPTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e.${name}
      COMMAND ${CMAKE_COMMAND} -DSIM=$<TARGET_FILE:zura-sim> -DDBTOOL=$<TARGET_FILE:dbtool>
              -DSCRIPT=${script} -DROOT=${ZURA_DATA_ROOT} -DWORK=${CMAKE_BINARY_DIR}/e2e
              -P ${CMAKE_SOURCE_DIR}/tests/e2e/run_script.cmake)
    # Every ending of a run releases the program: LeakSanitizer is on for the scripts.
    set_tests_properties(e2e.${name} PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1")
  endforeach()
endif()
