// Shared by the editor tests: the look and feel installed as the default one
// (fonts resolve through it) and the host type cleared after each test.
#pragma once

#include <gtest/gtest.h>

#include "HostType.h"
#include "QVLookAndFeel.h"

class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override { juce::LookAndFeel::setDefaultLookAndFeel (&lnf); }

    void TearDown() override
    {
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
        HostType::ClearHostTypeForTesting();
    }

    QVLookAndFeel lnf;
};

// The first label among the children: a slider's or combo box's text box.
inline juce::Label* FindTextBox (juce::Component& parent)
{
    for (auto* child : parent.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            return label;

    return nullptr;
}

// The hosts whose value labels refuse editing: Cubase 4 to 7 and Nuendo.
inline bool IsReadOnlyHostType (int type) { return (type >= 14 && type <= 19) || type == 24; }
