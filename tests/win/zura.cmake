# Zura.exe against zura-sim: zura-drive runs end-to-end scripts on the Windows build under Wine
# and its output must equal zura-sim's (the scripts' .expected files, which the native e2e tests
# hold zura-sim to).
add_executable(zura-drive hosts/win/drive/host.cpp hosts/win/drive/main.cpp hosts/sim/cli.cpp
               hosts/sim/runner.cpp hosts/sim/screen.cpp hosts/sim/script.cpp hosts/sim/shell_hooks.cpp
               resources/zura.rc)
target_include_directories(zura-drive PRIVATE ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(zura-drive PRIVATE zura)
target_link_options(zura-drive PRIVATE -static)
target_compile_options(zura-drive PRIVATE -Wall -Wextra)
add_dependencies(zura-drive databases)

set(ZURA_DRIVE ${CMAKE_BINARY_DIR}/zura-drive.sh)
file(WRITE ${ZURA_DRIVE} "#!/usr/bin/env bash\nexec bash '${CMAKE_SOURCE_DIR}/scripts/wine-run.sh' '${ZURA_WINE_PREFIX}' '${CMAKE_BINARY_DIR}/zura-drive.exe' \"$@\"\n")
set(ZURA_DRIVE_SCRIPTS)
foreach(name ${ZURA_DRIVE_SCRIPTS})
  zura_wine_test(win.zura.${name}
    ${CMAKE_COMMAND} -DSIM=${ZURA_DRIVE} -DDBTOOL=${ZURA_DBTOOL}
    -DSCRIPT=${CMAKE_SOURCE_DIR}/tests/e2e/${name}.sim -DROOT=${CMAKE_BINARY_DIR} -DWORK=${CMAKE_BINARY_DIR}/e2e
    -P ${CMAKE_SOURCE_DIR}/tests/e2e/run_script.cmake)
endforeach()
