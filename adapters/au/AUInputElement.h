// An input element: where its audio comes from (another unit's output, or a
// host's render callback) and how it is pulled.
#pragma once

#include "AUIOElement.h"

#include <atomic>

class AUInputElement : public AUIOElement
{
public:
    enum EInputType : UInt32
    {
        kNoInput = 0,
        kFromConnection = 1,
        kFromCallback = 2
    };

    explicit AUInputElement(AUBase& audioUnit) : AUIOElement(audioUnit) {}

    OSStatus SetStreamFormat(const CAStreamBasicDescription& format) override;
    /** Buffer space is needed only to hand a render callback. */
    bool NeedsBufferSpace() const override { return IsCallback(); }

    // Host main thread.
    /** With a source unit: takes audio from it, through its fast render
        function when it offers one. Without: no source. */
    void SetConnection(const AudioUnitConnection& connection);
    /** A null function: no source. */
    void SetInputCallback(AURenderCallback function, void* userData);

    bool IsActive() const noexcept { return InputType() != kNoInput; }
    bool IsCallback() const noexcept { return InputType() == kFromCallback; }
    bool HasConnection() const noexcept { return InputType() == kFromConnection; }
    const AudioUnitConnection& GetConnection() const noexcept { return mConnection; }

    /** Render thread. Fills the buffer list from the source: -10876 without
        one (or when it went away meanwhile); -50 when the source answered
        with buffers this element cannot use (missing, short, or a different
        layout); else the source's status. */
    OSStatus PullInput(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp,
                       AudioUnitElement element, UInt32 frames);

private:
    EInputType InputType() const noexcept { return (EInputType) mInputType.load(std::memory_order_acquire); }
    bool PulledBuffersUsable(const AudioBufferList& list, UInt32 frames) const noexcept;

    std::atomic<UInt32> mInputType { kNoInput };
    AURenderCallbackStruct mInputProc {};
    AudioUnitConnection mConnection {};
    AudioUnitRenderProc mConnRenderProc = nullptr; // the source's fast render function
    void* mConnInstanceStorage = nullptr;          // the object to pass it
};
