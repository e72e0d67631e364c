#pragma once
// An instrument written from the reply layouts alone, on a pseudo-terminal of
// its own, answered by a thread: byte 1 of every long reply is zero or a value
// no request carries, statistics replies stop right after their last field
// (45 bytes), identification replies run on after the settings block. Its
// track memory is laid out from a list of flights, with erased memory
// wherever no flight lies. POSIX only.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "device/TrackLists.h"
#include "serial/BCC.h"
#include "serial/UnitNVC.h"

namespace standin {

inline void Put16(std::vector<std::uint8_t>& f, std::size_t at, unsigned v) {
    f[at] = std::uint8_t(v);
    f[at + 1] = std::uint8_t(v >> 8);
}

inline void PutFloat(std::vector<std::uint8_t>& f, std::size_t at, float v) {
    std::memcpy(&f[at], &v, sizeof v);
}

struct TFlight {
    std::uint16_t number;
    std::uint16_t firstSector;
    int sectors;
    device::TrackTime start;
};

inline device::TrackTime At(int year, int month, int day, int hour, int minute) {
    device::TrackTime t = 0;
    device::MakeTrackTime(year, month, day, hour, minute, 5, t);
    return t;
}

inline QByteArray RecordLine(device::TrackTime time, const std::uint8_t* record, int size) {
    return QByteArray::fromStdString(device::TimeText(time)) + ' ' +
           QByteArray(reinterpret_cast<const char*>(record), size).toHex() + '\n';
}

// A download's lists as text, one line per record: GPS records, then sensor
// records, each with its time stamp.
inline QByteArray ListsText(const device::TrackSnapshot& s) {
    QByteArray gps, eng;
    for (const auto& e : s.gps) gps += RecordLine(e.time, e.record.data(), 12);
    for (const auto& e : s.eng) eng += RecordLine(e.time, e.record.data(), 6);
    return gps + eng;
}

// Track memory of `sectorCount` sectors holding `flights` (in memory order,
// the older first), and for each flight the lists text a download must give.
struct TMemory {
    std::vector<TFlight> flights;
    std::vector<std::uint8_t> bytes;
    std::vector<QByteArray> expected;

    TMemory(std::vector<TFlight> laidOut, int sectorCount)
        : flights(std::move(laidOut)), bytes(std::size_t(sectorCount) * 4096, 0xFF) {
        for (std::size_t f = 0; f < flights.size(); ++f) {
            const TFlight& flight = flights[f];
            QByteArray gps, eng;
            for (int s = 0; s < flight.sectors; ++s) {
                const std::size_t base = std::size_t(flight.firstSector + s) * 4096;
                device::TrackTime time = flight.start + s * 600;
                const QDateTime header = QDateTime::fromSecsSinceEpoch(time, Qt::UTC);
                Put16(bytes, base + 4, flight.number);
                Put16(bytes, base + 6, unsigned(flight.firstSector + s));
                Put16(bytes, base + 8, unsigned(header.date().year()));
                bytes[base + 10] = std::uint8_t(header.date().month());
                bytes[base + 11] = std::uint8_t(header.date().day());
                bytes[base + 12] = std::uint8_t(header.time().hour());
                bytes[base + 13] = std::uint8_t(header.time().minute());
                bytes[base + 14] = std::uint8_t(header.time().second());
                // The last sector is half full, erased after its records; the
                // others run to within a record of their end.
                const std::size_t end = s + 1 == flight.sectors ? 2000 : 4096;
                for (std::size_t pos = 256, i = 0;; ++i, ++time) {
                    const std::uint8_t kind = i % 3 == 2 ? 6 : 12;
                    if (pos + kind > end) break;
                    const std::size_t at = base + pos;
                    bytes[at] = kind;
                    bytes[at + 1] = std::uint8_t(i * 7 + f * 50);
                    if (kind == 12) {
                        // A plausible fix, so that every file can be written.
                        Put16(bytes, at + 2, unsigned(800 + i % 500));
                        PutFloat(bytes, at + 4, 45.0f + float(f) * 0.1f + float(i) * 1e-4f);
                        PutFloat(bytes, at + 8, 7.0f + float(s) * 0.01f + float(i) * 1e-4f);
                    } else {
                        for (std::size_t k = 2; k < kind; ++k)
                            bytes[at + k] = std::uint8_t(i * 3 + k + f * 50);
                    }
                    QByteArray& list = kind == 12 ? gps : eng;
                    list += RecordLine(time, &bytes[at], kind);
                    pos += kind;
                }
            }
            expected.push_back(gps + eng);
        }
    }
};

// Answers identification, statistics, page and sector requests from `memory`.
class TStandIn {
  public:
    explicit TStandIn(const TMemory& memory) : memory_(memory) {}
    ~TStandIn() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
    }

