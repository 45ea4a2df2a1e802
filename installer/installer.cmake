# The desktop installer, installer.exe: a Windows program of its own (ANSI calls, no code shared
# with Zura), built with its resource script beside it.
add_executable(installer WIN32 installer/installer.cpp installer/install.cpp installer/installer.rc)
target_include_directories(installer PRIVATE ${CMAKE_SOURCE_DIR}/installer)
target_compile_options(installer PRIVATE -Wall -Wextra)
target_link_options(installer PRIVATE ${ZURA_WINDOWS_LINK})
