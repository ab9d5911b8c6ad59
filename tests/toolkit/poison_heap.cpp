// Freed memory is filled with 0xDD and never handed out again, so a read of
// a freed record finds garbage pointers and crashes the test at once
// instead of passing by luck. Linked into test programs only.
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t kHeader = 16;  // keeps the block aligned

void* Allocate(std::size_t n) {
  auto* block = static_cast<unsigned char*>(std::malloc(n + kHeader));
  if (!block) return nullptr;
  std::memcpy(block, &n, sizeof n);
  return block + kHeader;
}

void Poison(void* p) {
  if (!p) return;
  auto* block = static_cast<unsigned char*>(p) - kHeader;
  std::size_t n = 0;
  std::memcpy(&n, block, sizeof n);
  std::memset(p, 0xDD, n);
}

}  // namespace

void* operator new(std::size_t n) {
  if (void* p = Allocate(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void operator delete(void* p) noexcept { Poison(p); }
void operator delete[](void* p) noexcept { Poison(p); }
void operator delete(void* p, std::size_t) noexcept { Poison(p); }
void operator delete[](void* p, std::size_t) noexcept { Poison(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Poison(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Poison(p); }
