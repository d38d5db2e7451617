#include "CACFUnknown.h"

#include "AAX.h"
#include "AAX_UIDs.h"

std::atomic<int32_t> CACFUnknown::m_ActiveObjects { 0 };

CACFUnknown::CACFUnknown() : outerUnknown(&privateUnknown), privateUnknown(this)
{
    m_ActiveObjects.fetch_add(1);
}

CACFUnknown::~CACFUnknown()
{
    m_ActiveObjects.fetch_sub(1);
}

int32_t CACFUnknown::InitializeInstance(IACFUnknown*)
{
    return AAXStatus::success;
}

void CACFUnknown::FinalRelease() {}

void CACFUnknown::ReclaimMemory()
{
    delete this;
}

int32_t CACFUnknown::InternalQueryInterface(const acfUID& iid, void** out)
{
    if (out == nullptr)
        return AAXStatus::missingObject;

    *out = nullptr;
    if (iid == IID_IACFUnknown)
    {
        *out = static_cast<IACFUnknown*>(&privateUnknown);
        privateUnknown.AddRef();
        return AAXStatus::success;
    }
    return AAXStatus::interfaceNotOffered;
}

uint32_t CACFUnknown::InternalAddRef()
{
    return refCount.fetch_add(1) + 1;
}

uint32_t CACFUnknown::InternalRelease()
{
    // A release without a reference (a host's over-release) must not wrap
    // the count to 0xFFFFFFFF: the object would then never be freed, or be
    // freed while still referenced.
    uint32_t count = refCount.load();
    do
    {
        if (count == 0)
            return 0;
    } while (! refCount.compare_exchange_weak(count, count - 1));

    if (count - 1 == 0)
    {
        FinalRelease();
        ReclaimMemory();   // the object is gone: touch no member from here on
        return 0;
    }
    return count - 1;
}

int32_t CACFUnknown::GetActiveObjectCount()
{
    return m_ActiveObjects.load();
}

int32_t CACFUnknown::PrivateUnknown::QueryInterface(const acfUID& iid, void** out)
{
    return owner->InternalQueryInterface(iid, out);
}

uint32_t CACFUnknown::PrivateUnknown::AddRef()
{
    return owner->InternalAddRef();
}

uint32_t CACFUnknown::PrivateUnknown::Release()
{
    return owner->InternalRelease();
}
