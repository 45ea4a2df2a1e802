# Resources of the portable build. rcgen turns resources/zura.rc (the script the Windows resource
# compiler reads) into a table linked into zura_platform, so both builds share one source.
# artgen draws the artwork the script names; the drawn files are kept in resources/art/ and
# redrawn with the target "artwork"; a test checks that they still match their drawing.
add_executable(rcgen ${CMAKE_SOURCE_DIR}/resources/tools/rcgen.cpp)
target_compile_options(rcgen PRIVATE -Wall -Wextra)

set(ZURA_RESOURCE_TABLE ${CMAKE_BINARY_DIR}/generated/resource_table.cpp)
file(GLOB ZURA_ARTWORK CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/art/*)
add_custom_command(
  OUTPUT ${ZURA_RESOURCE_TABLE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND rcgen ${CMAKE_SOURCE_DIR}/resources/zura.rc ${ZURA_RESOURCE_TABLE}
  DEPENDS rcgen ${CMAKE_SOURCE_DIR}/resources/zura.rc ${CMAKE_SOURCE_DIR}/resources/resource.h ${ZURA_ARTWORK}
  COMMENT "Turning resources/zura.rc into the resource table")
target_sources(zura_platform PRIVATE ${ZURA_RESOURCE_TABLE})

add_executable(artgen ${CMAKE_SOURCE_DIR}/resources/tools/artgen.cpp)
target_compile_options(artgen PRIVATE -Wall -Wextra)
target_link_libraries(artgen PRIVATE Freetype::Freetype)
# The same font folder the platform measures with.
target_compile_definitions(artgen PRIVATE ZURA_FONT_DIR="/usr/share/fonts/truetype/dejavu")
add_custom_target(artwork
  COMMAND artgen ${CMAKE_SOURCE_DIR}/resources/art
  DEPENDS artgen
  COMMENT "Drawing the artwork into resources/art")
if(ZURA_TESTS)
  add_test(NAME graphics_artwork_matches_its_drawing
           COMMAND artgen --check ${CMAKE_SOURCE_DIR}/resources/art)
endif()

# Where the Windows resource compiler is installed (scripts/setup.sh with ZURA_WITH_WINDRES=1),
# the same script is also compiled by it, and a test holds our table against its output.
find_program(ZURA_WINDRES x86_64-w64-mingw32-windres)
find_program(ZURA_MINGW_GCC x86_64-w64-mingw32-gcc)
set(ZURA_WINDRES_ARGS)
if(ZURA_WINDRES AND NOT ZURA_MINGW_GCC AND EXISTS /usr/x86_64-w64-mingw32/include/windows.h)
  # Without the cross compiler, the host preprocessor reads the cross headers.
  execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=include
                  OUTPUT_VARIABLE ZURA_GCC_INCLUDE OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(ZURA_WINDRES_ARGS --preprocessor=cpp --preprocessor-arg=-nostdinc
      --preprocessor-arg=-I/usr/x86_64-w64-mingw32/include --preprocessor-arg=-I${ZURA_GCC_INCLUDE}
      -D_WIN32 -D_WIN64 -D__MINGW32__ -D__MINGW64__)
elseif(ZURA_WINDRES AND NOT ZURA_MINGW_GCC)
  set(ZURA_WINDRES "")
endif()
if(ZURA_WINDRES)
  set(ZURA_RES_FILE ${CMAKE_BINARY_DIR}/generated/zura.res)
  add_custom_command(
    OUTPUT ${ZURA_RES_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
    COMMAND ${ZURA_WINDRES} ${ZURA_WINDRES_ARGS} -O res zura.rc -o ${ZURA_RES_FILE}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/resources
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/zura.rc ${CMAKE_SOURCE_DIR}/resources/resource.h ${ZURA_ARTWORK}
    COMMENT "Compiling resources/zura.rc with the Windows resource compiler")
  add_custom_target(zura_res DEPENDS ${ZURA_RES_FILE})
  add_dependencies(zura_platform zura_res)
endif()
