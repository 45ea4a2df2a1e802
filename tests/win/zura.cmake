# Zura.exe against zura-sim: zura-drive runs end-to-end scripts on the Windows build under Wine
# and its output is compared with zura-sim's (the scripts' .expected files, which the native e2e
# tests hold zura-sim to) by tests/win/compare.sh.
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
set(ZURA_DRIVE_SCRIPTS win_home_about win_conversion_keypad win_side_effect win_prescription)
foreach(name ${ZURA_DRIVE_SCRIPTS})
  zura_wine_test(win.zura.${name}
    bash ${CMAKE_SOURCE_DIR}/tests/win/compare.sh ${ZURA_DRIVE} ${CMAKE_BINARY_DIR}
    ${CMAKE_SOURCE_DIR}/tests/e2e/${name}.sim ${CMAKE_SOURCE_DIR}/tests/e2e/${name}.expected
    ${CMAKE_BINARY_DIR}/compare)
endforeach()

# The screenshots, written as PNG files into screenshots/ beside the installer's.
zura_wine_test(win.zura.screenshots bash ${CMAKE_SOURCE_DIR}/tests/win/screens.sh ${ZURA_DRIVE} ${CMAKE_BINARY_DIR}
               ${CMAKE_SOURCE_DIR}/tests/win/zura_screens.sim)
