// An owning reference to a host interface: released when the holder goes.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

#include <memory>
#include <utility>
#include <vector>

template <class Interface>
class ACFPtr
{
public:
    ACFPtr() noexcept = default;
    ~ACFPtr() { reset(); }

    ACFPtr(const ACFPtr&) = delete;
    ACFPtr& operator=(const ACFPtr&) = delete;
    ACFPtr(ACFPtr&& other) noexcept : pointer(std::exchange(other.pointer, nullptr)) {}
    ACFPtr& operator=(ACFPtr&& other) noexcept
    {
        if (this != &other)
        {
            reset();
            pointer = std::exchange(other.pointer, nullptr);
        }
        return *this;
    }

    /** Takes over a reference the caller already holds. */
    void adopt(Interface* p) noexcept
    {
        reset();
        pointer = p;
    }

    /** Keeps p with a reference of its own. */
    void retain(Interface* p) noexcept
    {
        if (p != nullptr)
            p->AddRef();
        adopt(p);
    }

    void reset() noexcept
    {
        if (auto* p = std::exchange(pointer, nullptr))
            p->Release();
    }

    /** Asks `from` for iid; empty when `from` is null or refuses. */
    static ACFPtr query(IACFUnknown* from, const acfUID& iid) noexcept
    {
        ACFPtr result;
        void* out = nullptr;
        if (from != nullptr && from->QueryInterface(iid, &out) == AAXStatus::success && out != nullptr)
            result.adopt(static_cast<Interface*>(out));
        return result;
    }

    Interface* get() const noexcept { return pointer; }
    explicit operator bool() const noexcept { return pointer != nullptr; }

    /** Callers test first; a call through an empty pointer throws 0x80000005. */
    Interface* operator->() const
    {
        if (pointer == nullptr)
            throw AAXStatus::nullInterface;
        return pointer;
    }

private:
    Interface* pointer = nullptr;
};

/** A host object made by the host's component factory: the factory is asked
    for on `host`, asked to make `componentID` (no outer object) as `iid`, and
    released at once. Null when any step fails. */
void* AAX_CreateHostObject(IACFUnknown* host, const acfUID& componentID, const acfUID& iid);

template <class Interface>
ACFPtr<Interface> AAX_CreateHostObjectAs(IACFUnknown* host, const acfUID& componentID, const acfUID& iid)
{
    ACFPtr<Interface> result;
    result.adopt(static_cast<Interface*>(AAX_CreateHostObject(host, componentID, iid)));
    return result;
}

/** A description proxy made on `unknown` and kept in `kept`, which owns it;
    null (and nothing kept) when the host made no object. */
template <class Proxy>
Proxy* AAX_KeepNewProxy(std::vector<std::unique_ptr<Proxy>>& kept, IACFUnknown* unknown)
{
    auto proxy = std::make_unique<Proxy>(unknown);
    if (proxy->GetIUnknown() == nullptr)
        return nullptr;
    kept.push_back(std::move(proxy));
    return kept.back().get();
}
