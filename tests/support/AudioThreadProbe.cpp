#include "AudioThreadProbe.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <execinfo.h>
#include <new>
#include <pthread.h>
#include <unistd.h>

// A sanitizer replaces the allocator itself; only operator new and delete are counted then.
// gcc announces one with __SANITIZE_*__, clang through __has_feature.
#if defined(__has_feature)
#define TACETOR_PROBE_HAS(feature) __has_feature (feature)
#else
#define TACETOR_PROBE_HAS(feature) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || TACETOR_PROBE_HAS(address_sanitizer) || TACETOR_PROBE_HAS(thread_sanitizer)
#define TACETOR_PROBE_MALLOC 0
#else
#define TACETOR_PROBE_MALLOC 1
#endif

namespace
{
// Plain data with constant initialisers: reading them costs no allocation and no lock, even
// from inside the allocator.
thread_local bool armed = false;
thread_local long allocationCount = 0;
thread_local long freeCount = 0;
thread_local long lockCount = 0;

// Read while static objects are made; until then nothing is armed, so nothing is traced.
const bool tracing = std::getenv ("TACETOR_PROBE_TRACE") != nullptr;

/** Prints what was counted and the calling stack to stderr, without allocating. */
void trace (const char* what) noexcept
{
    if (! tracing)
        return;

    // The first stack walk loads the unwinder, which allocates: that is not the caller's.
    armed = false;
    void* frames[48];
    const int depth = backtrace (frames, 48);
    [[maybe_unused]] const auto written = write (STDERR_FILENO, what, std::strlen (what));
    backtrace_symbols_fd (frames, depth, STDERR_FILENO);
    armed = true;
}

void countAllocation() noexcept
{
    if (armed)
    {
        ++allocationCount;
        trace ("allocation:\n");
    }
}

void countFree() noexcept
{
    if (armed)
        ++freeCount;
}

void countLock() noexcept
{
    if (armed)
    {
        ++lockCount;
        trace ("lock:\n");
    }
}
} // namespace

#if TACETOR_PROBE_MALLOC
// glibc's own entry points behind malloc and free, so that the replacements below can forward
// without looking anything up (a look-up may itself allocate).
extern "C" void* __libc_malloc (size_t size) noexcept;
extern "C" void* __libc_calloc (size_t count, size_t size) noexcept;
extern "C" void* __libc_realloc (void* block, size_t size) noexcept;
extern "C" void __libc_free (void* block) noexcept;

namespace
{
void* rawAllocate (size_t size) noexcept { return __libc_malloc (size); }
void rawFree (void* block) noexcept { __libc_free (block); }
} // namespace

extern "C" void* malloc (size_t size) noexcept
{
    countAllocation();
    return __libc_malloc (size);
}

extern "C" void* calloc (size_t count, size_t size) noexcept
{
    countAllocation();
    return __libc_calloc (count, size);
}

extern "C" void* realloc (void* block, size_t size) noexcept
{
    countAllocation();
    return __libc_realloc (block, size);
}

extern "C" void free (void* block) noexcept
{
    if (block != nullptr)
        countFree();

    __libc_free (block);
}
#else
namespace
{
void* rawAllocate (size_t size) noexcept { return std::malloc (size); }
void rawFree (void* block) noexcept { std::free (block); }
} // namespace
#endif

namespace
{
void* allocateOrThrow (size_t size)
{
    countAllocation();

    if (void* block = rawAllocate (size == 0 ? 1 : size))
        return block;

    throw std::bad_alloc();
}

void* allocateAligned (size_t size, std::align_val_t alignment) noexcept
{
    countAllocation();
    const auto align = static_cast<size_t> (alignment);
    return std::aligned_alloc (align, (size + align - 1) / align * align);
}

void* allocateAlignedOrThrow (size_t size, std::align_val_t alignment)
{
    if (void* block = allocateAligned (size, alignment))
        return block;

    throw std::bad_alloc();
}

void release (void* block) noexcept
{
    if (block == nullptr)
        return;

    countFree();
    rawFree (block);
}
} // namespace

void* operator new (size_t size) { return allocateOrThrow (size); }
void* operator new[] (size_t size) { return allocateOrThrow (size); }
void* operator new (size_t size, std::align_val_t alignment) { return allocateAlignedOrThrow (size, alignment); }
void* operator new[] (size_t size, std::align_val_t alignment) { return allocateAlignedOrThrow (size, alignment); }

