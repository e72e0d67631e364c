#pragma once
// TCommPortDriver: the serial port component. It opens a device by path, sets
// the line, polls the driver's input queue on a timer owned by the thread that
// created the component, hands each batch to OnReceiveData, and sends with a
// progress time-out.
//
// Threads: construct it on a thread that runs an event loop (the GUI thread);
// its polling timer ticks there. Connect, Disconnect, FlushBuffers and
// SendData may be called from a worker thread; Connect and Disconnect start
// and stop the timer on its own thread.
#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "serial/PortPlatform.h"

namespace serial {

class TPollingTimer;
class TTranscript;

enum TPortNumber : std::uint8_t {
    pnCustom,
    pnCOM1,
    pnCOM2,
    pnCOM3,
    pnCOM4,
    pnCOM5,
    pnCOM6,
    pnCOM7,
    pnCOM8,
    pnCOM9,
    pnCOM10,
    pnCOM11,
    pnCOM12,
    pnCOM13,
    pnCOM14,
    pnCOM15,
    pnCOM16
};
enum TBaudRate : std::uint8_t {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TDataBits : std::uint8_t { db5BITS, db6BITS, db7BITS, db8BITS };
enum TStopBits : std::uint8_t { sb1BITS, sb1HALFBITS, sb2BITS };
enum TParity : std::uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum THwFlowControl : std::uint8_t { hfNONE, hfNONERTSON, hfRTSCTS };
enum TSwFlowControl : std::uint8_t { sfNONE, sfXONXOFF };
enum TPacketMode : std::uint8_t { pmDiscard, pmPass };

// The baud rate an enumerator stands for; 0 for brCustom.
std::uint32_t BaudRateOf(TBaudRate rate);

// Why the last Connect failed: the port's path, the system's code (errno, or
// GetLastError on Windows) and its text in the user's language. Empty after a
// Connect that succeeded.
struct TPortError {
    QString path;
    int code = 0;
    QString text;
    bool IsEmpty() const { return code == 0 && text.isEmpty(); }
};

class TCommPortDriver;
using TReceiveDataEvent =
    std::function<void(TCommPortDriver* sender, const std::uint8_t* data, std::uint32_t size)>;
using TReceivePacketEvent =
    std::function<void(TCommPortDriver* sender, const std::uint8_t* packet, std::uint32_t size)>;

class TCommPortDriver {
  public:
    TCommPortDriver();
    ~TCommPortDriver();
    TCommPortDriver(const TCommPortDriver&) = delete;
    TCommPortDriver& operator=(const TCommPortDriver&) = delete;

    bool Connected() const;
    bool Connect();
    bool Disconnect();
    // True once a read or a write found the device gone (hang-up, adapter
    // pulled), until the next Connect. Safe from any thread.
    bool DeviceLost() const { return deviceLost_.load(std::memory_order_acquire); }
    TPortError LastOpenError() const;

    TPortNumber Port() const;
    void SetPort(TPortNumber n);
    QString PortName() const;
    void SetPortName(const QString& name);

    TBaudRate BaudRate() const;
    void SetBaudRate(TBaudRate rate);
    std::uint32_t BaudRateValue() const;
    void SetBaudRateValue(std::uint32_t value);
    TDataBits DataBits() const;
    void SetDataBits(TDataBits v);
    TStopBits StopBits() const;
    void SetStopBits(TStopBits v);
    TParity Parity() const;
    void SetParity(TParity v);
    THwFlowControl HwFlow() const;
    void SetHwFlow(THwFlowControl v);
    TSwFlowControl SwFlow() const;
    void SetSwFlow(TSwFlowControl v);

    std::uint32_t InBufSize() const;
    void SetInBufSize(std::uint32_t size);
    std::uint32_t OutBufSize() const;
    void SetOutBufSize(std::uint32_t size);

    std::int16_t PacketSize() const;
    void SetPacketSize(std::int16_t size);
    std::int32_t PacketTimeout() const;
    void SetPacketTimeout(std::int32_t ms);
    TPacketMode PacketMode() const;
    void SetPacketMode(TPacketMode mode);

    std::uint16_t PollingDelay() const;
    void SetPollingDelay(std::uint16_t ms);
    bool EnableDTROnOpen() const;
    void SetEnableDTROnOpen(bool on);
    std::uint16_t OutputTimeout() const;
    void SetOutputTimeout(std::uint16_t ms);
    std::uint32_t InputTimeout() const;
    void SetInputTimeout(std::uint32_t ms);
    bool CheckLineStatus() const;
    void SetCheckLineStatus(bool on);

    // While the suspension count is above 0 the polling ticks do nothing.
    void PausePolling();
    void ResumePolling();

    bool FlushBuffers(bool input, bool output);
    std::uint16_t OutFreeSpace();
    std::uint32_t SendData(const std::uint8_t* data, std::uint32_t size);
    std::uint32_t SendDataEx(const std::uint8_t* data, std::uint32_t size, std::uint32_t timeoutMs);
    std::uint32_t GetLineStatus();

    // Records every byte written and every batch read from now on; nullptr
    // stops. The transcript must outlive the component or be taken back.
    void SetTranscript(TTranscript* transcript);

    // XON/XOFF limit the line settings use for the current InBufSize.
    int XonXoffLimit() const;

    TReceiveDataEvent OnReceiveData;
    TReceivePacketEvent OnReceivePacket;

    // One polling tick, as the timer runs it (public for tests that drive it).
    void PollOnce();
    // Ticks that have read the port since it was made, each counted after it
    // has delivered its bytes: a waiter can tell a silent line from late ticks.
    std::uint64_t PollTicks() const { return pollTicks_.load(std::memory_order_acquire); }

  private:
    bool ApplySettingsLocked();
    void ApplyIfOpenLocked();
    void DeliverPackets(const std::uint8_t* data, std::uint32_t size);

    mutable std::mutex m_;
    platform::Handle handle_ = platform::kInvalidHandle;
    TPortError openError_;
    TPortNumber port_ = pnCOM2;
    QString portName_ = QStringLiteral("\\\\.\\COM2");
    TBaudRate baudRate_ = br9600;
    std::uint32_t baudRateValue_ = 9600;
    TDataBits dataBits_ = db8BITS;
    TStopBits stopBits_ = sb1BITS;
    TParity parity_ = ptNONE;
    THwFlowControl hwFlow_ = hfNONERTSON;
    TSwFlowControl swFlow_ = sfNONE;
    std::uint32_t inBufSize_ = 2048;
    std::uint32_t outBufSize_ = 2048;
    std::int16_t packetSize_ = -1;
    std::int32_t packetTimeout_ = -1;
    TPacketMode packetMode_ = pmDiscard;
    std::uint16_t pollingDelay_ = 50;
    bool enableDtrOnOpen_ = true;
    std::uint16_t outputTimeout_ = 500;
    std::uint32_t inputTimeout_ = 200;
    bool checkLineStatus_ = false;
    int suspended_ = 0;

    std::vector<std::uint8_t> scratch_;  // touched by the polling thread only
    std::vector<std::uint8_t> packet_;
    std::atomic<std::uint32_t> packetStart_{0xFFFFFFFFu};
    std::atomic<bool> deviceLost_{false};
    std::atomic<std::uint64_t> pollTicks_{0};
    std::atomic<TTranscript*> transcript_{nullptr};

    std::unique_ptr<TPollingTimer> poller_;
};

}  // namespace serial
