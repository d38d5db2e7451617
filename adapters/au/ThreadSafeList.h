// A list that the render thread walks while any other thread asks for
// additions and removals, without locks: requests go onto a pending stack by
// compare-and-swap and are applied by the render thread in update().
#pragma once

#include "CAXException.h"
#include "PlatformThreads.h"

#include <cstdint>
#include <new>

/** A lock-free stack of nodes that have a next() link. The head is kept as a
    64-bit word so that the platform's compare-and-swap can replace it. */
template <class T>
class TAtomicStack
{
public:
    TAtomicStack() noexcept = default;
    TAtomicStack(const TAtomicStack&) = delete;
    TAtomicStack& operator=(const TAtomicStack&) = delete;

    // Any thread.
    void push_atomic(T* item) noexcept
    {
        T* head;
        do
        {
            head = top();
            item->next() = head;
        } while (! compare_and_swap(head, item));
    }

    /** Pushes a chain linked through next(), its first node ending on top. */
    void push_multiple_atomic(T* chain) noexcept
    {
        if (chain == nullptr)
            return;
        T* last = chain;
        while (last->next() != nullptr)
            last = last->next();

        T* head;
        do
        {
            head = top();
            last->next() = head;
        } while (! compare_and_swap(head, chain));
    }

    /** Takes the whole stack in one swap, keeps its first node and gives the
        rest back, so no node is ever read by two threads at once. */
    T* pop_atomic() noexcept
    {
        T* chain = pop_all();
        if (chain == nullptr)
            return nullptr;
        T* rest = chain->next();
        chain->next() = nullptr;
        push_multiple_atomic(rest);
        return chain;
    }

    /** The whole stack, top first; the stack is left empty. */
    T* pop_all() noexcept
    {
        T* head;
        do
        {
            head = top();
            if (head == nullptr)
                return nullptr;
        } while (! compare_and_swap(head, nullptr));
        return head;
    }

    T* top() const noexcept
    {
        return reinterpret_cast<T*>((intptr_t) __atomic_load_n(&mHead, __ATOMIC_ACQUIRE));
    }

    bool empty() const noexcept { return top() == nullptr; }

    // Only for a stack that one thread alone touches (the active list).
    void set_top(T* item) noexcept { __atomic_store_n(&mHead, (int64_t) (intptr_t) item, __ATOMIC_RELEASE); }

private:
    bool compare_and_swap(T* expected, T* desired) noexcept
    {
        return OSAtomicCompareAndSwap64Barrier((int64_t) (intptr_t) expected, (int64_t) (intptr_t) desired, &mHead);
    }

    volatile int64_t mHead = 0;
};

template <class T>
class TThreadSafeList
{
public:
    enum EventType : UInt32
    {
        kAdd = 0,
        kRemove = 1,
        kClear = 2
    };

    class Node
    {
    public:
        Node*& next() noexcept { return mNext; }

        Node* mNext = nullptr;
        EventType mEventType = kAdd;
        T mObject {};
    };

    class iterator
    {
    public:
        explicit iterator(Node* n) noexcept : mNode(n) {}
        T& operator*() const noexcept { return mNode->mObject; }
        iterator& operator++() noexcept
        {
            mNode = mNode->mNext;
            return *this;
        }
        bool operator!=(const iterator& other) const noexcept { return mNode != other.mNode; }

    private:
        Node* mNode;
    };

    TThreadSafeList() noexcept = default;
    TThreadSafeList(const TThreadSafeList&) = delete;
    TThreadSafeList& operator=(const TThreadSafeList&) = delete;

    ~TThreadSafeList()
    {
        freeChain(mActiveList.pop_all());
        freeChain(mPendingList.pop_all());
        freeChain(mFreeList.pop_all());
    }

    // Any thread; throws out of memory when no node is free and none can be made.
    void deferred_add(const T& object) { queue(kAdd, object); }
    void deferred_remove(const T& object) { queue(kRemove, object); }
    void deferred_clear() { queue(kClear, T {}); }

    /** Render thread only: applies the pending requests in the order they
        were queued. Never allocates. */
    void update() noexcept
    {
        Node* events = mPendingList.pop_all();
        if (events == nullptr)
            return;

        // The stack gives the latest request first.
        Node* ordered = nullptr;
        while (events != nullptr)
        {
            Node* n = events;
            events = n->mNext;
            n->mNext = ordered;
            ordered = n;
        }

        while (ordered != nullptr)
        {
            Node* event = ordered;
            ordered = event->mNext;
            event->mNext = nullptr;
            apply(event);
        }
    }

    // Render thread only.
    iterator begin() const noexcept { return iterator(mActiveList.top()); }
    iterator end() const noexcept { return iterator(nullptr); }

    static_assert(sizeof(T) <= 16, "a node is 32 bytes: link, kind, and an object of up to 16 bytes");

private:
    void queue(EventType type, const T& object)
    {
        Node* n = AllocNode();
        n->mEventType = type;
        n->mObject = object;
        mPendingList.push_atomic(n);
    }

    Node* AllocNode()
    {
        Node* n = mFreeList.pop_atomic();
        if (n == nullptr)
            n = new Node; // throws out of memory
        n->mNext = nullptr;
        return n;
    }

    void apply(Node* event) noexcept
    {
        switch (event->mEventType)
        {
            case kAdd:
            {
                Node* last = nullptr;
                for (Node* a = mActiveList.top(); a != nullptr; a = a->mNext)
                {
                    if (a->mObject == event->mObject)
                    {
                        mFreeList.push_atomic(event); // already there
                        return;
                    }
                    last = a;
                }
                if (last == nullptr)
                    mActiveList.set_top(event);
                else
                    last->mNext = event;
                return;
            }
            case kRemove:
            {
                Node* previous = nullptr;
                for (Node* a = mActiveList.top(); a != nullptr; previous = a, a = a->mNext)
                {
                    if (a->mObject == event->mObject)
                    {
                        if (previous == nullptr)
                            mActiveList.set_top(a->mNext);
                        else
                            previous->mNext = a->mNext;
                        a->mNext = nullptr;
                        mFreeList.push_atomic(a);
                        break;
                    }
                }
                mFreeList.push_atomic(event);
                return;
            }
            case kClear:
            default:
            {
                Node* all = mActiveList.top();
                mActiveList.set_top(nullptr);
                mFreeList.push_multiple_atomic(all);
                mFreeList.push_atomic(event);
                return;
            }
        }
    }

    static void freeChain(Node* n) noexcept
    {
        while (n != nullptr)
        {
            Node* next = n->mNext;
            delete n;
            n = next;
        }
    }

    TAtomicStack<Node> mActiveList;  // render thread only
    TAtomicStack<Node> mPendingList; // any thread pushes, the render thread takes
    TAtomicStack<Node> mFreeList;    // any thread
};
