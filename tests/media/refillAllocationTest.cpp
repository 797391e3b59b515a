// The music refill allocates nothing: every allocation while counting is seen, the C++ ones by
// replacing operator new and, under the address sanitizer, those of the C libraries (the decoder)
// through its allocation hooks.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocation hooks (its header comes with clang only).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
#endif

#include "base/moduleState.h"
#include "fakeSoundPlatform.h"
#include "media/sound.h"
#include "testing.h"

namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};

void countOne() {
    if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1);
}

#if defined(__SANITIZE_ADDRESS__)
void mallocHook(const volatile void*, size_t) { countOne(); }
void freeHook(const volatile void*) {}
const bool kHooked = __sanitizer_install_malloc_and_free_hooks(mallocHook, freeHook) != 0;
#else
const bool kHooked = false;
#endif
}  // namespace

#if !defined(__SANITIZE_ADDRESS__)
// Without the sanitizer's hooks: every form of operator new counts.
namespace {
void* countedAllocation(size_t n) {
    countOne();
    return std::malloc(n ? n : 1);
}
}  // namespace
void* operator new(size_t n) {
    if (void* p = countedAllocation(n)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t n) {
    if (void* p = countedAllocation(n)) return p;
    throw std::bad_alloc();
}
void* operator new(size_t n, const std::nothrow_t&) noexcept { return countedAllocation(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return countedAllocation(n); }
// The replaced forms pair with each other; the compiler sees only the free inside them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { ::operator delete(p); }
void operator delete[](void* p, size_t) noexcept { ::operator delete[](p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { ::operator delete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { ::operator delete[](p); }
#pragma GCC diagnostic pop
#endif

namespace {

long allocationsDuring(void (*work)()) {
    gAllocations = 0;
    gCounting = true;
    work();
    gCounting = false;
    return gAllocations;
}

TEST(RefillAllocation, NoneInTheRefillStep) {
    resetEngineState();
    FakeSound fake;
    // A loop of 0.3 s, so refills seek back to the loop start again and again.
    fake.file("bgm", "loop.ogg", sweepPiece(2.0, {{"start", "30000"}, {"end", "43230"}}));
    applySoundVolumes();
    ASSERT_TRUE(playBGM("loop.ogg", true));
    static FakeBuffer* buffer;
    buffer = fake.bgm();
    buffer->locks.reserve(64);  // the fake's own record
    auto crossings = [] {
        for (int i = 0; i < 20; ++i) {
            buffer->cursor = i % 2 == 0 ? kBgmHalfBytes : 0;
            refillBGMStream();
        }
    };
    crossings();  // the decoder's own buffers reach their working size
    EXPECT_EQ(0, allocationsDuring(crossings));
    EXPECT_EQ(41u, buffer->locks.size());
    // The counter counts: a play allocates.
    static int* probe;
    EXPECT_GT(allocationsDuring([] { probe = new int(3); }), 0);
    delete probe;
    if (!kHooked) std::printf("(allocations of the C libraries not seen without the sanitizer)\n");
    resetEngineState();
}

}  // namespace
