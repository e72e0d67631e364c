#include "serial/UnitNVC.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace serial {

namespace {
std::atomic<TNonVisComp*> g_instance{nullptr};
}

TNonVisComp::TNonVisComp() {
    comport.SetPort(pnCustom);
    comport.SetPortName(platform::PortPathFromText(platform::DefaultPortText()));
    comport.SetBaudRate(brCustom);
    comport.SetBaudRateValue(115200);
    comport.SetHwFlow(hfNONE);
    comport.SetInBufSize(5120);
    comport.SetOutBufSize(1024);
    comport.SetPollingDelay(100);
    comport.SetEnableDTROnOpen(false);
    comport.SetOutputTimeout(100);
    comport.SetInputTimeout(100);
    comport.OnReceiveData = [this](TCommPortDriver* sender, const std::uint8_t* data,
                                   std::uint32_t size) { comportReceiveData(sender, data, size); };
    TNonVisComp* expected = nullptr;
    g_instance.compare_exchange_strong(expected, this);
}

TNonVisComp::~TNonVisComp() {
    // A worker still running (the program closed during a download) ends at
    // its next wait once it sees the flag; its release of the port wakes
    // this wait, which is bounded in case it never comes.
    shuttingDown_.store(true, std::memory_order_release);
    {
        std::unique_lock lock(ownerMutex_);
        released_.wait_for(lock, ShutdownWait, [this] { return owner_ == nullptr; });
    }
    comport.OnReceiveData = nullptr;
    comport.Disconnect();
    TNonVisComp* self = this;
    g_instance.compare_exchange_strong(self, nullptr);
}

TNonVisComp& TNonVisComp::Instance() { return *g_instance.load(); }

void TNonVisComp::ClearReceive() {
    std::lock_guard lock(rxMutex_);
    rxCount_.store(0, std::memory_order_release);
    std::memset(RxBuffer.data(), 0, RxBuffer.size());
}

void TNonVisComp::comportReceiveData(TCommPortDriver*, const std::uint8_t* data,
                                     std::uint32_t size) {
    std::lock_guard lock(rxMutex_);
    const std::int32_t count = rxCount_.load(std::memory_order_relaxed);
    if (count >= RxBufferSize) return;
    // Keep what fits; the count still grows by the whole chunk so that an
    // overlong reply can never pass for a complete one.
    const auto fits =
        std::min<std::uint32_t>(size, static_cast<std::uint32_t>(RxBufferSize - count));
    std::memcpy(RxBuffer.data() + count, data, fits);
    const std::int64_t raised = std::min<std::int64_t>(std::int64_t{count} + size,
                                                       std::numeric_limits<std::int32_t>::max());
    rxCount_.store(static_cast<std::int32_t>(raised), std::memory_order_release);
}

void TNonVisComp::SendFrame(int length) {
    comport.FlushBuffers(true, true);
    length = std::clamp(length, 0, TxBufferSize);
    comport.SendData(TxBuffer.data(), static_cast<std::uint32_t>(length));
}

bool TNonVisComp::TryClaimPort(const void* owner) {
    std::lock_guard lock(ownerMutex_);
    if (owner_ != nullptr && owner_ != owner) return false;
    owner_ = owner;
    return true;
}

void TNonVisComp::ReleasePort(const void* owner) {
    // Notified under the lock: the destructor may go on (and destroy the
    // condition) as soon as it sees the port free.
    std::lock_guard lock(ownerMutex_);
    if (owner_ != owner) return;
    owner_ = nullptr;
    released_.notify_all();
}

bool TNonVisComp::PortClaimed() const {
    std::lock_guard lock(ownerMutex_);
    return owner_ != nullptr;
}

void TNonVisComp::DisconnectIfUnclaimed() {
    std::lock_guard lock(ownerMutex_);
    if (owner_ == nullptr) comport.Disconnect();
}

}  // namespace serial
