// The worker against an instrument written from the reply layouts alone, on
// a pseudo-terminal of its own: byte 1 of every long reply is something other
// than the request's command, statistics replies stop right after their last
// field (45 bytes), identification replies run on after the settings block.
// Both flights in memory must come down whole, in both modes.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QTest>
#include <atomic>
#include <cstring>
#include <thread>

#include "WorkerHarness.h"
#include "device/Frames.h"
#include "device/TrackLists.h"
#include "serial/BCC.h"
#include "track/FlightStats.h"

using namespace device;

namespace {

void Put16(std::vector<std::uint8_t>& f, std::size_t at, unsigned v) {
    f[at] = std::uint8_t(v);
    f[at + 1] = std::uint8_t(v >> 8);
}

std::vector<std::uint8_t> LongFrame(int length, std::uint8_t byte1) {
    std::vector<std::uint8_t> f(std::size_t(length), 0);
    f[0] = 0x14;
    f[1] = byte1;
    f[2] = std::uint8_t(length >> 8);
    f[3] = std::uint8_t(length);
    return f;
}

void Seal(std::vector<std::uint8_t>& f) {
    const int last = int(f.size()) - 1;
    f[std::size_t(last)] = serial::Crc8(f.data(), last, last);
}

struct TFlightLayout {
    std::uint16_t number;
    std::uint16_t firstSector;
    int sectors;
    int hour;
};

// The flights, the older first, and erased memory after them.
constexpr TFlightLayout kFlights[] = {{41, 3, 2, 9}, {42, 5, 3, 14}};
constexpr std::size_t kMemorySize = 9 * 4096;

// Track memory laid out as the protocol describes it, and the list entries a
// download must give for each flight, as text: one line per record.
struct TMemory {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kMemorySize, 0xFF);
    QByteArray expected[2];

    TMemory() {
        for (int f = 0; f < 2; ++f) {
            const TFlightLayout& flight = kFlights[f];
            QByteArray gps, eng;
            for (int s = 0; s < flight.sectors; ++s) {
                const std::size_t base = std::size_t(flight.firstSector + s) * 4096;
                Put16(bytes, base + 4, flight.number);
                Put16(bytes, base + 6, unsigned(flight.firstSector + s));
                Put16(bytes, base + 8, 2025);
                bytes[base + 10] = 8;
                bytes[base + 11] = 17;
                bytes[base + 12] = std::uint8_t(flight.hour);
                bytes[base + 13] = std::uint8_t(s * 10);
                bytes[base + 14] = 5;
                TrackTime time = 0;
                MakeTrackTime(2025, 8, 17, flight.hour, s * 10, 5, time);
                // The last sector is half full, erased after its records; the
                // others run to their very last byte.
                const std::size_t end = s + 1 == flight.sectors ? 2000 : 4096;
                for (std::size_t pos = 256, i = 0;; ++i, ++time) {
                    const std::uint8_t kind = i % 3 == 2 ? 6 : 12;
                    if (pos + kind > end) break;
                    bytes[base + pos] = kind;
                    for (std::size_t k = 1; k < kind; ++k)
                        bytes[base + pos + k] = std::uint8_t(i * 7 + k + std::size_t(f) * 50);
                    QByteArray& list = kind == 12 ? gps : eng;
                    list += QByteArray::fromStdString(TimeText(time)) + ' ' +
                            QByteArray(reinterpret_cast<const char*>(&bytes[base + pos]), kind)
                                .toHex() +
                            '\n';
                    pos += kind;
                }
            }
            expected[f] = gps + eng;
        }
    }
};

QByteArray ListsText(const TrackSnapshot& s) {
    QByteArray gps, eng;
    for (const auto& e : s.gps)
        gps += QByteArray::fromStdString(TimeText(e.time)) + ' ' +
               QByteArray(reinterpret_cast<const char*>(e.record.data()), 12).toHex() + '\n';
    for (const auto& e : s.eng)
        eng += QByteArray::fromStdString(TimeText(e.time)) + ' ' +
               QByteArray(reinterpret_cast<const char*>(e.record.data()), 6).toHex() + '\n';
    return gps + eng;
}

