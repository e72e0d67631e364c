#pragma once
// TNonVisComp: the one module that owns the serial port `comport`, the
// receive accumulator `RxBuffer` and the transmit buffer `TxBuffer`.
//
// RxBuffer is filled on the port's polling thread and read by the worker
// without a lock: the bytes are written before the receive count is published
// (release), and readers look only below a count they have loaded (acquire).
// Appends and ClearReceive exclude each other, so a chunk arriving during a
// clear can neither be half-cleared nor resurrect the old count.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

#include "serial/CPDrv.h"

namespace serial {

inline constexpr int RxBufferSize = 5121;
inline constexpr int TxBufferSize = 122881;
inline constexpr int RxHighIndex = RxBufferSize - 1;  // 5120
inline constexpr int TxHighIndex = TxBufferSize - 1;  // 122880

// A USB adapter's longest pause within one answer (adapterQuietGap below).
inline constexpr std::chrono::milliseconds AdapterQuietGap{200};

class TNonVisComp {
  public:
    // Must be created on the thread that runs the event loop (the polling
    // timer lives there). The first instance becomes Instance().
    TNonVisComp();
    ~TNonVisComp();
    TNonVisComp(const TNonVisComp&) = delete;
    TNonVisComp& operator=(const TNonVisComp&) = delete;

    static TNonVisComp& Instance();

    // How long the destructor waits for a running operation to let go of
    // the port before it closes the port anyway.
    static constexpr std::chrono::seconds ShutdownWait{5};

    TCommPortDriver comport;
    std::array<std::uint8_t, RxBufferSize> RxBuffer{};
    std::array<std::uint8_t, TxBufferSize> TxBuffer{};

    // Set when an operation ends while an answer to it may still come, to
    // how long its unanswered try waited. The port is closed between
    // operations, but the instrument does not know that: such an answer can
    // reach the next operation's request, and no length tells an
    // identification reply from a statistics one. Only the port's owner
    // reads or writes it; claiming the port orders those accesses.
    std::optional<std::chrono::microseconds> lateAnswerWait;

    // Where and when an operation last ended on a whole reply with nothing
    // after it: no answer of this program's can still be on its way there.
    // Only the port's owner reads or writes it.
    struct TQuietEnd {
        QString port;
        std::chrono::steady_clock::time_point at;
    };
    std::optional<TQuietEnd> quietEnd;

    // The longest pause a USB adapter makes within one answer. A retry lets
    // the line fall quiet for at least this long, whatever the polling: a
    // port polled every 100 ms lets such pauses pass unseen, a faster one
    // would take them for the end of the answer. A line without an adapter
    // (the simulator's terminal) has none.
    std::chrono::milliseconds adapterQuietGap{AdapterQuietGap};

    // Number of bytes received since the last clear (acquire load). It may
    // exceed RxBufferSize when more arrived than fits; only the bytes below
    // RxBufferSize are stored.
    std::int32_t ReceiveCount() const { return rxCount_.load(std::memory_order_acquire); }

    void ClearReceive();
    void comportReceiveData(TCommPortDriver* sender, const std::uint8_t* data, std::uint32_t size);
    void SendFrame(int length);

    // One device operation at a time: a worker claims the port for its run.
    // Claiming fails while another owner holds it.
    bool TryClaimPort(const void* owner);
    void ReleasePort(const void* owner);
    bool PortClaimed() const;
    // Closes the port unless an operation holds it (the end-of-worker step).
    void DisconnectIfUnclaimed();
    // Set while the module is being destroyed: a running operation gives up
    // at its next wait instead of touching buffers that are going away.
    bool ShuttingDown() const { return shuttingDown_.load(std::memory_order_acquire); }

  private:
    std::atomic<std::int32_t> rxCount_{0};
    std::atomic<bool> shuttingDown_{false};
    std::mutex rxMutex_;
    mutable std::mutex ownerMutex_;
    std::condition_variable released_;  // signalled when the owner lets go
    const void* owner_ = nullptr;
};

}  // namespace serial
