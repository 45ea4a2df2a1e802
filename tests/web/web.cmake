# The browser test of zura-web: a small program served by zura-web, driven through Chromium by
# playwright-core (installed from the committed package-lock into the build tree; no browser is
# ever downloaded). Registered only when chromium, node and npm are present.
add_executable(zura-web-demo ${CMAKE_SOURCE_DIR}/tests/web/program/demo.cpp)
target_link_libraries(zura-web-demo PRIVATE zura_web_host)
target_compile_options(zura-web-demo PRIVATE -Wall -Wextra -Werror)

find_program(ZURA_CHROMIUM chromium PATHS /usr/bin NO_DEFAULT_PATH)
find_program(ZURA_NODE node)
find_program(ZURA_NPM npm)
if(ZURA_CHROMIUM AND ZURA_NODE AND ZURA_NPM)
  enable_testing()
  set(WEB_TEST_DIR ${CMAKE_BINARY_DIR}/web-test)
  add_test(NAME web_browser_setup
           COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/tests/web -DDEST=${WEB_TEST_DIR} -DNPM=${ZURA_NPM}
                   -P ${CMAKE_SOURCE_DIR}/tests/web/install.cmake)
  set_tests_properties(web_browser_setup PROPERTIES FIXTURES_SETUP web_browser TIMEOUT 300)
  add_test(NAME web_browser
           COMMAND ${ZURA_NODE} ${CMAKE_SOURCE_DIR}/tests/web/browser_test.mjs
                   --server $<TARGET_FILE:zura-web-demo> --chromium ${ZURA_CHROMIUM} --modules ${WEB_TEST_DIR}/node_modules
                   --out ${WEB_TEST_DIR})
  set_tests_properties(web_browser PROPERTIES FIXTURES_REQUIRED web_browser TIMEOUT 180)
  add_test(NAME web_browser_zura
           COMMAND ${ZURA_NODE} ${CMAKE_SOURCE_DIR}/tests/web/zura_test.mjs
                   --server $<TARGET_FILE:zura-web> --root ${ZURA_DATA_ROOT} --chromium ${ZURA_CHROMIUM}
                   --modules ${WEB_TEST_DIR}/node_modules --out ${WEB_TEST_DIR})
  set_tests_properties(web_browser_zura PROPERTIES FIXTURES_REQUIRED web_browser TIMEOUT 180)
  add_test(NAME web_browser_clinician
           COMMAND ${ZURA_NODE} ${CMAKE_SOURCE_DIR}/tests/web/clinician_test.mjs
                   --server $<TARGET_FILE:zura-web> --root ${ZURA_DATA_ROOT} --chromium ${ZURA_CHROMIUM}
                   --modules ${WEB_TEST_DIR}/node_modules --out ${WEB_TEST_DIR})
  set_tests_properties(web_browser_clinician PROPERTIES FIXTURES_REQUIRED web_browser TIMEOUT 240)
  add_test(NAME web_ward
           COMMAND ${ZURA_NODE} ${CMAKE_SOURCE_DIR}/tests/web/ward_test.mjs
                   --server $<TARGET_FILE:zura-web-demo> --zura $<TARGET_FILE:zura-web> --root ${ZURA_DATA_ROOT}
                   --chromium ${ZURA_CHROMIUM} --modules ${WEB_TEST_DIR}/node_modules --out ${WEB_TEST_DIR})
  set_tests_properties(web_ward PROPERTIES FIXTURES_REQUIRED web_browser TIMEOUT 240)
else()
  message(STATUS "The browser test is not run: it needs chromium, node and npm")
endif()

# Unit tests of the host's helpers and of its checks of actions against a window tree.
find_package(GTest QUIET)
if(GTest_FOUND)
  enable_testing()
  include(GoogleTest)
  file(GLOB WEB_UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/web/unit/*.cpp)
  add_executable(test_web_host ${WEB_UNIT_SOURCES})
  target_link_libraries(test_web_host PRIVATE zura_web_host GTest::gtest GTest::gtest_main)
  gtest_discover_tests(test_web_host DISCOVERY_TIMEOUT 60)
endif()