// The stand-in: answers identification, statistics, page and sector requests.
class TStandIn {
  public:
    explicit TStandIn(const std::vector<std::uint8_t>& memory) : memory_(memory) {}
    ~TStandIn() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
    }

    bool Start() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
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

  private:
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
        ++replies_;
        // Odd byte 1: zero or a value no request carries.
        const std::uint8_t byte1 = replies_ % 2 ? 0 : std::uint8_t(0xA0 + replies_ % 32);
        std::vector<std::uint8_t> reply;
        if (request[0] == 0x7E) {
            reply = LongFrame(159 + 11, byte1);
            Put16(reply, 4, 103);
            Put16(reply, 6, 512);
            for (std::size_t i = 8; i < 158; ++i) reply[i] = std::uint8_t(i);
            std::fill(reply.begin() + 158, reply.end(), 0xEE);
        } else if (request[1] == 3) {
            const int index = request[4];
            reply = LongFrame(45, byte1);
            if (index < 2) {
                const TFlightLayout& flight = kFlights[1 - index];
                Put16(reply, 8, flight.number);
                Put16(reply, 10, flight.firstSector);
                Put16(reply, 22, 2025);
                reply[24] = 8;
                reply[25] = 17;
                reply[26] = std::uint8_t(flight.hour);
                Put16(reply, 30, unsigned(flight.sectors * 10));
                Put16(reply, 42, 123);
            }
        } else {
            const std::size_t size = request[1] == 4 ? 4096 : 256;
            const std::size_t address = std::size_t(request[4]) | std::size_t(request[5]) << 8 |
                                        std::size_t(request[6]) << 16 |
                                        std::size_t(request[7]) << 24;
            reply = LongFrame(int(size) + 5, byte1);
            for (std::size_t i = 0; i < size; ++i)
                reply[4 + i] = address + i < memory_.size() ? memory_[address + i] : 0xFF;
        }
        Seal(reply);
        for (std::size_t sent = 0; sent < reply.size() && !stop_;) {
            const ssize_t n = ::write(master_, reply.data() + sent, reply.size() - sent);
            if (n > 0)
                sent += std::size_t(n);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    const std::vector<std::uint8_t>& memory_;
    int master_ = -1;
    int slave_ = -1;
    QString port_;
    int replies_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace

class TestStandIn : public QObject {
    Q_OBJECT
    serial::TNonVisComp link_;
    TMemory memory_;
    std::unique_ptr<TStandIn> standIn_;
    testing::TRecorder recorder_;

    TDeviceIO* Make(std::uint8_t operation) {
        recorder_.posted.clear();
        auto* worker = TDeviceIO::Create(link_, recorder_.handle.Target());
        worker->Operation = operation;
        return worker;
    }

  private Q_SLOTS:
    void initTestCase() {
        standIn_ = std::make_unique<TStandIn>(memory_.bytes);
        QVERIFY(standIn_->Start());
        link_.comport.SetPortName(standIn_->Port());
        link_.comport.SetPollingDelay(5);
    }

    void identification_settingsBlockTakenWhole() {
        QVERIFY(testing::RunToEnd(Make(OP_IDENTIFY)));
        const std::vector<testing::Posted> expected{{ST_PORT_OPEN, 0}, {ST_IDENTIFIED, 103}};
        QCOMPARE(recorder_.posted, expected);
        QCOMPARE(int(LE16(link_.RxBuffer.data() + 6)), 512);
        QCOMPARE(int(link_.RxBuffer[157]), 157);
    }

    void bothFlights_bothModes_byteExact_data() {
        QTest::addColumn<int>("flightIndex");
        QTest::addColumn<bool>("bySector");
        QTest::newRow("last flight, sectors") << 0 << true;
        QTest::newRow("last flight, pages") << 0 << false;
        QTest::newRow("flight before, sectors") << 1 << true;
        QTest::newRow("flight before, pages") << 1 << false;
    }
    void bothFlights_bothModes_byteExact() {
        QFETCH(int, flightIndex);
        QFETCH(bool, bySector);
        TDeviceIO* stats = Make(OP_READ_STATS);
        stats->FlightIndex = std::uint8_t(flightIndex);
        QVERIFY(testing::RunToEnd(stats));
        QCOMPARE(recorder_.Codes(), (std::vector<int>{ST_PORT_OPEN, ST_STATS_READ}));
        const track::TFlightStatsReply read = track::ParseFlightStats(link_.RxBuffer.data());
        const TFlightLayout& flight = kFlights[1 - flightIndex];
        QCOMPARE(read.flightNumber, flight.number);
        QCOMPARE(int(read.distance), 123);

        TDeviceIO* download = Make(OP_TRACK);
        download->StartSector = read.startSector;
        download->BySector = bySector;
        QVERIFY(testing::RunToEnd(download));
        QCOMPARE(recorder_.Count(ST_BAD_REPLY) + recorder_.Count(ST_BAD_HEADER), 0);
        QCOMPARE(recorder_.posted.back(), (testing::Posted{ST_TRACK_END, 0}));
        QCOMPARE(ListsText(TrackLists().Snapshot()), memory_.expected[1 - flightIndex]);
    }
};

QTEST_GUILESS_MAIN(TestStandIn)
#include "tst_standin.moc"
