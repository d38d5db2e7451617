// Names of the host's speaker-arrangement types, as the processor is told them.
#pragma once

#include <cstdint>

/** The name of arrangement type 0 to 28; any other type has the empty name.
    Types 17 and 20 end in a blank. */
const char* speakerArrangementName(int32_t type) noexcept;
