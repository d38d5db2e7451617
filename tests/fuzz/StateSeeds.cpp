// Writes the fuzzer's starting corpus: the states of a fresh processor and of
// one with every host parameter moved, into the folder given as argument.

#include <cstdio>

#include "StateBlobCheck.h"

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

    const auto seeds = StateBlobCheck::SeedStates();
    const char* const names[] = { "fresh.state", "moved.state" };

    for (size_t i = 0; i < seeds.size(); ++i)
        if (! folder.getChildFile(names[i]).replaceWithData(seeds[i].data(), seeds[i].size()))
            return 1;

    return 0;
}
