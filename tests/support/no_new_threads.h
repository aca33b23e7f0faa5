#pragma once

#include <pthread.h>

#include <cstddef>

namespace brennix::test {

// While it lives, no new thread can start: every thread asks for a stack larger than the address
// space, so the system refuses it as it would when out of threads or memory.
class NoNewThreads {
  public:
    NoNewThreads() {
        pthread_attr_t current;
        pthread_getattr_default_np(&current);
        pthread_attr_getstacksize(&current, &stackSize_);
        pthread_attr_destroy(&current);
        SetDefaultStackSize(size_t{1} << 46);
    }
    ~NoNewThreads() { SetDefaultStackSize(stackSize_); }
    NoNewThreads(const NoNewThreads&) = delete;
    NoNewThreads& operator=(const NoNewThreads&) = delete;

  private:
    static void SetDefaultStackSize(size_t size) {
        pthread_attr_t attributes;
        pthread_attr_init(&attributes);
        pthread_attr_setstacksize(&attributes, size);
        pthread_setattr_default_np(&attributes);
        pthread_attr_destroy(&attributes);
    }

    size_t stackSize_ = 0;
};

}  // namespace brennix::test
