# 32-bit Windows: the build one ships.
set(ZURA_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
