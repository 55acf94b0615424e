// An allocator for large tables read at random (hash tables of millions of
// slots): a table of 2 MB or more is aligned to 2 MB and the system is asked
// to back it with huge pages before it is first written, so that a look-up
// costs a cache miss and not also a page-table walk. Smaller tables, and
// systems without the request, get ordinary memory.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

template <class T>
struct LargeTableAllocator {
  using value_type = T;
  static constexpr std::size_t kHugePage = std::size_t{2} << 20;

  LargeTableAllocator() = default;
  template <class U>
  LargeTableAllocator(const LargeTableAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) return static_cast<T*>(::operator new(bytes));
    // aligned_alloc wants a multiple of the alignment.
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (p == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(p, rounded, MADV_HUGEPAGE);  // a hint: refused, the table still works
#endif
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t n) {
    if (n * sizeof(T) < kHugePage) ::operator delete(p);
    else std::free(p);
  }
  template <class U>
  bool operator==(const LargeTableAllocator<U>&) const { return true; }
};
