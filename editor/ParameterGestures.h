// The change gestures one editor panel has open on the processor's
// parameters. Hosts that record automation by touch (Touch and Latch modes)
// take a parameter's values only between a begin and an end, and hold the
// parameter as long as it stays touched; so every write from the editor is
// framed by both, and whatever is still open when the panel goes is ended
// then, never left touched. Message thread only.
#pragma once

#include <JuceHeader.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "AudioProcessor.h"

class ParameterGestures
{
public:
    explicit ParameterGestures (juce::AudioProcessor&);
    // Ends every gesture still open, in the order they began.
    ~ParameterGestures();

    // Begins on one index nest (a double-click inside a drag): the processor
    // hears the first begin and the end that matches it.
    void Begin (int index);
    // An end without a begin is ignored.
    void End (int index);
    void EndAll();
    bool IsOpen (int index) const;

    // A write that is a whole action on its own (a click, a typed value, a
    // wheel step, a reset): each index gets a begin before it and an end
    // after it, except one already open, whose drag frames the write.
    template <typename Indices, typename Write>
    void Framed (const Indices& indices, Write&& write)
    {
        std::vector<int> begun;

        for (int index : indices)
        {
            if (! IsOpen (index))
            {
                Begin (index);
                begun.push_back (index);
            }
        }

        write();

        for (int index : begun)
            End (index);
    }

    template <typename Write>
    void Framed (std::initializer_list<int> indices, Write&& write)
    {
        Framed<std::initializer_list<int>> (indices, std::forward<Write> (write));
    }

private:
    struct Open
    {
        int index;
        int depth;
    };

    juce::AudioProcessor& processor;
    std::vector<Open> open; // in the order begun

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ParameterGestures)
};
