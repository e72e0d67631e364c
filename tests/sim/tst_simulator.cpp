// The simulator seen from the other end of its terminal, through plain POSIX
// calls: requests built by hand, replies checked byte by byte.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <set>

#include "serial/BCC.h"
#include "sim/Simulator.h"
#include "tests/support/ExampleFlight.h"
#include "tests/support/WaitFor.h"

using Bytes = std::vector<std::uint8_t>;
Q_DECLARE_METATYPE(sim::TFaults)
Q_DECLARE_METATYPE(sim::TFirmwareBehaviour)
Q_DECLARE_METATYPE(sim::TDamage)

namespace {

const Bytes IdentifyRequest{0x7E, 0x0A, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3};

Bytes LongRequest(std::uint8_t command, std::uint32_t parameter, std::uint8_t byte8 = 0) {
    return {0x14,
            command,
            0x00,
            0x09,
            std::uint8_t(parameter),
            std::uint8_t(parameter >> 8),
            std::uint8_t(parameter >> 16),
            std::uint8_t(parameter >> 24),
            byte8};
}

bool CheckByteOk(const Bytes& frame) {
    const int last = int(frame.size()) - 1;
    return last > 0 && serial::Crc8(frame.data(), last, last) == frame[std::size_t(last)];
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The program's end of the line, opened the way any terminal client would.
class TPort {
  public:
    explicit TPort(const QString& path) {
        fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios t{};
        if (fd_ >= 0 && tcgetattr(fd_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(fd_, TCSANOW, &t);
        }
    }
    ~TPort() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool IsOpen() const { return fd_ >= 0; }
    bool Send(const Bytes& bytes) {
        return ::write(fd_, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    }
    // Reads until `count` bytes have come, the line hangs up, or `limit` passes.
    Bytes Read(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        Bytes got;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (got.size() < count && std::chrono::steady_clock::now() < deadline && !hungUp_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            std::uint8_t buffer[8192];
            const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
            if (n > 0)
                got.insert(got.end(), buffer, buffer + n);
            else if (n == 0 || errno != EAGAIN || (p.revents & POLLHUP))
                hungUp_ = true;
        }
        return got;
    }
    bool HungUp() {
        pollfd p{fd_, POLLIN, 0};
        if (!hungUp_ && ::poll(&p, 1, 2000) > 0) {
            std::uint8_t byte;
            hungUp_ = (p.revents & POLLHUP) || ::read(fd_, &byte, 1) <= 0;
        }
        return hungUp_;
    }

  private:
    int fd_ = -1;
    bool hungUp_ = false;
};

// The reply to a page read of `memory` at `address`, built by hand.
Bytes PageReply(const Bytes& memory, std::uint32_t address) {
    Bytes f{0x14, 0x02, 0x01, 0x05};
    for (std::uint32_t i = 0; i < 256; ++i) f.push_back(memory[address + i]);
    f.push_back(serial::Crc8(f.data(), 260, 260));
    return f;
}

Bytes NormalIdentifyReply() {
    sim::TSimulator s;
    s.SetPaced(false);
    if (!s.Start()) return {};
    TPort port(s.PortPath());
    port.Send(IdentifyRequest);
    return port.Read(159);
}

}  // namespace

class TestSimulator : public QObject {
    Q_OBJECT

    sim::TSimulator* sim_ = nullptr;
    TPort* port_ = nullptr;

    TPort& Port() { return *port_; }

  private Q_SLOTS:
    void init() {
        sim_ = new sim::TSimulator;
        sim_->SetPaced(false);
        sim::TIdentity id;
        id.model = 103;
        id.firmwareVersion = 0x0201;
        id.settings[4] = 3;
        id.settings[147] = 0xA7;
        id.companion = 0xBEEF;
        sim_->SetIdentity(id);
        QVERIFY(sim_->Start());
        port_ = new TPort(sim_->PortPath());
        QVERIFY(port_->IsOpen());
    }
    void cleanup() {
        delete port_;
        delete sim_;
    }

    // Requests and replies.

    void identify_handBuiltRequest_longReplyWithIdentity() {
        QVERIFY(Port().Send(IdentifyRequest));
        const Bytes r = Port().Read(159);
        QCOMPARE(r.size(), std::size_t(159));
        QCOMPARE(int(r[0]), 0x14);
        QCOMPARE(int(r[2]) * 256 + r[3], 159);
        QCOMPARE(r[4] | r[5] << 8, 103);
        QCOMPARE(r[6] | r[7] << 8, 0x0201);
        QCOMPARE(int(r[8 + 4]), 3);
        QCOMPARE(int(r[8 + 147]), 0xA7);
        QCOMPARE(r[156] | r[157] << 8, 0xBEEF);
        QVERIFY(CheckByteOk(r));
        QCOMPARE(sim_->Requests(), std::vector<Bytes>{IdentifyRequest});
    }

    void identify_shortFrameIdentity_validShortFrame() {
        sim::TIdentity id;
        id.shortFrame = true;
        sim_->SetIdentity(id);
        QVERIFY(Port().Send(IdentifyRequest));
        const Bytes r = Port().Read(4);
        QCOMPARE(r, (Bytes{0x7E, 0x04, 0x52, r[3]}));
        QVERIFY(CheckByteOk(r));
    }

    void unusableInput_droppedAndCountedThenNextRequestAnswered_data() {
        QTest::addColumn<Bytes>("junk");
        Bytes wrongCheck = IdentifyRequest;
        wrongCheck[9] ^= 1;
        QTest::newRow("wrong check byte") << wrongCheck;
        QTest::newRow("stray bytes") << Bytes{0xA5, 0x00, 0x13};
        QTest::newRow("false headers") << Bytes{0x7E, 0x7E, 0x14, 0x14, 0x09};
        QTest::newRow("cut-off request") << Bytes{0x7E, 0x0A, 0x52, 0x01};
    }
    void unusableInput_droppedAndCountedThenNextRequestAnswered() {
        QFETCH(Bytes, junk);
        QVERIFY(Port().Send(junk + IdentifyRequest));
        const Bytes r = Port().Read(159);
        QCOMPARE(r.size(), std::size_t(159));
        QCOMPARE(int(r[0]), 0x14);
        QVERIFY(CheckByteOk(r));
        QCOMPARE(sim_->BadRequestCount(), 1);
        QCOMPARE(sim_->RequestCount(), 1);
    }

    void stats_byIndex_fieldsAtTheirPositions_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("last") << 0;
        QTest::newRow("previous") << 1;
    }
    void stats_byIndex_fieldsAtTheirPositions() {
        QFETCH(int, index);
        sim::TFlightStats s = testing::ExampleFlightStats();
        s.flightNumber = std::uint16_t(12 + index);
        sim_->SetStats(index, s);
        sim_->SetStats(1 - index, {});
        QVERIFY(
            Port().Send(LongRequest(3, std::uint32_t(index), 0xE3)));  // byte 8 is no check byte
        const Bytes r = Port().Read(48);
        QCOMPARE(r.size(), std::size_t(48));
        QVERIFY(CheckByteOk(r));
        const auto u16 = [&r](int i) {
            return int(r[std::size_t(i)] | r[std::size_t(i) + 1] << 8);
        };
        QCOMPARE(u16(8), 12 + index);
        QCOMPARE(u16(10), 64);
        QCOMPARE(u16(22), 2024);
        QCOMPARE((Bytes{r[24], r[25], r[26], r[27]}), (Bytes{6, 7, 9, 5}));
        QCOMPARE(u16(30), 95);
        QCOMPARE(std::int16_t(u16(32)), std::int16_t(34));
        QCOMPARE(std::int16_t(u16(34)), std::int16_t(-52));
        QCOMPARE(u16(36), 1870);
        QCOMPARE(int(r[38]), 61);
        QCOMPARE(u16(40), 123);
        QCOMPARE(u16(42), 456);
    }

    // The freedoms the protocol leaves, taken: byte 1 zero or random, the
    // statistics 45 to 64 bytes long, identification running on after the
    // settings block; every field still at its place, every frame sound.
    void freedoms_everyReplyOfAnAllowedShape() {
        sim_->SetProtocolFreedoms(true);
        sim::TFlightStats stats = testing::ExampleFlightStats();
        sim_->SetStats(0, stats);
        std::set<int> byte1, statsLengths, identifyLengths;
        const auto readFrame = [this] {
            Bytes r = Port().Read(4);
            if (r.size() == 4) r = r + Port().Read(std::size_t(r[2] * 256 + r[3]) - 4);
            return r;
        };
        for (int i = 0; i < 12; ++i) {
            QVERIFY(Port().Send(LongRequest(3, 0)));
            const Bytes r = readFrame();
            QVERIFY(r.size() >= 45 && r.size() <= 64);
            QVERIFY(CheckByteOk(r));
            QCOMPARE(r[8] | r[9] << 8, int(stats.flightNumber));
            QCOMPARE(r[42] | r[43] << 8, int(stats.distance));
            statsLengths.insert(int(r.size()));
            byte1.insert(r[1]);

            QVERIFY(Port().Send(IdentifyRequest));
            const Bytes id = readFrame();
            QVERIFY(id.size() > 159);
            QVERIFY(CheckByteOk(id));
            QCOMPARE(id[4] | id[5] << 8, 103);
            QCOMPARE(int(id[8 + 147]), 0xA7);
            QCOMPARE(id[156] | id[157] << 8, 0xBEEF);
            identifyLengths.insert(int(id.size()));
            byte1.insert(id[1]);

            QVERIFY(Port().Send(LongRequest(2, 256)));
            const Bytes page = readFrame();
            QCOMPARE(page.size(), std::size_t(261));
            QVERIFY(CheckByteOk(page));
            byte1.insert(page[1]);
        }
        QVERIFY(byte1.count(0) == 1 && byte1.size() > 3);
        QVERIFY(statsLengths.size() > 3);
        QVERIFY(identifyLengths.size() > 3);
    }

    void memoryRead_dataFromAddressErasedBeyond_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("size");
        QTest::newRow("page inside") << 2 << 256 << 256;
        QTest::newRow("page past the end") << 2 << 8192 << 256;
        QTest::newRow("sector inside") << 4 << 4096 << 4096;
        QTest::newRow("sector partly past the end") << 4 << 8192 << 4096;
    }
    void memoryRead_dataFromAddressErasedBeyond() {
        QFETCH(int, command);
        QFETCH(int, address);
        QFETCH(int, size);
        Bytes memory(8192 + 100);
        for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = std::uint8_t(i * 7 + i / 256);
        sim_->SetMemory(memory);
        QVERIFY(Port().Send(LongRequest(std::uint8_t(command), std::uint32_t(address), 0xFF)));
        const Bytes r = Port().Read(std::size_t(size + 5));
        QCOMPARE(int(r.size()), size + 5);
        QCOMPARE(int(r[2]) * 256 + r[3], size + 5);
        QVERIFY(CheckByteOk(r));
        for (int i = 0; i < size; ++i) {
            const std::size_t a = std::size_t(address + i);
            QCOMPARE(r[std::size_t(4 + i)], a < memory.size() ? memory[a] : std::uint8_t(0xFF));
        }
    }

    void settingsWrite_storedAnsweredAndIdentifiedAfterwards() {
        Bytes request{0x7E, 0x9A, 0x57};
        for (int i = 0; i < 150; ++i) request.push_back(std::uint8_t(i + 1));
        request.push_back(serial::Crc8(request.data(), 153, 153));
        QVERIFY(Port().Send(request));
        const Bytes answer = Port().Read(4);
        QCOMPARE(answer, (Bytes{0x7E, 0x04, 0x57, answer[3]}));
        QVERIFY(CheckByteOk(answer));
        const Bytes written = sim_->WrittenConfig();
        QCOMPARE(written, Bytes(request.begin() + 3, request.end() - 1));
        QVERIFY(Port().Send(IdentifyRequest));
        const Bytes id = Port().Read(159);
        QCOMPARE(Bytes(id.begin() + 8, id.begin() + 158), written);
    }

    // Faults.

    void faultyReply_bytesAsConfigured_data() {
        QTest::addColumn<sim::TFaults>("faults");
        QTest::addColumn<Bytes>("expected");
        const Bytes normal = NormalIdentifyReply();
        QCOMPARE(normal.size(), std::size_t(159));
        sim::TFaults f;
        Bytes b = normal;
        b[0] = 0x55;
        f.badHeader = true;
        QTest::newRow("bad header") << f << b;
        f = {};
        b = normal;
        b[158] ^= 0xFF;
        f.wrongCheckByte = true;
        QTest::newRow("wrong check byte") << f << b;
        f = {};
        f.dropLastByte = true;
        QTest::newRow("one byte missing") << f << Bytes(normal.begin(), normal.end() - 1);
        f = {};
        f.extraByte = true;
        QTest::newRow("one byte extra") << f << normal + Bytes{0x00};
        f = {};
        f.garbageBefore = 3;
        QTest::newRow("garbage before") << f << Bytes{0xA5, 0xA5, 0xA5} + normal;
        f = {};
        f.splitChunk = 7;
        f.splitDelayMs = 2;
        QTest::newRow("split delivery") << f << normal;
        f = {};
        f.pauseAfterBytes = 1;
        f.pauseMs = 20;
        QTest::newRow("pause after the header byte") << f << normal;
        f = {};
        f.lateMs = 20;
        QTest::newRow("late") << f << normal;
        f = {};
        f.silent = true;
        QTest::newRow("silent") << f << Bytes{};
        f = {};
        f.failFirstRequests = 1;
        QTest::newRow("first request unanswered") << f << Bytes{};
    }
    void faultyReply_bytesAsConfigured() {
        QFETCH(sim::TFaults, faults);
        QFETCH(Bytes, expected);
        sim::TIdentity id;  // the identity of NormalIdentifyReply
        sim_->SetIdentity(id);
        sim_->SetFaults(faults);
        QVERIFY(Port().Send(IdentifyRequest));
        TRY_COMPARE(sim_->RequestCount(), 1);
        // A clean reply after the faulty one shows where the faulty one ended.
        sim_->SetFaults({});
        QVERIFY(Port().Send(LongRequest(3, 0)));
        const Bytes got = Port().Read(expected.size() + 48);
        QCOMPARE(
            Bytes(got.begin(), got.begin() + std::ptrdiff_t(std::min(got.size(), expected.size()))),
            expected);
        QCOMPARE(got.size(), expected.size() + 48);
        QCOMPARE(int(got[expected.size()]), 0x14);
        QCOMPARE(int(got[expected.size() + 1]), 3);
    }

    void damage_secondReplyOnly_asDescribed_data() {
        QTest::addColumn<sim::TDamage>("damage");
        QTest::addColumn<Bytes>("second");
        QTest::addColumn<bool>("listed");
        Bytes memory(3 * 256);
        for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = std::uint8_t(i * 5 + i / 256);
        const Bytes first = PageReply(memory, 0);
        const Bytes normal = PageReply(memory, 256);
        Bytes changed = normal;
        changed[0] = 0x55;
        using D = sim::TDamage;
        QTest::newRow("first byte changed") << D::FirstByteChanged << changed << false;
        QTest::newRow("garbage in front") << D::GarbageInFront << Bytes(5, 0xA5) + normal << false;
        QTest::newRow("cut short")
            << D::CutShort << Bytes(normal.begin(), normal.begin() + 130) << false;
        Bytes b = normal;
        b.back() ^= 0xFF;
        QTest::newRow("wrong check byte") << D::WrongCheckByte << b << false;
        QTest::newRow("late") << D::Late << normal << false;
        QTest::newRow("the previous reply again") << D::PreviousReply << first << false;
        // The message named on its own rather than as a run.
        QTest::newRow("the previous reply again, to a listed message")
            << D::PreviousReply << first << true;
        QTest::newRow("first byte changed, of a listed message")
            << D::FirstByteChanged << changed << true;
    }
    void damage_secondReplyOnly_asDescribed() {
        QFETCH(sim::TDamage, damage);
        QFETCH(Bytes, second);
        QFETCH(bool, listed);
        Bytes memory(3 * 256);
        for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = std::uint8_t(i * 5 + i / 256);
        sim_->SetMemory(memory);
        sim::TFaults f;
        f.damage = damage;
        if (listed) {
            f.damageCount = 0;
            f.damageAlso = {2};
        } else {
            f.damageFrom = 2;
        }
        f.damageBytes = 5;
        f.damageMs = 500;
        sim_->SetFaults(f);
        QVERIFY(Port().Send(LongRequest(2, 0)));
        QCOMPARE(Port().Read(261), PageReply(memory, 0));
        QVERIFY(Port().Send(LongRequest(2, 256)));
        if (damage == sim::TDamage::Late)  // well inside the delay: nothing yet
            QVERIFY(Port().Read(1, std::chrono::milliseconds(100)).empty());
        QCOMPARE(Port().Read(second.size()), second);
        QVERIFY(Port().Send(LongRequest(2, 512)));
        QCOMPARE(Port().Read(261), PageReply(memory, 512));
    }

    void hangUp_readerSeesEndAfterReplyOrHalf_data() {
        QTest::addColumn<bool>("midReply");
        QTest::addColumn<int>("bytesBefore");
        QTest::newRow("after the reply") << false << 159;
        QTest::newRow("mid-reply") << true << 79;
    }
    void hangUp_readerSeesEndAfterReplyOrHalf() {
        QFETCH(bool, midReply);
        QFETCH(int, bytesBefore);
        sim::TFaults f;
        f.hangUpAfterRequests = 1;
        f.hangUpMidReply = midReply;
        sim_->SetFaults(f);
        QVERIFY(Port().Send(IdentifyRequest));
        QCOMPARE(int(Port().Read(159).size()), bytesBefore);
        QVERIFY(Port().HungUp());
        TRY_VERIFY(!sim_->IsRunning());
    }

    void hangUp_startAgain_answersOnFreshTerminal() {
        sim::TFaults f;
        f.hangUpAfterRequests = 0;
        sim_->SetFaults(f);
        QVERIFY(Port().Send(IdentifyRequest));
        QVERIFY(Port().HungUp());
        TRY_VERIFY(!sim_->IsRunning());
        sim_->SetFaults({});
        QVERIFY(sim_->Start());
        TPort again(sim_->PortPath());
        QVERIFY(again.Send(IdentifyRequest));
        QCOMPARE(again.Read(159).size(), std::size_t(159));
        QCOMPARE(sim_->RequestCount(), 1);
    }

    // Firmware blocks.

    void firmware_answersPerBehaviour_data() {
        QTest::addColumn<sim::TFirmwareBehaviour>("behaviour");
        QTest::addColumn<Bytes>("answers");
        sim::TFirmwareBehaviour b;
        QTest::newRow("all accepted") << b << Bytes{0x11, 0x11, 0x11};
        b.retryAnswers = 2;
        QTest::newRow("two retries") << b << Bytes{0x22, 0x22, 0x11};
        b = {};
        b.rejectAtBlock = 1;
        QTest::newRow("rejected at block 1") << b << Bytes{0x11, 0x40, 0x40};
    }
    void firmware_answersPerBehaviour() {
        QFETCH(sim::TFirmwareBehaviour, behaviour);
        QFETCH(Bytes, answers);
        sim_->SetFirmwareBehaviour(behaviour);
        Bytes accepted;
        for (int i = 0; i < 3; ++i) {
            Bytes block{0x00, 70};  // more than one 60-byte piece
            for (int k = 0; k < 70; ++k) block.push_back(std::uint8_t(i * 70 + k));
            // In pieces, as the program sends them.
            QVERIFY(Port().Send(Bytes(block.begin(), block.begin() + 60)));
            QVERIFY(Port().Send(Bytes(block.begin() + 60, block.end())));
            const Bytes answer = Port().Read(1);
            QCOMPARE(answer, Bytes{answers[std::size_t(i)]});
            if (answer == Bytes{0x11}) accepted = accepted + block;
        }
        QCOMPARE(sim_->FirmwareReceived(), accepted);
        QCOMPARE(sim_->FirmwareBlocksReceived(), 3);
        QCOMPARE(sim_->RequestCount(), 0);
    }

    void firmware_silent_noAnswerButCounted() {
        sim::TFirmwareBehaviour b;
        b.silent = true;
        sim_->SetFirmwareBehaviour(b);
        QVERIFY(Port().Send({0x00, 0x02, 0xAB, 0xCD}));
        TRY_COMPARE(sim_->FirmwareBlocksReceived(), 1);
        b = {};
        b.retryAnswers = 1;
        sim_->SetFirmwareBehaviour(b);
        QVERIFY(Port().Send({0x00, 0x02, 0xAB, 0xCD}));
        QCOMPARE(Port().Read(1), Bytes{0x22});  // the answer to the second block only
        QVERIFY(sim_->FirmwareReceived().empty());
    }

    void firmware_blockStoppingShort_droppedThenNextAccepted() {
        QVERIFY(Port().Send({0x00, 0x64, 1, 2, 3}));  // 100 bytes announced, 3 sent
        TRY_COMPARE_WITH_TIMEOUT(sim_->BadRequestCount(), 1, 5000);
        const Bytes block{0x00, 0x01, 0x5A};
        QVERIFY(Port().Send(block));
        QCOMPARE(Port().Read(1), Bytes{0x11});
        QCOMPARE(sim_->FirmwareReceived(), block);
    }

    // Pacing, transcript, link.

    void paced_sectorReplyArrivesWhole() {
        sim_->SetPaced(true);
        QVERIFY(Port().Send(LongRequest(4, 0)));
        const Bytes r = Port().Read(4101);
        QCOMPARE(r.size(), std::size_t(4101));
        QVERIFY(CheckByteOk(r));
    }

    void transcript_requestAndReplyLines() {
        QTemporaryDir dir;
        const QString path = dir.filePath("traffic.txt");
        sim_->SetTranscriptPath(path);
        QVERIFY(Port().Send(IdentifyRequest));
        QCOMPARE(Port().Read(159).size(), std::size_t(159));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QByteArray("> 7E 0A 52 01 00 00 00 00 00 E3"));
        QVERIFY(lines[1].startsWith("< 14 52 00 9F 67 00 01 02 "));
        QCOMPARE(lines[1].size(), 1 + 159 * 3);
    }

    void link_madeAtStartRemovedAtStop() {
        QTemporaryDir dir;
        const QString link = dir.filePath("ttyTolmarik");
        QVERIFY(sim_->Start(link));
        QCOMPARE(sim_->PortPath(), link);
        QVERIFY(QFileInfo(link).isSymLink());
        TPort viaLink(link);
        QVERIFY(viaLink.Send(IdentifyRequest));
        QCOMPARE(viaLink.Read(159).size(), std::size_t(159));
        sim_->Stop();
        QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
