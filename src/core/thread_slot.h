// One pointer per thread, without the compiler's thread_local.
//
// Every module carries its own copy of the core and is loaded by dlopen. A
// thread_local in such a module lives in dynamic TLS, a block per module that
// glibc allocates on first touch; LeakSanitizer's scan of those blocks crashes
// at exit once a few dozen modules hold one, and a host that loads every
// command (a test host, an Octave session) does. A POSIX thread key keeps the
// value in the thread's own descriptor instead. Windows has no such scanner
// and keeps thread_local.
#ifndef KV_CORE_THREAD_SLOT_H
#define KV_CORE_THREAD_SLOT_H

#if defined(_WIN32)

namespace kv {

template <int Tag>
class ThreadSlot {
 public:
  static void* get() { return value_; }
  static void set(void* p) { value_ = p; }

 private:
  static thread_local void* value_;
};

template <int Tag>
thread_local void* ThreadSlot<Tag>::value_ = nullptr;

}  // namespace kv

#else

#include <pthread.h>

namespace kv {

// Tag tells slots apart; each is one key of this module, created at its first
// use and deleted when the module is unloaded.
template <int Tag>
class ThreadSlot {
 public:
  // A key that could not be made (the process ran out of keys) reads as
  // empty and ignores writes: the thread then runs outside any scope.
  static void* get() {
    const Key& s = key();
    return s.ok ? pthread_getspecific(s.k) : nullptr;
  }
  static void set(void* p) {
    const Key& s = key();
    if (s.ok) pthread_setspecific(s.k, p);
  }

 private:
  struct Key {
    pthread_key_t k{};
    bool ok;
    Key() : ok(pthread_key_create(&k, nullptr) == 0) {}
    ~Key() {
      if (ok) pthread_key_delete(k);
    }
  };
  static Key& key() {
    static Key the_key;
    return the_key;
  }
};

}  // namespace kv

#endif
#endif
