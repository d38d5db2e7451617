# JUCE 7 from Debian's juce-modules-source-data, compiled once per build tree
# as one static, position-independent library of the six modules we use.
set(QV_JUCE_MODULES_DIR "/usr/share/juce/modules" CACHE PATH "JUCE module sources")
if(NOT EXISTS "${QV_JUCE_MODULES_DIR}/juce_core/juce_core.h")
    message(FATAL_ERROR "JUCE modules not found in ${QV_JUCE_MODULES_DIR}; run ./build.sh to install them")
endif()

find_package(Freetype REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(QV_X11 REQUIRED IMPORTED_TARGET x11 xext xrandr xinerama xcursor)

set(_qv_juce_dir "${CMAKE_CURRENT_LIST_DIR}/juce")
add_library(qv_juce STATIC
    ${_qv_juce_dir}/juce_core.cpp
    ${_qv_juce_dir}/juce_events.cpp
    ${_qv_juce_dir}/juce_data_structures.cpp
    ${_qv_juce_dir}/juce_graphics.cpp
    ${_qv_juce_dir}/juce_gui_basics.cpp
    ${_qv_juce_dir}/juce_audio_basics.cpp)
set_target_properties(qv_juce PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_include_directories(qv_juce SYSTEM PUBLIC "${QV_JUCE_MODULES_DIR}" "${_qv_juce_dir}")
target_include_directories(qv_juce PRIVATE ${QV_X11_INCLUDE_DIRS})
target_compile_definitions(qv_juce PUBLIC
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    $<$<CONFIG:Debug>:DEBUG=1 _DEBUG=1>
    $<$<NOT:$<CONFIG:Debug>>:NDEBUG=1>)
# JUCE's own sources are not ours to warn about.
target_compile_options(qv_juce PRIVATE -w)
target_link_libraries(qv_juce PUBLIC
    Freetype::Freetype PNG::PNG JPEG::JPEG ZLIB::ZLIB Threads::Threads ${CMAKE_DL_LIBS} rt)
