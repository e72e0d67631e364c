#pragma once
// Qt hands a callable from one thread to another (a queued invokeMethod, the
// thread pool's queue) under its own locks, which the thread checker cannot
// see: Qt is not built with it. HandedOver(f) states the same order in code
// the checker sees: the wrapper releases a counter once the callable stands
// in its new place, and acquires it before the callable runs or goes. The
// thread that ran it releases again when done, since the last of Qt's two
// holders of a queued call, which may be the sending thread, frees it. It
// changes nothing else.
#include <atomic>
#include <utility>

namespace device {

namespace handover {
inline std::atomic<unsigned> g_handOvers{0};

// Released whenever it is made, copied or moved, so after whatever is built
// before it; acquired when it goes.
class TMark {
  public:
    TMark() { Release(); }
    TMark(const TMark&) { Release(); }
    TMark(TMark&&) noexcept { Release(); }
    TMark& operator=(const TMark&) {
        Release();
        return *this;
    }
    TMark& operator=(TMark&&) noexcept {
        Release();
        return *this;
    }
    ~TMark() { Acquire(); }

    static void Acquire() { g_handOvers.load(std::memory_order_acquire); }
    static void Release() { g_handOvers.fetch_add(1, std::memory_order_release); }
};
}  // namespace handover

template <class F>
class THandedOver {
  public:
    explicit THandedOver(F f) : f_(std::move(f)) {}
    void operator()() {
        handover::TMark::Acquire();
        f_();
        handover::TMark::Release();
    }

  private:
    F f_;
    // After f_: made once f_ stands in place, and gone before f_ goes.
    handover::TMark mark_;
};

// For a callable that Qt carries to another thread: a queued invokeMethod or
// QThreadPool::start.
template <class F>
THandedOver<F> HandedOver(F f) {
    return THandedOver<F>(std::move(f));
}

}  // namespace device
