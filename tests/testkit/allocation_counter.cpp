#include "allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

thread_local bool counting = false;
std::atomic<long> allocations{0};

void* counted_malloc(size_t size) {
  if (counting) ++allocations;
  return std::malloc(size ? size : 1);
}

}  // namespace

namespace allocation_counter {

void start() {
  allocations = 0;
  counting = true;
}

long stop() {
  counting = false;
  return allocations.load();
}

}  // namespace allocation_counter

void* operator new(size_t size) {
  if (void* p = counted_malloc(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return counted_malloc(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return counted_malloc(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