void* operator new (size_t size, const std::nothrow_t&) noexcept
{
    countAllocation();
    return rawAllocate (size == 0 ? 1 : size);
}

void* operator new[] (size_t size, const std::nothrow_t& tag) noexcept { return operator new (size, tag); }
void* operator new (size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept { return allocateAligned (size, alignment); }
void* operator new[] (size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept { return allocateAligned (size, alignment); }

void operator delete (void* block) noexcept { release (block); }
void operator delete[] (void* block) noexcept { release (block); }
void operator delete (void* block, size_t) noexcept { release (block); }
void operator delete[] (void* block, size_t) noexcept { release (block); }
void operator delete (void* block, std::align_val_t) noexcept { release (block); }
void operator delete[] (void* block, std::align_val_t) noexcept { release (block); }
void operator delete (void* block, size_t, std::align_val_t) noexcept { release (block); }
void operator delete[] (void* block, size_t, std::align_val_t) noexcept { release (block); }
void operator delete (void* block, const std::nothrow_t&) noexcept { release (block); }
void operator delete[] (void* block, const std::nothrow_t&) noexcept { release (block); }
void operator delete (void* block, std::align_val_t, const std::nothrow_t&) noexcept { release (block); }
void operator delete[] (void* block, std::align_val_t, const std::nothrow_t&) noexcept { release (block); }

namespace
{
/** The next definition of a function after this executable's (the C library's, or a
    sanitizer's), looked up once. */
template <typename Function>
Function nextDefinition (std::atomic<Function>& cache, const char* name) noexcept
{
    auto function = cache.load (std::memory_order_relaxed);

    if (function == nullptr)
    {
        function = reinterpret_cast<Function> (dlsym (RTLD_NEXT, name));
        cache.store (function, std::memory_order_relaxed);
    }

    return function;
}
} // namespace

// Each lock function counts and forwards to the real one. The exception specifications match
// the C library's declarations.
#define TACETOR_COUNTED_LOCK(name, parameters, arguments, exceptionSpec) \
    extern "C" int name parameters exceptionSpec                         \
    {                                                                    \
        static std::atomic<int (*) parameters> real { nullptr };         \
        countLock();                                                     \
        return nextDefinition (real, #name) arguments;                   \
    }

TACETOR_COUNTED_LOCK (pthread_mutex_lock, (pthread_mutex_t * m), (m), noexcept)
TACETOR_COUNTED_LOCK (pthread_mutex_trylock, (pthread_mutex_t * m), (m), noexcept)
TACETOR_COUNTED_LOCK (pthread_mutex_timedlock, (pthread_mutex_t * m, const timespec* t), (m, t), noexcept)
TACETOR_COUNTED_LOCK (pthread_rwlock_rdlock, (pthread_rwlock_t * l), (l), noexcept)
TACETOR_COUNTED_LOCK (pthread_rwlock_wrlock, (pthread_rwlock_t * l), (l), noexcept)
TACETOR_COUNTED_LOCK (pthread_rwlock_tryrdlock, (pthread_rwlock_t * l), (l), noexcept)
TACETOR_COUNTED_LOCK (pthread_rwlock_trywrlock, (pthread_rwlock_t * l), (l), noexcept)
TACETOR_COUNTED_LOCK (pthread_spin_lock, (pthread_spinlock_t * l), (l), noexcept)
TACETOR_COUNTED_LOCK (pthread_spin_trylock, (pthread_spinlock_t * l), (l), noexcept)
TACETOR_COUNTED_LOCK (pthread_cond_wait, (pthread_cond_t * c, pthread_mutex_t* m), (c, m), )
TACETOR_COUNTED_LOCK (pthread_cond_timedwait, (pthread_cond_t * c, pthread_mutex_t* m, const timespec* t), (c, m, t), )

#undef TACETOR_COUNTED_LOCK

AudioThreadProbe::AudioThreadProbe() noexcept
{
    allocationCount = 0;
    freeCount = 0;
    lockCount = 0;
    armed = true;
}

AudioThreadProbe::~AudioThreadProbe() { disarm(); }

void AudioThreadProbe::disarm() noexcept { armed = false; }
long AudioThreadProbe::allocations() const noexcept { return allocationCount; }
long AudioThreadProbe::frees() const noexcept { return freeCount; }
long AudioThreadProbe::locks() const noexcept { return lockCount; }
bool AudioThreadProbe::countsMalloc() noexcept { return TACETOR_PROBE_MALLOC != 0; }