    bool Start() {
        // Not blocking: a reply the program no longer reads must not hold
        // the thread past its stop.
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
        const char* name = ptsname(master_);
        if (!name) return false;
        port_ = QString::fromLocal8Bit(name);
        termios t{};
        if (tcgetattr(master_, &t) != 0) return false;
        cfmakeraw(&t);
        if (tcsetattr(master_, TCSANOW, &t) != 0) return false;
        // Held open so that the terminal stays up between the program's opens.
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (slave_ < 0 || tcgetattr(slave_, &t) != 0) return false;
        cfmakeraw(&t);
        if (tcsetattr(slave_, TCSANOW, &t) != 0) return false;
        thread_ = std::thread([this] { Run(); });
        return true;
    }
    QString Port() const { return port_; }

    // Starts and points `link` here, polling faster than the program's
    // 100 ms so that the downloads stay short, and waiting for no adapter's
    // pauses: the terminal has no adapter.
    bool StartFor(serial::TNonVisComp& link) {
        if (!Start()) return false;
        link.comport.SetPortName(port_);
        link.comport.SetPollingDelay(5);
        link.adapterQuietGap = std::chrono::milliseconds(0);
        return true;
    }

  private:
    // Zero for odd keys, a value no request carries for even ones. Taken from
    // what is asked, not from the count of replies, so that a reply refused
    // for its byte 1 is refused at every try, whatever the timing.
    static std::uint8_t Byte1(std::size_t key) {
        return key % 2 ? 0 : std::uint8_t(0xA0 + key % 32);
    }

    static std::vector<std::uint8_t> LongFrame(int length, std::uint8_t byte1) {
        std::vector<std::uint8_t> f(std::size_t(length), 0);
        f[0] = 0x14;
        f[1] = byte1;
        f[2] = std::uint8_t(length >> 8);
        f[3] = std::uint8_t(length);
        return f;
    }

    void Run() {
        std::vector<std::uint8_t> in;
        std::uint8_t chunk[512];
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) continue;
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n > 0) in.insert(in.end(), chunk, chunk + n);
            for (;;) {
                if (!in.empty() && in[0] != 0x7E && in[0] != 0x14) {
                    in.erase(in.begin());
                    continue;
                }
                const std::size_t need = in.empty() ? 1 : in[0] == 0x7E ? 10 : 9;
                if (in.size() < need) break;
                Answer(std::vector<std::uint8_t>(in.begin(), in.begin() + long(need)));
                in.erase(in.begin(), in.begin() + long(need));
            }
        }
    }

    void Answer(const std::vector<std::uint8_t>& request) {
        std::vector<std::uint8_t> reply;
        if (request[0] == 0x7E) {
            reply = LongFrame(159 + 11, Byte1(0));
            Put16(reply, 4, 103);
            Put16(reply, 6, 512);
            for (std::size_t i = 8; i < 158; ++i) reply[i] = std::uint8_t(i);
            std::fill(reply.begin() + 158, reply.end(), 0xEE);
        } else if (request[1] == 3) {
            // Only the last flight and the one before it.
            const std::size_t index = request[4];
            reply = LongFrame(45, Byte1(index));
            if (index < 2 && index < memory_.flights.size()) {
                const TFlight& flight = memory_.flights[memory_.flights.size() - 1 - index];
                const QDateTime start = QDateTime::fromSecsSinceEpoch(flight.start, Qt::UTC);
                Put16(reply, 8, flight.number);
                Put16(reply, 10, flight.firstSector);
                Put16(reply, 22, unsigned(start.date().year()));
                reply[24] = std::uint8_t(start.date().month());
                reply[25] = std::uint8_t(start.date().day());
                reply[26] = std::uint8_t(start.time().hour());
                reply[27] = std::uint8_t(start.time().minute());
                Put16(reply, 30, unsigned(flight.sectors * 10));
                Put16(reply, 42, 123);
            }
        } else {
            const std::size_t size = request[1] == 4 ? 4096 : 256;
            const std::size_t address = std::size_t(request[4]) | std::size_t(request[5]) << 8 |
                                        std::size_t(request[6]) << 16 |
                                        std::size_t(request[7]) << 24;
            reply = LongFrame(int(size) + 5, Byte1(address / size));
            for (std::size_t i = 0; i < size; ++i)
                reply[4 + i] =
                    address + i < memory_.bytes.size() ? memory_.bytes[address + i] : 0xFF;
        }
        const int last = int(reply.size()) - 1;
        reply[std::size_t(last)] = serial::Crc8(reply.data(), last, last);
        for (std::size_t sent = 0; sent < reply.size() && !stop_;) {
            const ssize_t n = ::write(master_, reply.data() + sent, reply.size() - sent);
            if (n > 0)
                sent += std::size_t(n);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    const TMemory& memory_;
    int master_ = -1;
    int slave_ = -1;
    QString port_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace standin
