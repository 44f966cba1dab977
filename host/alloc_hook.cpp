// operator new and delete for a program that drives modules through the test
// host (the C++ tests, the fuzzer): the allocations a module's own code makes
// during a call (std::vector in a kernel, say) are counted by the host with
// those it makes through mx*, and the one chosen by host::fail_allocation_at
// throws std::bad_alloc. Defined in the program itself, so that they take
// precedence over the C++ library's and the sanitizers' for the program and
// every module it loads. Each block carries a small tag in front saying
// whether it was counted, so that its release is counted too.
#include <cstdint>
#include <cstdlib>
#include <new>

#include "host.h"

namespace {

constexpr std::size_t kTag = 16;  // keeps malloc's alignment
constexpr std::uint32_t kPlain = 0x6b760000u;
constexpr std::uint32_t kCounted = 0x6b760001u;

void* allocate(std::size_t n, bool nothrow) noexcept(false) {
  const host::hook::Verdict v = host::hook::on_new(n);
  void* p = nullptr;
  if (v != host::hook::kFail && n <= SIZE_MAX - kTag) p = std::malloc(n + kTag);
  if (p == nullptr) {
    if (v == host::hook::kCounted) host::hook::on_delete_counted();
    if (nothrow) return nullptr;
    throw std::bad_alloc();
  }
  *static_cast<std::uint32_t*>(p) = v == host::hook::kCounted ? kCounted : kPlain;
  return static_cast<char*>(p) + kTag;
}

void release(void* p) noexcept {
  if (p == nullptr) return;
  char* block = static_cast<char*>(p) - kTag;
  if (*reinterpret_cast<std::uint32_t*>(block) == kCounted) host::hook::on_delete_counted();
  std::free(block);
}

}  // namespace

void* operator new(std::size_t n) { return allocate(n, false); }
void* operator new[](std::size_t n) { return allocate(n, false); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocate(n, true); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocate(n, true); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
