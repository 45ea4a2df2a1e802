# Fuzz targets (tests/fuzz/targets/), for a clang build with ZURA_FUZZ=ON: everything is compiled
# with -fsanitize=fuzzer-no-link and the sanitizers, each target links libFuzzer's main.
# scripts/fuzz.sh configures, builds and runs them.
set(FUZZ_DIR ${CMAKE_SOURCE_DIR}/tests/fuzz/targets)
file(GLOB SIM_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/hosts/sim/*.cpp)
list(REMOVE_ITEM SIM_HOST_SOURCES ${CMAKE_SOURCE_DIR}/hosts/sim/main.cpp)

function(zura_fuzz_target name)
  add_executable(fuzz_${name} ${FUZZ_DIR}/${name}.cpp ${ARGN})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_compile_definitions(fuzz_${name} PRIVATE ZURA_DATA_ROOT="${ZURA_DATA_ROOT}")
  add_dependencies(fuzz_${name} databases)
  add_dependencies(fuzz fuzz_${name})
endfunction()

add_custom_target(fuzz)
zura_fuzz_target(database)
target_link_libraries(fuzz_database PRIVATE dbtool_lib)
zura_fuzz_target(script ${CMAKE_SOURCE_DIR}/hosts/sim/script.cpp)
target_link_libraries(fuzz_script PRIVATE zura)
zura_fuzz_target(runner ${SIM_HOST_SOURCES})
target_link_libraries(fuzz_runner PRIVATE zura)
if(TARGET zura_web_host)
  zura_fuzz_target(web_action)
  target_link_libraries(fuzz_web_action PRIVATE zura_web_host)
endif()
