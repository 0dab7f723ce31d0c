# The shell seam's backends (platform/shell_platform.h); exactly one is linked into each program.
# Object libraries, so that a program gets them whole whatever the order of its static libraries.
# Included from shell/CMakeLists.txt.

set(_platform "${PROJECT_SOURCE_DIR}/platform")

add_library(shell_headless OBJECT
    "${_platform}/message_queue.cpp"
    "${_platform}/headless/headless_shell.cpp"
)
target_include_directories(shell_headless PUBLIC "${PROJECT_SOURCE_DIR}")

if(WIN32)
    add_library(shell_win32 OBJECT
        "${_platform}/win32/win32_shell.cpp"
        "${_platform}/win32/win32_main.cpp"
        "${_platform}/win32/win32_audio_choice.cpp"
    )
    target_include_directories(shell_win32 PUBLIC "${PROJECT_SOURCE_DIR}")
    target_link_libraries(shell_win32 PUBLIC audio_waveout user32 gdi32)
else()
    find_package(SDL2 REQUIRED)
    add_library(shell_sdl OBJECT
        "${_platform}/message_queue.cpp"
        "${_platform}/sdl/sdl_shell.cpp"
        "${_platform}/sdl/sdl_main.cpp"
        "${_platform}/sdl/sdl_audio_choice.cpp"
    )
    target_include_directories(shell_sdl PUBLIC "${PROJECT_SOURCE_DIR}")
    target_link_libraries(shell_sdl PUBLIC audio_sdl audio_virtual SDL2::SDL2)
endif()
