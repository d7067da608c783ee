#pragma once

#include <mutex>

// Lock annotations for clang's thread-safety analysis (-Wthread-safety): a member
// GUARDED_BY(lock) is touched only with that lock held; a function REQUIRES(lock) is called with
// it held and EXCLUDES(lock) without it. Other compilers see nothing.
#if defined(__clang__)
#define ROVA_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define ROVA_THREAD_ANNOTATION(x)
#endif

#define CAPABILITY(x) ROVA_THREAD_ANNOTATION(capability(x))
#define SCOPED_CAPABILITY ROVA_THREAD_ANNOTATION(scoped_lockable)
#define GUARDED_BY(x) ROVA_THREAD_ANNOTATION(guarded_by(x))
#define REQUIRES(...) ROVA_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define EXCLUDES(...) ROVA_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#define ACQUIRE(...) ROVA_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define RELEASE(...) ROVA_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define NO_THREAD_SAFETY_ANALYSIS ROVA_THREAD_ANNOTATION(no_thread_safety_analysis)

namespace rova {

// A std::mutex the analysis knows as a lock (the standard library's own carries no annotations).
class CAPABILITY("mutex") Mutex {
  public:
    void lock() ACQUIRE() { mutex_.lock(); }
    void unlock() RELEASE() { mutex_.unlock(); }

  private:
    std::mutex mutex_;
};

// Holds a Mutex for the rest of the scope.
class SCOPED_CAPABILITY MutexLock {
  public:
    explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
    ~MutexLock() RELEASE() { mutex_.unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

  private:
    Mutex& mutex_;
};

}  // namespace rova
