// Reference counting and interface queries shared by the library's objects
// that a host holds (the effect-parameters and GUI objects).
#pragma once

#include "ACFUnknown.h"

#include <atomic>
#include <cstdint>

class CACFUnknown
{
public:
    CACFUnknown();
    virtual ~CACFUnknown();

    CACFUnknown(const CACFUnknown&) = delete;
    CACFUnknown& operator=(const CACFUnknown&) = delete;

    virtual int32_t InitializeInstance(IACFUnknown* unknown);
    virtual void FinalRelease();
    virtual void ReclaimMemory();

    /** Clears *out; IID_IACFUnknown gives the private unknown with a new
        reference, any other identifier 0x80000004. */
    virtual int32_t InternalQueryInterface(const acfUID& iid, void** out);
    virtual uint32_t InternalAddRef();
    virtual uint32_t InternalRelease();

    static int32_t GetActiveObjectCount();

    IACFUnknown* GetOuterUnknown() const noexcept { return outerUnknown; }
    IACFUnknown* GetPrivateUnknown() noexcept { return &privateUnknown; }

private:
    /** The unknown a host holds: forwards to the owner's internal operations. */
    class PrivateUnknown final : public IACFUnknown
    {
    public:
        explicit PrivateUnknown(CACFUnknown* o) noexcept : owner(o) {}
        int32_t QueryInterface(const acfUID& iid, void** out) override;
        uint32_t AddRef() override;
        uint32_t Release() override;

    private:
        CACFUnknown* owner;
    };

    std::atomic<uint32_t> refCount { 0 };
    IACFUnknown* outerUnknown;
    PrivateUnknown privateUnknown;

    // Any thread may create or release objects, so the count is atomic.
    static std::atomic<int32_t> m_ActiveObjects;
};
