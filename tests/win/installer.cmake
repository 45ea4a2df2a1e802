# The installer under Wine: the driver runs every scenario against installer.exe with the
# stand-in application manager, and takes the screenshot of the splash with its first box.
add_executable(installer_driver tests/win/installer/driver.cpp)
target_compile_options(installer_driver PRIVATE -Wall -Wextra)
target_link_options(installer_driver PRIVATE -static)
target_link_libraries(installer_driver PRIVATE gdi32)
add_executable(installer_standin WIN32 tests/win/installer/standin.cpp)
set_target_properties(installer_standin PROPERTIES OUTPUT_NAME CEAppMgr
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/installer-standin)
target_link_options(installer_standin PRIVATE ${ZURA_WINDOWS_LINK})

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/screenshots)
set(ZURA_INSTALLER_SHOT ${CMAKE_BINARY_DIR}/screenshots/installer-splash)
zura_wine_test(installer_scenarios installer_driver $<TARGET_FILE:installer> $<TARGET_FILE:installer_standin>
               ${CMAKE_BINARY_DIR}/installer-cases --shot ${ZURA_INSTALLER_SHOT}.bmp)
set_tests_properties(installer_scenarios PROPERTIES FIXTURES_SETUP installer_shot TIMEOUT 180)
add_test(NAME installer_screenshot COMMAND /usr/bin/convert ${ZURA_INSTALLER_SHOT}.bmp ${ZURA_INSTALLER_SHOT}.png)
set_tests_properties(installer_screenshot PROPERTIES FIXTURES_REQUIRED installer_shot)
