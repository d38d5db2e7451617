// What a host that hears of edits only at its next process call is told, for
// each pattern of edits made between two sends.
#include "DeferredEditNotices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
// "b" gesture began, "e" ended, "v25" the value 0.25, "|" a send; the host's
// notices as "B", "V25", "E", each send's in brackets.
std::string run(DeferredEditNotices& notices, int index, const std::string& script)
{
    std::string heard = "[";
    auto send = [&] {
        notices.sendPending([&](DeferredEditNotices::Notice n, int i, float value) {
            heard += i != index ? "?" + std::to_string(i) : "";
            if (n == DeferredEditNotices::Notice::begin)
                heard += "B ";
            else if (n == DeferredEditNotices::Notice::end)
                heard += "E ";
            else
                heard += "V" + std::to_string(std::lround(value * 100.0f)) + " ";
        });
        if (heard.back() == ' ')
            heard.pop_back();
        heard += "]";
    };

    for (size_t k = 0; k < script.size(); ++k)
    {
        switch (script[k])
        {
            case 'b': notices.gestureBegan(index); break;
            case 'e': notices.gestureEnded(index); break;
            case 'v': notices.valueChanged(index, (float) std::stoi(script.substr(k + 1, 2)) / 100.0f); k += 2; break;
            case '|': send(); heard += "["; break;
            default: break;
        }
    }
    send();
    return heard;
}
} // namespace

TEST(DeferredEditNoticesTest, WhatTheHostHearsForEachPatternOfEdits)
{
    struct Case
    {
        const char* script;
        const char* heard;
        bool leftOpen = false; // the host holds a begin without its end yet
    };
    const Case cases[] = {
        { "v25", "[V25]" },                     // an edit outside any gesture
        { "v25v50v75", "[V75]" },               // only the latest value waits
        { "bv25v50e", "[B V50 E]" },            // a whole gesture between two sends
        { "bv25|v50e", "[B V25][V50 E]" },      // begun before a send, ended after it
        { "bv25|e", "[B V25][E]" },             // ended with no new value
        { "b|||e", "[B][][][E]" },              // held open over sends that have nothing new
        { "bv25|ebv50", "[B V25][V50 E B]", true }, // ended and begun again, still open
        { "bv25|ebv50|e", "[B V25][V50 E B][E]" },
        { "bv25|ebv50e", "[B V25][V50 E]" },    // ended, begun, ended: closed once
        { "bv25ebv50e", "[B V50 E]" },          // two gestures between two sends: one
        { "bbv25ee", "[B V25 E]" },             // a nested begin and end add nothing
        { "e", "[]" },                          // an end without a begin
        { "ev25", "[V25]" },
        { "bv25e|", "[B V25 E][]" },            // nothing is sent twice
    };

    for (const auto& c : cases)
    {
        DeferredEditNotices notices(35);
        EXPECT_EQ(run(notices, 7, c.script), c.heard) << "edits " << c.script;
        EXPECT_EQ(notices.isOpenForHost(7), c.leftOpen) << "edits " << c.script;
    }
}

TEST(DeferredEditNoticesTest, ParametersAreKeptApartAndOutOfRangeIndicesIgnored)
{
    DeferredEditNotices notices(35);
    ASSERT_EQ(notices.getNumParameters(), 35);

    for (int index : { -1, 35, 36, 49, 1 << 30 })
    {
        notices.gestureBegan(index);
        notices.valueChanged(index, 0.5f);
        notices.gestureEnded(index);
        EXPECT_FALSE(notices.isOpenForHost(index));
    }
    notices.gestureBegan(34);
    notices.valueChanged(34, 0.125f);
    notices.valueChanged(0, 1.0f);
    notices.gestureBegan(20);

    std::string heard;
    notices.sendPending([&](DeferredEditNotices::Notice n, int index, float value) {
        heard += std::to_string(index) + (n == DeferredEditNotices::Notice::begin ? "B" : n == DeferredEditNotices::Notice::end ? "E" : "V") + " ";
        if (n == DeferredEditNotices::Notice::value)
        {
            EXPECT_EQ(value, index == 34 ? 0.125f : 1.0f) << "parameter " << index;
        }
    });
    EXPECT_EQ(heard, "0V 20B 34B 34V ") << "in index order, nothing for out-of-range indices";
    EXPECT_TRUE(notices.isOpenForHost(20));
    EXPECT_TRUE(notices.isOpenForHost(34));
    EXPECT_FALSE(notices.isOpenForHost(0));

    DeferredEditNotices none(-3);
    EXPECT_EQ(none.getNumParameters(), 0);
    none.valueChanged(0, 0.5f);
    none.sendPending([](DeferredEditNotices::Notice, int index, float) { ADD_FAILURE() << "heard of parameter " << index; });
}

// A sender that finds another send under way leaves everything to the next.
TEST(DeferredEditNoticesTest, ASendInsideASendLeavesItsNoticesForTheNext)
{
    DeferredEditNotices notices(4);
    notices.valueChanged(1, 0.5f);
    notices.valueChanged(2, 0.25f);

    int outer = 0, inner = 0;
    notices.sendPending([&](DeferredEditNotices::Notice, int index, float) {
        ++outer;
        notices.valueChanged(3, 0.75f); // an edit made from inside the host's callback
        notices.sendPending([&](DeferredEditNotices::Notice, int, float) { ++inner; });
    });
    EXPECT_EQ(outer, 3) << "parameters 1 and 2, and 3 edited during the send";
    EXPECT_EQ(inner, 0);

    notices.valueChanged(3, 0.875f);
    std::string heard;
    notices.sendPending([&](DeferredEditNotices::Notice, int index, float value) {
        heard += std::to_string(index) + "=" + std::to_string(std::lround(value * 1000.0f)) + " ";
    });
    EXPECT_EQ(heard, "3=875 ");
}
