// Module settings shared by every translation unit that sees JUCE, so the
// library and the code built on it agree on one configuration.
#pragma once

#ifndef JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED
 #define JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED 1
#endif

#define JUCE_MODULE_AVAILABLE_juce_core 1
#define JUCE_MODULE_AVAILABLE_juce_events 1
#define JUCE_MODULE_AVAILABLE_juce_data_structures 1
#define JUCE_MODULE_AVAILABLE_juce_graphics 1
#define JUCE_MODULE_AVAILABLE_juce_gui_basics 1
#define JUCE_MODULE_AVAILABLE_juce_audio_basics 1

#ifndef JUCE_STANDALONE_APPLICATION
 #define JUCE_STANDALONE_APPLICATION 0
#endif
#define JUCE_DISPLAY_SPLASH_SCREEN 0
#define JUCE_USE_CURL 0
#define JUCE_WEB_BROWSER 0
#define JUCE_USE_XSHM 1
#define JUCE_USE_FREETYPE 1

// The system's zlib, libpng and libjpeg, not the copies JUCE can bundle.
#define JUCE_INCLUDE_ZLIB_CODE 0
#define JUCE_ZLIB_INCLUDE_PATH <zlib.h>
#define JUCE_INCLUDE_PNGLIB_CODE 0
#define JUCE_INCLUDE_JPEGLIB_CODE 0
