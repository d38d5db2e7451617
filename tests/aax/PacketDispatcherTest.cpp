// Packets: marking, dispatch through the controller, the single-value handler
// and the packet's own storage.
#include "AAX_CPacketDispatcher.h"
#include "AAX_VController.h"
#include "FakeHost.h"
#include "TestEffect.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
std::string hex(const void* data, uint32_t size)
{
    return ::testing::PrintToString(Bytes { data, size });
}

/** Writes one byte per call: the number of calls so far. Throws when told. */
struct CountingWorker
{
    int calls = 0;
    bool throwNext = false;

    AAX_Result fill(AAX_CPacket& packet)
    {
        if (throwNext)
            throw std::runtime_error("handler failed");
        *packet.Reserve(1) = uint8_t(++calls);
        return 0;
    }
};

struct Fixture : ::testing::Test
{
    FakeHost host;
    std::unique_ptr<AAX_VController> controller = std::make_unique<AAX_VController>(host.unknown());
    CountingWorker worker;
    AAX_CPacketDispatcher dispatcher;

    Fixture() { dispatcher.Initialize(controller.get(), nullptr); }

    std::vector<std::string> posts() const { return host.record.callsStartingWith("Controller.PostPacket"); }
};

using AaxPacketDispatcher = Fixture;
} // namespace

TEST_F(AaxPacketDispatcher, DirtyPacketsArePostedOnce)
{
    const AAX_CPacketHandler<CountingWorker> handler(&worker, &CountingWorker::fill);
    ASSERT_EQ(dispatcher.RegisterPacket("a", 3, &handler), 0);
    ASSERT_EQ(dispatcher.RegisterPacket("b", 3, &handler), 0);   // shares field 3
    ASSERT_EQ(dispatcher.RegisterPacket("c", 5, &handler), 0);

    EXPECT_EQ(dispatcher.Dispatch(), 0) << "new packets start dirty";
    EXPECT_EQ(posts(), (std::vector<std::string> { "Controller.PostPacket(3, 01, 1)", "Controller.PostPacket(5, 02, 1)" }));

    host.record.clear();
    EXPECT_EQ(dispatcher.Dispatch(), 0);
    EXPECT_TRUE(posts().empty()) << "nothing dirty, nothing posted";

    EXPECT_EQ(dispatcher.SetDirty("b", true), 0);
    EXPECT_EQ(dispatcher.SetDirty("unknown", true), 0);
    EXPECT_EQ(dispatcher.Dispatch(), 0);
    EXPECT_EQ(posts(), (std::vector<std::string> { "Controller.PostPacket(3, 03, 1)" }));
}

TEST_F(AaxPacketDispatcher, HostStatusOfTheLastPostAndFailingHandlers)
{
    const AAX_CPacketHandler<CountingWorker> handler(&worker, &CountingWorker::fill);
    dispatcher.RegisterPacket("a", 1, &handler);
    dispatcher.RegisterPacket("b", 2, &handler);

    host.controller.postStatus = -5;
    EXPECT_EQ(dispatcher.Dispatch(), -5);

    host.record.clear();
    worker.throwNext = true;
    dispatcher.SetDirty("a", true);
    EXPECT_EQ(dispatcher.Dispatch(), 0) << "a throwing handler posts nothing and the exception stays here";
    EXPECT_TRUE(posts().empty());

    AAX_CPacketHandler<CountingWorker> unbound(nullptr, &CountingWorker::fill);
    AAX_CPacket packet(7);
    EXPECT_EQ(unbound.Call("a", packet), -20004);
    EXPECT_EQ(dispatcher.RegisterPacket(nullptr, 1, &handler), -20004);
    EXPECT_EQ(dispatcher.RegisterPacket("a", 1, nullptr), -20004);
}

TEST_F(AaxPacketDispatcher, WithoutControllerPostsAreDropped)
{
    AAX_CPacketDispatcher lonely;
    const AAX_CPacketHandler<CountingWorker> handler(&worker, &CountingWorker::fill);
    lonely.RegisterPacket("a", 1, &handler);
    EXPECT_EQ(lonely.Dispatch(), -20004);
}

TEST(AaxPacket, StorageStartsWithEightZeroBytes)
{
    AAX_CPacket packet(3);
    EXPECT_TRUE(packet.IsDirty());
    EXPECT_EQ(packet.GetSize(), 0u);
    EXPECT_EQ(hex(packet.Data(), 8), "0000000000000000");

    AAX_CPacket::SPacketData data;
    try
    {
        data.Get(0);
        FAIL() << "a size of 0 throws";
    }
    catch (const std::out_of_range& e)
    {
        EXPECT_STREQ(e.what(), "vector::_M_range_check");
    }
}

TEST(AaxPacket, BypassOnYieldsAFourBytePacketHolding1)
{
    FakeHost host;
    auto* effect = new TestEffect();
    effect->AddRef();
    ASSERT_EQ(effect->Initialize(host.unknown()), 0);
    effect->GenerateCoefficients();   // the registration's first post
    host.record.clear();

    ASSERT_EQ(effect->UpdateParameterNormalizedValue("MasterBypassID", 1.0, AAX_eUpdateSource_Parameter), 0);
    EXPECT_EQ(effect->GenerateCoefficients(), 0);
    EXPECT_EQ(host.record.callsStartingWith("Controller.PostPacket"), (std::vector<std::string> { "Controller.PostPacket(3, 01000000, 4)" }));

    host.record.clear();
    effect->UpdateParameterNormalizedValue("0", 0.3, AAX_eUpdateSource_Parameter);   // feeds no packet
    EXPECT_EQ(effect->GenerateCoefficients(), 0);
    EXPECT_TRUE(host.record.callsStartingWith("Controller.PostPacket").empty());

    effect->Uninitialize();
    effect->Release();
    EXPECT_TRUE(host.leakedReferences().empty());
}
