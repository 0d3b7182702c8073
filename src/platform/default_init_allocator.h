#pragma once
// An allocator whose vectors leave new elements of plain types
// uninitialised on resize: for buffers of a hundred megabytes that the
// next step overwrites completely, the zero fill would cost more than the
// work that follows it.
#include <memory>
#include <new>
#include <utility>

template <class T>
struct DefaultInitAllocator : std::allocator<T> {
    using std::allocator<T>::allocator;
    template <class U>
    struct rebind {
        using other = DefaultInitAllocator<U>;
    };
    template <class U>
    void construct(U* p) noexcept(noexcept(::new (static_cast<void*>(p)) U)) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
