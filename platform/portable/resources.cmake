# Resources of the portable build. The Windows resource compiler (windres, from Debian's
# binutils-mingw-w64-x86-64) compiles resources/zura.rc into a .res file, as the Windows build
# does; its bytes are linked into zura_platform and the platform reads the .res format at the
# first lookup, so both builds load the same strings, templates, bitmaps and icon.
# artgen draws the artwork the script names (and the desktop installer's, in installer/art/); the
# drawn files are kept in those folders and redrawn with the target "artwork"; a test checks that
# they still match their drawing.
find_program(ZURA_WINDRES x86_64-w64-mingw32-windres)
if(NOT ZURA_WINDRES)
  message(FATAL_ERROR "x86_64-w64-mingw32-windres is missing: scripts/setup.sh installs binutils-mingw-w64-x86-64")
endif()
find_program(ZURA_MINGW_GCC x86_64-w64-mingw32-gcc)
set(ZURA_WINDRES_ARGS)
if(NOT ZURA_MINGW_GCC)
  # Without the cross compiler, the host preprocessor reads the cross headers.
  execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=include
                  OUTPUT_VARIABLE ZURA_GCC_INCLUDE OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(ZURA_WINDRES_ARGS --preprocessor=cpp --preprocessor-arg=-nostdinc
      --preprocessor-arg=-I/usr/x86_64-w64-mingw32/include --preprocessor-arg=-I${ZURA_GCC_INCLUDE}
      -D_WIN32 -D_WIN64 -D__MINGW32__ -D__MINGW64__)
endif()

set(ZURA_RES_FILE ${CMAKE_BINARY_DIR}/generated/zura.res)
set(ZURA_RES_SOURCE ${CMAKE_BINARY_DIR}/generated/zura_res.cpp)
file(GLOB ZURA_ARTWORK CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/art/*)
add_custom_command(
  OUTPUT ${ZURA_RES_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND ${ZURA_WINDRES} ${ZURA_WINDRES_ARGS} -O res zura.rc -o ${ZURA_RES_FILE}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/resources
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/zura.rc ${CMAKE_SOURCE_DIR}/resources/resource.h ${ZURA_ARTWORK}
  COMMENT "Compiling resources/zura.rc with the Windows resource compiler")
add_custom_command(
  OUTPUT ${ZURA_RES_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DRES=${ZURA_RES_FILE} -DOUT=${ZURA_RES_SOURCE}
          -P ${CMAKE_SOURCE_DIR}/platform/portable/embed_res.cmake
  DEPENDS ${ZURA_RES_FILE} ${CMAKE_SOURCE_DIR}/platform/portable/embed_res.cmake
  COMMENT "Linking the compiled resources into the portable platform")
target_sources(zura_platform PRIVATE ${ZURA_RES_SOURCE})

add_executable(artgen ${CMAKE_SOURCE_DIR}/resources/tools/artgen.cpp)
target_compile_options(artgen PRIVATE -Wall -Wextra)
target_link_libraries(artgen PRIVATE Freetype::Freetype)
# The same font folder the platform measures with.
target_compile_definitions(artgen PRIVATE ZURA_FONT_DIR="/usr/share/fonts/truetype/dejavu")
add_custom_target(artwork
  COMMAND artgen ${CMAKE_SOURCE_DIR}/resources/art ${CMAKE_SOURCE_DIR}/installer/art
  DEPENDS artgen
  COMMENT "Drawing the artwork into resources/art and installer/art")
if(ZURA_TESTS)
  add_test(NAME graphics_artwork_matches_its_drawing
           COMMAND artgen --check ${CMAKE_SOURCE_DIR}/resources/art ${CMAKE_SOURCE_DIR}/installer/art)
endif()
