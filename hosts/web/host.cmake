# zura-web, the browser host: built only when cpp-httplib (Debian's libcpp-httplib-dev, a real
# library, with the compile flags its pkg-config file gives), nlohmann-json and zlib are found.
# The host's sources but main.cpp form zura_web_host, shared with the browser test's program.
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(HTTPLIB QUIET IMPORTED_TARGET cpp-httplib)
endif()
find_package(nlohmann_json 3 QUIET)
find_package(ZLIB QUIET)
find_package(Threads QUIET)

if(HTTPLIB_FOUND AND nlohmann_json_FOUND AND ZLIB_FOUND AND Threads_FOUND)
  file(GLOB WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/hosts/web/*.cpp)
  list(REMOVE_ITEM WEB_SOURCES ${CMAKE_SOURCE_DIR}/hosts/web/main.cpp)
  add_library(zura_web_host STATIC ${WEB_SOURCES})
  target_link_libraries(zura_web_host PUBLIC zura PkgConfig::HTTPLIB nlohmann_json::nlohmann_json ZLIB::ZLIB
                        Threads::Threads)
  target_compile_options(zura_web_host PRIVATE -Wall -Wextra -Werror)

  add_executable(zura-web ${CMAKE_SOURCE_DIR}/hosts/web/main.cpp)
  target_link_libraries(zura-web PRIVATE zura_web_host)
  target_compile_definitions(zura-web PRIVATE ZURA_DATA_ROOT="${ZURA_DATA_ROOT}")

  if(ZURA_TESTS AND EXISTS ${CMAKE_SOURCE_DIR}/tests/web/web.cmake)
    include(${CMAKE_SOURCE_DIR}/tests/web/web.cmake)
  endif()
else()
  message(STATUS "zura-web is not built: it needs libcpp-httplib-dev, nlohmann-json3-dev and zlib "
                 "(scripts/setup.sh installs them with ZURA_WITH_BROWSER=1)")
endif()
