// Writes the fuzzer's starting corpus: the states of a fresh processor and of
// one with every host parameter moved, into the folder given as argument.

#include <cstdio>

#include "AudioProcessor.h"
#include "Quorvane2AudioProcessor.h"

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
        return 2;
    }

    const juce::File folder(juce::File::getCurrentWorkingDirectory().getChildFile(argv[1]));

    if (! folder.createDirectory())
        return 1;

    Quorvane2AudioProcessor fresh;
    Quorvane2AudioProcessor moved;

    for (int i = 0; i < 35; ++i)
        moved.setParameter(i, static_cast<float>(i % 7) / 6.0f);

    moved.UISetOutputFormat(kOutputFormatStereo);

    const struct { Quorvane2AudioProcessor* p; const char* name; } seeds[] = {
        { &fresh, "fresh.state" }, { &moved, "moved.state" }
    };

    for (const auto& s : seeds)
    {
        juce::MemoryBlock block;
        s.p->getStateInformation(block);

        if (! folder.getChildFile(s.name).replaceWithData(block.getData(), block.getSize()))
            return 1;
    }

    return 0;
}
