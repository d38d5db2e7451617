#include "SpeakerArrangementNames.h"

namespace
{
constexpr const char* kNames[] = {
    "M",                                          // 0
    "L R",                                        // 1
    "Ls Rs",                                      // 2
    "Lc Rc",                                      // 3
    "Sl Sr",                                      // 4
    "C Lfe",                                      // 5
    "L R C",                                      // 6
    "L R S",                                      // 7
    "L R C Lfe",                                  // 8
    "L R Lfe S",                                  // 9
    "L R C S",                                    // 10
    "L R Ls Rs",                                  // 11
    "L R C Lfe S",                                // 12
    "L R Lfe Ls Rs",                              // 13
    "L R C Ls Rs",                                // 14
    "L R C Lfe Ls Rs",                            // 15
    "L R C Ls Rs Cs",                             // 16
    "L R Ls Rs Sl Sr ",                           // 17
    "L R C Lfe Ls Rs Cs",                         // 18
    "L R Lfe Ls Rs Sl Sr",                        // 19
    "L R C Ls Rs Lc Rc ",                         // 20
    "L R C Ls Rs Sl Sr",                          // 21
    "L R C Lfe Ls Rs Lc Rc",                      // 22
    "L R C Lfe Ls Rs Sl Sr",                      // 23
    "L R C Ls Rs Lc Rc Cs",                       // 24
    "L R C Ls Rs Cs Sl Sr",                       // 25
    "L R C Lfe Ls Rs Lc Rc Cs",                   // 26
    "L R C Lfe Ls Rs Cs Sl Sr",                   // 27
    "L R C Lfe Ls Rs Tfl Tfc Tfr Trl Trr Lfe2"    // 28
};

constexpr int32_t kNumNames = (int32_t) (sizeof(kNames) / sizeof(kNames[0]));
static_assert(kNumNames == 29, "arrangement types 0 to 28");
} // namespace

const char* speakerArrangementName(int32_t type) noexcept
{
    return type >= 0 && type < kNumNames ? kNames[type] : "";
}
