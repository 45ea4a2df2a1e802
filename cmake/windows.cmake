# The Windows build (CMAKE_SYSTEM_NAME Windows, from cmake/mingw-*.cmake): the device program as
# a static library over <windows.h>, Zura.exe from hosts/win/ and resources/zura.rc, the two
# databases beside it in "Program Files/Quellix/", the installer and the tests run under Wine.
# dbtool is a host program: ZURA_DBTOOL names a native build of it (scripts/build-windows.sh).
enable_language(RC)
set(ZURA_DBTOOL "" CACHE FILEPATH "A native dbtool that builds the databases")
option(ZURA_WINE_TESTS "Build the tests that run under Wine" ON)
if(NOT ZURA_DBTOOL)
  message(FATAL_ERROR "the Windows build needs -DZURA_DBTOOL=<native dbtool> (scripts/build-windows.sh passes it)")
endif()

# Every program and test driver runs through Wine with the build's own prefix.
set(ZURA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${ZURA_WINE_PREFIX})
# One program file each, no DLLs to ship beside it.
set(ZURA_WINDOWS_LINK -static -mwindows)

zura_sources(ZURA_PLATFORM_SOURCES platform/win32)
zura_sources(ZURA_SOURCES dbfile questionnaire rules dosecalc reports display shell)
add_library(zura STATIC ${ZURA_SOURCES} ${ZURA_PLATFORM_SOURCES})
target_include_directories(zura PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(zura PUBLIC UNICODE _UNICODE)
target_compile_options(zura PRIVATE ${ZURA_DEVICE_FLAGS})

add_executable(Zura WIN32 hosts/win/main.cpp resources/zura.rc)
target_include_directories(Zura PRIVATE ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(Zura PRIVATE zura)
target_link_options(Zura PRIVATE ${ZURA_WINDOWS_LINK} -municode)

set(ZURA_DB_DIR "${CMAKE_BINARY_DIR}/Program Files/Quellix")
file(GLOB_RECURSE ZURA_DATA_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
add_custom_command(
  OUTPUT "${ZURA_DB_DIR}/DisplayDB-Qx4k.pdb" "${ZURA_DB_DIR}/DEZidiVA-Qx4k.pdb"
  COMMAND ${ZURA_DBTOOL} build ${CMAKE_SOURCE_DIR}/data ${CMAKE_BINARY_DIR}
  DEPENDS ${ZURA_DATA_SOURCES}
  COMMENT "Building the display and content databases beside Zura.exe")
add_custom_target(databases ALL DEPENDS "${ZURA_DB_DIR}/DisplayDB-Qx4k.pdb" "${ZURA_DB_DIR}/DEZidiVA-Qx4k.pdb")

if(ZURA_WINE_TESTS)
  enable_testing()
  # One prefix for the whole run, made by the first test and reused by all the others.
  add_test(NAME wine_prefix COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh ${ZURA_WINE_PREFIX})
  set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
endif()
# A test that runs under Wine: zura_wine_test(NAME COMMAND...); a target as the command runs
# through the emulator. They take turns: all share one display, and a window another test
# activates there takes the focus from a program being driven.
function(zura_wine_test name)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300 RESOURCE_LOCK wine_desktop)
endfunction()

if(EXISTS ${CMAKE_SOURCE_DIR}/installer/installer.cmake)
  include(${CMAKE_SOURCE_DIR}/installer/installer.cmake)
endif()
if(ZURA_WINE_TESTS)
  file(GLOB ZURA_WINE_TEST_FILES ${CMAKE_SOURCE_DIR}/tests/win/*.cmake)
  foreach(file ${ZURA_WINE_TEST_FILES})
    include(${file})
  endforeach()
endif()
