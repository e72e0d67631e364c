#include "serial/CPDrv.h"

#include <algorithm>

#include "serial/LinkLog.h"
#include "serial/PollingTimer.h"
#include "serial/Transcript.h"

namespace serial {

namespace {
constexpr std::uint32_t kMinBufSize = 128;
constexpr std::uint32_t kMaxBufSize = 8192;
constexpr std::uint16_t kMinPollingDelay = 5;

TPortError PortError(const QString& path, const platform::SystemError& error) {
    return {path, error.code, QString::fromUtf8(error.text)};
}
}  // namespace

std::uint32_t BaudRateOf(TBaudRate rate) {
    static constexpr std::uint32_t rates[] = {0,     110,    300,    600,   1200,  2400,
                                              4800,  9600,   14400,  19200, 38400, 56000,
                                              57600, 115200, 128000, 256000};
    return rates[rate];
}

TCommPortDriver::TCommPortDriver()
    : scratch_(inBufSize_, 0), poller_(std::make_unique<TPollingTimer>([this] { PollOnce(); })) {}

TCommPortDriver::~TCommPortDriver() {
    Disconnect();
    poller_.reset();  // stops the timer and drops queued starts and stops
}

bool TCommPortDriver::Connected() const {
    std::lock_guard lock(m_);
    return handle_ != platform::kInvalidHandle;
}

bool TCommPortDriver::Connect() {
    std::uint16_t period;
    {
        std::lock_guard lock(m_);
        if (handle_ != platform::kInvalidHandle) return true;
        platform::SystemError error;
        handle_ = platform::Open(portName_.toLocal8Bit().constData(), error);
        openError_ = PortError(portName_, error);
        if (handle_ == platform::kInvalidHandle) {
            qCDebug(lcLink) << "open failed:" << portName_ << openError_.code << openError_.text;
            return false;
        }
        if (!ApplySettingsLocked()) {
            openError_ = PortError(portName_, platform::LastError());
            qCDebug(lcLink) << "line settings refused:" << portName_ << openError_.text;
            platform::Close(handle_);
            handle_ = platform::kInvalidHandle;
            return false;
        }
        qCDebug(lcLink) << "opened" << portName_ << "at" << baudRateValue_ << "baud";
        period = pollingDelay_;
    }
    deviceLost_.store(false, std::memory_order_release);
    poller_->Start(period);
    return true;
}

TPortError TCommPortDriver::LastOpenError() const {
    std::lock_guard lock(m_);
    return openError_;
}

bool TCommPortDriver::Disconnect() {
    {
        std::lock_guard lock(m_);
        if (handle_ == platform::kInvalidHandle) return false;
        platform::Close(handle_);
        handle_ = platform::kInvalidHandle;
        qCDebug(lcLink) << "closed" << portName_;
    }
    if (poller_) poller_->Stop();
    return true;
}

bool TCommPortDriver::ApplySettingsLocked() {
    platform::LineSettings s;
    s.baudRate = baudRateValue_;
    s.dtrOn = enableDtrOnOpen_;
    s.rtsOn = hwFlow_ == hfNONERTSON;
    s.rtsCts = hwFlow_ == hfRTSCTS;
    s.xonXoff = swFlow_ == sfXONXOFF;
    s.xonXoffLimit = std::min<int>(static_cast<int>(inBufSize_ / 4), platform::MaxXonXoffLimit());
    s.byteSize = 5 + dataBits_;
    s.parity = parity_;
    s.stopBits = stopBits_;
    if (!platform::Apply(handle_, s)) return false;
    if (!platform::Purge(handle_, true, true)) return false;
    packetStart_ = 0xFFFFFFFFu;
    return platform::SetQueueSizes(handle_, inBufSize_, outBufSize_);
}

void TCommPortDriver::ApplyIfOpenLocked() {
    if (handle_ != platform::kInvalidHandle) ApplySettingsLocked();
}

int TCommPortDriver::XonXoffLimit() const {
    std::lock_guard lock(m_);
    return std::min<int>(static_cast<int>(inBufSize_ / 4), platform::MaxXonXoffLimit());
}

TPortNumber TCommPortDriver::Port() const {
    std::lock_guard lock(m_);
    return port_;
}

void TCommPortDriver::SetPort(TPortNumber n) {
    std::lock_guard lock(m_);
    if (handle_ != platform::kInvalidHandle) return;
    port_ = n;
    if (n != pnCustom) portName_ = QStringLiteral("\\\\.\\COM%1").arg(static_cast<int>(n));
}

QString TCommPortDriver::PortName() const {
    std::lock_guard lock(m_);
    return portName_;
}

void TCommPortDriver::SetPortName(const QString& name) {
    std::lock_guard lock(m_);
    if (handle_ != platform::kInvalidHandle) return;
    port_ = pnCustom;
    portName_ = name;
}

TBaudRate TCommPortDriver::BaudRate() const {
    std::lock_guard lock(m_);
    return baudRate_;
}

void TCommPortDriver::SetBaudRate(TBaudRate rate) {
    std::lock_guard lock(m_);
    baudRate_ = rate;
    if (rate != brCustom) baudRateValue_ = BaudRateOf(rate);
    ApplyIfOpenLocked();
}

std::uint32_t TCommPortDriver::BaudRateValue() const {
    std::lock_guard lock(m_);
    return baudRateValue_;
}

void TCommPortDriver::SetBaudRateValue(std::uint32_t value) {
    std::lock_guard lock(m_);
    baudRate_ = brCustom;
    baudRateValue_ = value;
    ApplyIfOpenLocked();
}

// A locked getter and setter; line settings are applied at once while open.
#define TOLMARIK_PROPERTY(Type, Getter, Setter, field, afterSet) \
    Type TCommPortDriver::Getter() const {                       \
        std::lock_guard lock(m_);                                \
        return field;                                            \
    }                                                            \
    void TCommPortDriver::Setter(Type v) {                       \
        std::lock_guard lock(m_);                                \
        field = v;                                               \
        afterSet;                                                \
    }

TOLMARIK_PROPERTY(TDataBits, DataBits, SetDataBits, dataBits_, ApplyIfOpenLocked())
TOLMARIK_PROPERTY(TStopBits, StopBits, SetStopBits, stopBits_, ApplyIfOpenLocked())
TOLMARIK_PROPERTY(TParity, Parity, SetParity, parity_, ApplyIfOpenLocked())
TOLMARIK_PROPERTY(THwFlowControl, HwFlow, SetHwFlow, hwFlow_, ApplyIfOpenLocked())
TOLMARIK_PROPERTY(TSwFlowControl, SwFlow, SetSwFlow, swFlow_, ApplyIfOpenLocked())
TOLMARIK_PROPERTY(std::int16_t, PacketSize, SetPacketSize, packetSize_, (void)0)
TOLMARIK_PROPERTY(std::int32_t, PacketTimeout, SetPacketTimeout, packetTimeout_, (void)0)
TOLMARIK_PROPERTY(TPacketMode, PacketMode, SetPacketMode, packetMode_, (void)0)
TOLMARIK_PROPERTY(bool, EnableDTROnOpen, SetEnableDTROnOpen, enableDtrOnOpen_, (void)0)
TOLMARIK_PROPERTY(std::uint16_t, OutputTimeout, SetOutputTimeout, outputTimeout_, (void)0)
TOLMARIK_PROPERTY(std::uint32_t, InputTimeout, SetInputTimeout, inputTimeout_, (void)0)
TOLMARIK_PROPERTY(bool, CheckLineStatus, SetCheckLineStatus, checkLineStatus_, (void)0)
#undef TOLMARIK_PROPERTY

std::uint32_t TCommPortDriver::InBufSize() const {
    std::lock_guard lock(m_);
    return inBufSize_;
}

void TCommPortDriver::SetInBufSize(std::uint32_t size) {
    std::lock_guard lock(m_);
    if (handle_ != platform::kInvalidHandle) return;
    inBufSize_ = std::clamp(size, kMinBufSize, kMaxBufSize);
    scratch_.assign(inBufSize_, 0);
}

std::uint32_t TCommPortDriver::OutBufSize() const {
    std::lock_guard lock(m_);
    return outBufSize_;
}

void TCommPortDriver::SetOutBufSize(std::uint32_t size) {
    std::lock_guard lock(m_);
    if (handle_ != platform::kInvalidHandle) return;
    outBufSize_ = std::clamp(size, kMinBufSize, kMaxBufSize);
}

std::uint16_t TCommPortDriver::PollingDelay() const {
    std::lock_guard lock(m_);
    return pollingDelay_;
}

void TCommPortDriver::SetPollingDelay(std::uint16_t ms) {
    {
        std::lock_guard lock(m_);
        ms = std::max(ms, kMinPollingDelay);
        if (ms == pollingDelay_) return;
        pollingDelay_ = ms;
        if (handle_ == platform::kInvalidHandle) return;
    }
    poller_->Start(ms);  // restarts with the new period
}

void TCommPortDriver::SetTranscript(TTranscript* transcript) {
    transcript_.store(transcript, std::memory_order_release);
}

void TCommPortDriver::PausePolling() {
    std::lock_guard lock(m_);
    ++suspended_;
}

void TCommPortDriver::ResumePolling() {
    std::lock_guard lock(m_);
    if (suspended_ > 0) --suspended_;
}

bool TCommPortDriver::FlushBuffers(bool input, bool output) {
    std::lock_guard lock(m_);
    if (handle_ == platform::kInvalidHandle) return false;
    if (!platform::Purge(handle_, input, output)) return false;
    packetStart_ = 0xFFFFFFFFu;
    return true;
}

std::uint16_t TCommPortDriver::OutFreeSpace() {
    std::lock_guard lock(m_);
    if (handle_ == platform::kInvalidHandle) return 65535;
    const int queued = std::max(platform::OutputQueued(handle_), 0);
    return static_cast<std::uint16_t>(static_cast<int>(outBufSize_) - queued);
}

std::uint32_t TCommPortDriver::GetLineStatus() {
    std::lock_guard lock(m_);
    std::uint32_t lines = 0;
    if (handle_ == platform::kInvalidHandle || !platform::ModemLines(handle_, lines)) return 0;
    return lines;
}

std::uint32_t TCommPortDriver::SendData(const std::uint8_t* data, std::uint32_t size) {
    return SendDataEx(data, size, OutputTimeout());
}

std::uint32_t TCommPortDriver::SendDataEx(const std::uint8_t* data, std::uint32_t size,
                                          std::uint32_t timeoutMs) {
    if (!Connected()) return 0;
    std::uint32_t total = 0;
    std::uint32_t lastProgress = platform::TickCount();
    const bool checkLines = CheckLineStatus();
    while (total < size) {
        bool progressed = false;
        const std::uint16_t free = OutFreeSpace();
        // A free space that wrapped below zero reads as a large 16-bit value;
        // the driver itself then takes only what fits.
        if (free > 0) {
            if (checkLines && GetLineStatus() == 0) break;
            const std::uint32_t chunk = std::min<std::uint32_t>(size - total, free);
            long written;
            {
                std::lock_guard lock(m_);
                if (handle_ == platform::kInvalidHandle) break;
                written = platform::Write(handle_, data + total, chunk);
            }
            if (written < 0) {  // the device is gone: no progress can follow
                deviceLost_.store(true, std::memory_order_release);
                break;
            }
            if (written > 0) {
                if (TTranscript* t = transcript_.load(std::memory_order_acquire))
                    t->Record(TTranscript::Sent, data + total, static_cast<std::uint32_t>(written));
                total += static_cast<std::uint32_t>(written);
                lastProgress = platform::TickCount();
                progressed = true;
            }
        }
        if (!progressed && platform::TickCount() - lastProgress > timeoutMs) break;
    }
    return total;
}

void TCommPortDriver::PollOnce() {
    std::uint32_t got = 0;
    bool packetMode;
    {
        std::lock_guard lock(m_);
        if (handle_ == platform::kInvalidHandle || suspended_ > 0) return;
        packetMode = packetSize_ > 0;
        const auto status = platform::ReadWaiting(handle_, scratch_.data(),
                                                  static_cast<std::uint32_t>(scratch_.size()), got);
        if (status == platform::ReadStatus::Failed)
            deviceLost_.store(true, std::memory_order_release);
        if (status != platform::ReadStatus::Ok) got = 0;
    }
    if (got > 0)
        if (TTranscript* t = transcript_.load(std::memory_order_acquire))
            t->Record(TTranscript::Received, scratch_.data(), got);
    if (packetMode)
        DeliverPackets(scratch_.data(), got);
    else if (got > 0 && OnReceiveData)
        OnReceiveData(this, scratch_.data(), got);
    pollTicks_.fetch_add(1, std::memory_order_release);
}

void TCommPortDriver::DeliverPackets(const std::uint8_t* data, std::uint32_t size) {
    std::int16_t packetSize;
    std::int32_t timeout;
    TPacketMode mode;
    {
        std::lock_guard lock(m_);
        packetSize = packetSize_;
        timeout = packetTimeout_;
        mode = packetMode_;
        if (size > 0 && packet_.empty()) packetStart_ = platform::TickCount();
    }
    packet_.insert(packet_.end(), data, data + size);
    const auto whole = static_cast<std::size_t>(packetSize);
    std::size_t offset = 0;
    while (packet_.size() - offset >= whole) {
        if (OnReceivePacket) OnReceivePacket(this, packet_.data() + offset, packetSize);
        offset += whole;
    }
    packet_.erase(packet_.begin(), packet_.begin() + static_cast<std::ptrdiff_t>(offset));
    if (offset > 0 && !packet_.empty()) packetStart_ = platform::TickCount();
    if (!packet_.empty() && timeout >= 0 &&
        platform::TickCount() - packetStart_ >= static_cast<std::uint32_t>(timeout)) {
        if (mode == pmPass && OnReceivePacket)
            OnReceivePacket(this, packet_.data(), static_cast<std::uint32_t>(packet_.size()));
        packet_.clear();
        packetStart_ = 0xFFFFFFFFu;
    }
}

}  // namespace serial
