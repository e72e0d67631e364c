#include "sim/Simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "device/Frames.h"
#include "serial/BCC.h"
#include "sim/TrackMemory.h"

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// One byte on a 115200 8N1 line: start bit, 8 data bits, stop bit.
constexpr std::chrono::nanoseconds ByteTime{86806};
// A message that stops short is dropped after this long without a byte.
constexpr auto StallTimeout = 1s;
// Bytes that cannot start a request are taken for junk this soon when a
// complete request follows them (firmware pieces come every 10 ms).
constexpr auto JunkIdle = 30ms;
// How long a hang-up waits for the reader to take what was sent.
constexpr auto DrainLimit = 2s;

constexpr std::uint8_t JunkByte = 0xA5;
constexpr std::uint8_t BadHeaderByte = 0x55;

// Length of the request whose header starts at b: the length when the bytes
// present open a known request, 0 when they may still become one, -1 not.
int RequestLengthAt(const std::uint8_t* b, std::size_t n) {
    if (n == 0) return 0;
    if (b[0] == device::FRAME_SHORT) {
        if (n < 2) return 0;
        if (b[1] != device::IdentifyRequestLength && b[1] != device::WriteConfigRequestLength)
            return -1;
        if (n < 3) return 0;
        if (b[1] == device::IdentifyRequestLength && b[2] == device::CMD_IDENTIFY) return b[1];
        if (b[1] == device::WriteConfigRequestLength && b[2] == device::CMD_WRITE_CONFIG)
            return b[1];
        return -1;
    }
    if (b[0] == device::FRAME_LONG) {
        if (n < 2) return 0;
        if (b[1] != device::CMD_READ_PAGE && b[1] != device::CMD_READ_STATS &&
            b[1] != device::CMD_READ_SECTOR)
            return -1;
        if (n < 3) return 0;
        if (b[2] != 0) return -1;
        if (n < 4) return 0;
        return b[3] == device::LongRequestLength ? device::LongRequestLength : -1;
    }
    return -1;
}

bool CheckOk(const std::uint8_t* b, int length) {
    return serial::Crc8(b, length - 1, length - 1) == b[length - 1];
}

// Long requests carry no check byte; short ones must have a good one.
bool CompleteRequestAt(const std::uint8_t* b, std::size_t n) {
    const int length = RequestLengthAt(b, n);
    if (length <= 0 || n < std::size_t(length)) return false;
    return b[0] == device::FRAME_LONG || CheckOk(b, length);
}

// First position from `from` where a request may start, or the buffer size.
std::size_t NextHeader(const std::vector<std::uint8_t>& in, std::size_t from, bool complete) {
    for (std::size_t p = from; p < in.size(); ++p) {
        const std::size_t rest = in.size() - p;
        if (complete ? CompleteRequestAt(&in[p], rest) : RequestLengthAt(&in[p], rest) >= 0)
            return p;
    }
    return in.size();
}

void Put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

void SetCheck(std::vector<std::uint8_t>& f) {
    const int last = int(f.size()) - 1;
    f[last] = serial::Crc8(f.data(), last, last);
}

std::vector<std::uint8_t> LongFrame(std::uint8_t byte1, int length) {
    std::vector<std::uint8_t> f(std::size_t(length), 0);
    f[0] = device::FRAME_LONG;
    f[1] = byte1;
    f[2] = std::uint8_t(length >> 8);
    f[3] = std::uint8_t(length);
    return f;
}

// Statistics and identification replies in the freedoms mode: the first
// length a statistics reply may have, the most bytes it is given here, and
// the most bytes added after the settings block.
constexpr int StatsLength = 48;  // this instrument's own, freedoms aside
constexpr int FreeStatsMaxLength = 64;
constexpr int FreeIdentifyExtra = 40;

std::vector<std::uint8_t> ShortAnswer(std::uint8_t command) {
    std::vector<std::uint8_t> f{device::FRAME_SHORT, 4, command, 0};
    SetCheck(f);
    return f;
}

bool MakeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&t, B115200);
    cfsetospeed(&t, B115200);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

bool SetNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
           fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

std::string SlaveName(int master) {
#ifdef __linux__
    char name[128];
    if (ptsname_r(master, name, sizeof name) != 0) return {};
    return name;
#else
    static std::mutex guard;  // ptsname's buffer is shared
    std::lock_guard lock(guard);
    const char* name = ptsname(master);
    return name ? std::string(name) : std::string();
#endif
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

struct TSimulator::Impl {
    mutable std::mutex m;
    // Configuration; the thread takes a copy per message.
    bool paced = true;
    // The time a paced byte takes on the line; read without the lock.
    std::atomic<std::int64_t> byteNs{ByteTime.count()};
    bool freedoms = TSimulator::FreedomsFromEnvironment();
    TFaults faults;
    TIdentity identity;
    std::array<TFlightStats, 2> stats{};
    std::shared_ptr<const std::vector<std::uint8_t>> memory =
        std::make_shared<const std::vector<std::uint8_t>>();
    TFirmwareBehaviour firmware;
    std::string transcript;
    std::vector<TExchange> replay;
    // Records of the current session.
    std::size_t replayAt = 0;        // the exchange being received
    std::size_t replayReceived = 0;  // of its request bytes
    int replayMismatches = 0;
    std::vector<std::vector<std::uint8_t>> requests;
    int badRequests = 0;
    std::vector<std::uint8_t> written;
    std::vector<std::uint8_t> firmwareReceived;
    int firmwareBlocks = 0;
    int firmwareAccepted = 0;
    int retriesLeft = 0;
    int messages = 0;  // valid requests and firmware blocks, for the fault counters
    std::vector<std::uint8_t> lastReply;  // undamaged, to the last request
    bool running = false;
    QString portPath;
    std::string link;
    std::string slaveName;

    // The terminal belongs to the thread while it runs.
    int master = -1;
    int slave = -1;
    int wakeRead = -1;
    int wakeWrite = -1;
    std::atomic<bool> stopping{false};
    std::thread thread;

    bool Open(const QString& linkPath);
    void Close();
    void Run();
    bool Consume(std::vector<std::uint8_t>& in, Clock::time_point lastInput);
    void Drop(std::vector<std::uint8_t>& in, std::size_t count);
    bool HandleRequest(std::vector<std::uint8_t> request);
    // Null when no session is replayed; else whether to go on.
    std::optional<bool> Replay(const std::vector<std::uint8_t>& message);
    bool HandleFirmware(std::vector<std::uint8_t> block);
    bool Answer(std::vector<std::uint8_t> reply, int message, const TFaults& f, bool frame,
                bool paced);
    bool Send(const std::vector<std::uint8_t>& bytes, const TFaults& f, bool paced);
    bool Write(const std::uint8_t* data, std::size_t size, bool paced);
    bool WaitUntil(Clock::time_point until);
    void Drain();
    void HangUp();
    void Log(char direction, const std::uint8_t* data, std::size_t size);
};

bool TSimulator::Impl::Open(const QString& linkPath) {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) return false;
    if (grantpt(master) != 0 || unlockpt(master) != 0 || !SetNonBlocking(master)) return false;
    slaveName = SlaveName(master);
    if (slaveName.empty()) return false;
    // Raw on both sides, so that nothing is echoed or translated even before
    // the program opens the port and sets its own line mode. Holding the slave
    // open keeps the terminal from hanging up between the program's opens.
    slave = ::open(slaveName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0 || !MakeRaw(master) || !MakeRaw(slave)) return false;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return false;
    wakeRead = pipeFds[0];
    wakeWrite = pipeFds[1];
    if (!SetNonBlocking(wakeRead) || !SetNonBlocking(wakeWrite)) return false;
    if (!linkPath.isEmpty()) {
        const QByteArray path = linkPath.toLocal8Bit();
        struct stat st {};
        // Replace a link left by an earlier run, never anything else.
        if (lstat(path.constData(), &st) == 0) {
            if (!S_ISLNK(st.st_mode) || unlink(path.constData()) != 0) return false;
        }
        if (symlink(slaveName.c_str(), path.constData()) != 0) return false;
        link = path.toStdString();
    }
    return true;
}

void TSimulator::Impl::Close() {
    CloseFd(master);
    CloseFd(slave);
    CloseFd(wakeRead);
    CloseFd(wakeWrite);
    if (!link.empty()) {
        char target[256];
        const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
        if (n >= 0 && std::string(target, std::size_t(n)) == slaveName) unlink(link.c_str());
        link.clear();
    }
}

bool TSimulator::Impl::WaitUntil(Clock::time_point until) {
    for (;;) {
        if (stopping) return false;
        const auto now = Clock::now();
        if (now >= until) return true;
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
        pollfd p{wakeRead, POLLIN, 0};
        ::poll(&p, 1, int(std::min<long long>(ms, INT_MAX)));
    }
}

void TSimulator::Impl::Log(char direction, const std::uint8_t* data, std::size_t size) {
    std::string path;
    {
        std::lock_guard lock(m);
        path = transcript;
    }
    if (path.empty()) return;
    std::string line(1, direction);
    static const char digits[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < size; ++i) {
        line += ' ';
        line += digits[data[i] >> 4];
        line += digits[data[i] & 15];
    }
    line += '\n';
    if (std::FILE* f = std::fopen(path.c_str(), "a")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}

// Paced output is written in small bursts, each once its last byte would have
// left the line, against one start time so that timer slack does not add up.
bool TSimulator::Impl::Write(const std::uint8_t* data, std::size_t size, bool paced) {
    const auto start = Clock::now();
    std::size_t sent = 0;
    while (sent < size) {
        if (stopping) return false;
        std::size_t due = size;
        if (paced) {
            const std::chrono::nanoseconds byteTime{byteNs.load(std::memory_order_relaxed)};
            due = std::min<std::size_t>(size, std::size_t((Clock::now() - start) / byteTime));
            if (due <= sent) {
                const auto next = std::int64_t(std::min<std::size_t>(size, sent + 8));
                if (!WaitUntil(start + byteTime * next)) return false;
                continue;
            }
        }
        const ssize_t n = ::write(master, data + sent, due - sent);
        if (n > 0) {
            sent += std::size_t(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p[2] = {{master, POLLOUT, 0}, {wakeRead, POLLIN, 0}};
            ::poll(p, 2, 100);
        } else if (!(n < 0 && errno == EINTR)) {
            return false;
        }
    }
    return true;
}

bool TSimulator::Impl::Send(const std::vector<std::uint8_t>& bytes, const TFaults& f, bool paced) {
    if (f.pauseAfterBytes > 0 && std::size_t(f.pauseAfterBytes) < bytes.size()) {
        const std::size_t head = std::size_t(f.pauseAfterBytes);
        if (!Write(bytes.data(), head, paced)) return false;
        if (!WaitUntil(Clock::now() + std::chrono::milliseconds(f.pauseMs))) return false;
        return Write(bytes.data() + head, bytes.size() - head, paced);
    }
    const std::size_t piece = f.splitChunk > 0 ? std::size_t(f.splitChunk) : bytes.size();
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        if (at > 0 && f.splitDelayMs > 0 &&
            !WaitUntil(Clock::now() + std::chrono::milliseconds(f.splitDelayMs)))
            return false;
        if (!Write(bytes.data() + at, std::min(piece, bytes.size() - at), paced)) return false;
    }
    return true;
}

// Waits until the reader has taken what was written: closing the master
// discards whatever the slave side still holds. The queue must stay empty a
// moment, since written bytes reach it a little after the write.
void TSimulator::Impl::Drain() {
    const auto deadline = Clock::now() + DrainLimit;
    int emptyChecks = 0;
    while (Clock::now() < deadline && emptyChecks < 3) {
        int waiting = 0;
        if (ioctl(slave, FIONREAD, &waiting) != 0) return;
        emptyChecks = waiting == 0 ? emptyChecks + 1 : 0;
        if (!WaitUntil(Clock::now() + 5ms)) return;
    }
}

void TSimulator::Impl::HangUp() {
    CloseFd(master);
    CloseFd(slave);
    std::lock_guard lock(m);
    running = false;
}

bool TSimulator::Impl::Answer(std::vector<std::uint8_t> reply, int message, const TFaults& f,
                              bool frame, bool paced) {
    const bool hangUp = f.hangUpAfterRequests >= 0 && message >= f.hangUpAfterRequests;
    if (frame && !reply.empty()) {
        if (f.wrongCheckByte) reply.back() ^= 0xFF;
        if (f.badHeader) reply.front() = BadHeaderByte;
        if (f.dropLastByte) reply.pop_back();
        if (f.extraByte) reply.push_back(0x00);
        if (f.garbageBefore > 0)
            reply.insert(reply.begin(), std::size_t(f.garbageBefore), JunkByte);
    }
    int lateMs = f.lateMs;
    const bool damaged = f.Damages(message);
    if (damaged && !reply.empty()) {
        switch (f.damage) {
            case TDamage::FirstByteChanged:
                reply.front() = BadHeaderByte;
                break;
            case TDamage::GarbageInFront:
                reply.insert(reply.begin(), std::size_t(f.damageBytes), JunkByte);
                break;
            case TDamage::CutShort:
                reply.resize(reply.size() / 2);
                break;
            case TDamage::WrongCheckByte:
                if (frame) reply.back() ^= 0xFF;
                break;
            case TDamage::Late:
                lateMs += f.damageMs;
                break;
            case TDamage::None:
            case TDamage::PreviousReply:  // chosen with the reply
                break;
        }
    }
    if (hangUp && f.hangUpMidReply) reply.resize(reply.size() / 2);
    if (!reply.empty()) {
        if (lateMs > 0 && !WaitUntil(Clock::now() + std::chrono::milliseconds(lateMs)))
            return false;
        Log('<', reply.data(), reply.size());
        if (!Send(reply, f, paced)) return false;
    }
    if (hangUp) {
        Drain();
        HangUp();
        return false;
    }
    return true;
}

std::optional<bool> TSimulator::Impl::Replay(const std::vector<std::uint8_t>& message) {
    std::vector<std::uint8_t> reply;
    bool pace;
    {
        std::lock_guard lock(m);
        if (replay.empty()) return std::nullopt;
        pace = paced;
        const bool expected =
            replayAt < replay.size() &&
            replay[replayAt].request.size() - replayReceived >= message.size() &&
            std::equal(message.begin(), message.end(),
                       replay[replayAt].request.begin() + std::ptrdiff_t(replayReceived));
        if (!expected) {
            ++replayMismatches;
            return true;
        }
        replayReceived += message.size();
        if (replayReceived == replay[replayAt].request.size()) {
            reply = replay[replayAt].reply;
            ++replayAt;
            replayReceived = 0;
        }
    }
    if (reply.empty()) return true;
    Log('<', reply.data(), reply.size());
    return Write(reply.data(), reply.size(), pace);
}

bool TSimulator::Impl::HandleRequest(std::vector<std::uint8_t> request) {
    Log('>', request.data(), request.size());
    if (const auto going = Replay(request)) return *going;
    std::vector<std::uint8_t> reply;
    TFaults f;
    bool pace;
    int message;
    {
        std::lock_guard lock(m);
        requests.push_back(request);
        message = ++messages;
        f = faults;
        pace = paced;
        const std::uint8_t command = request[0] == device::FRAME_SHORT ? request[2] : request[1];
        std::mt19937 random{std::uint32_t(message)};
        const auto randomByte = [&random] { return std::uint8_t(random()); };
        // A long reply of `length` bytes, random between header and check
        // byte when freedoms are taken: whatever a field does not cover.
        const auto longReply = [&](int length) {
            std::vector<std::uint8_t> f = LongFrame(command, length);
            if (freedoms) {
                std::generate(f.begin() + 4, f.end(), randomByte);
                f[1] = message % 2 ? 0 : randomByte();
            }
            return f;
        };
        if (command == device::CMD_IDENTIFY) {
            if (identity.shortFrame) {
                reply = ShortAnswer(device::CMD_IDENTIFY);
            } else {
                const int extra = freedoms ? 1 + int(random() % FreeIdentifyExtra) : 0;
                reply = longReply(device::IdentifyReplyLength + extra);
                Put16(&reply[4], identity.model);
                Put16(&reply[6], identity.firmwareVersion);
                std::copy(identity.settings.begin(), identity.settings.end(), reply.begin() + 8);
                Put16(&reply[156], identity.companion);
            }
        } else if (command == device::CMD_WRITE_CONFIG) {
            // Kept as the instrument would: the next identification shows them.
            written.assign(request.begin() + 3, request.begin() + 3 + device::DeviceConfigSize);
            if (f.writeAltersByte >= 0 && f.writeAltersByte < device::DeviceConfigSize)
                written[std::size_t(f.writeAltersByte)] ^= 0xFF;
            std::copy(written.begin(), written.begin() + 148, identity.settings.begin());
            identity.companion = device::LE16(&written[148]);
            reply = ShortAnswer(device::CMD_WRITE_CONFIG);
        } else if (command == device::CMD_READ_STATS) {
            const int free = FreeStatsMaxLength - device::StatsReplyLength + 1;
            reply =
                longReply(freedoms ? device::StatsReplyLength + int(random() % free) : StatsLength);
            const std::uint8_t index = request[4];
            const TFlightStats s = index < stats.size() ? stats[index] : TFlightStats{};
            std::uint8_t* r = reply.data();
            Put16(r + 8, s.flightNumber);
            Put16(r + 10, s.startSector);
            Put16(r + 22, s.year);
            r[24] = s.month;
            r[25] = s.day;
            r[26] = s.hour;
            r[27] = s.minute;
            Put16(r + 30, s.durationMinutes);
            Put16(r + 32, std::uint16_t(s.maxClimb));
            Put16(r + 34, std::uint16_t(s.maxSink));
            Put16(r + 36, std::uint16_t(s.maxAltitude));
            r[38] = s.maxSpeed;
            Put16(r + 40, s.maxDistance);
            Put16(r + 42, s.distance);
        } else {
            const int size = command == device::CMD_READ_SECTOR ? 4096 : 256;
            reply = longReply(size + 5);
            ReadMemory(*memory, device::LE32(&request[4]), &reply[4], std::size_t(size));
        }
        SetCheck(reply);
        const bool chosen = f.damage == TDamage::PreviousReply && f.Damages(message);
        const bool stale = (chosen || f.previousReplies) && !lastReply.empty();
        lastReply.swap(reply);
        if (!stale) reply = lastReply;
    }
    if (f.hangUpAfterRequests >= 0 && message > f.hangUpAfterRequests) {
        HangUp();
        return false;
    }
    const bool unanswered =
        f.loader && request[0] == device::FRAME_SHORT && request[2] == device::CMD_IDENTIFY;
    if (f.silent || message <= f.failFirstRequests || unanswered) reply.clear();
    return Answer(std::move(reply), message, f, true, pace);
}

bool TSimulator::Impl::HandleFirmware(std::vector<std::uint8_t> block) {
    Log('>', block.data(), block.size());
    if (const auto going = Replay(block)) return *going;
    TFaults f;
    bool pace;
    int message;
    std::vector<std::uint8_t> answer;
    {
        std::lock_guard lock(m);
        ++firmwareBlocks;
        message = ++messages;
        f = faults;
        pace = paced;
        const bool hangUp = f.hangUpAfterRequests >= 0 && message >= f.hangUpAfterRequests;
        // Half of a one-byte answer is none.
        const bool silent = firmware.silent || f.silent || message <= f.failFirstRequests ||
                            (hangUp && f.hangUpMidReply) ||
                            (f.hangUpAfterRequests >= 0 && message > f.hangUpAfterRequests);
        if (!silent) {
            if (firmwareAccepted == firmware.rejectAtBlock) {
                answer.push_back(device::FW_WRONG_DEVICE);
            } else if (retriesLeft > 0) {
                --retriesLeft;
                answer.push_back(device::FW_RETRY);
            } else {
                answer.push_back(device::FW_ACK);
                firmwareReceived.insert(firmwareReceived.end(), block.begin(), block.end());
                ++firmwareAccepted;
            }
        }
    }
    if (f.hangUpAfterRequests >= 0 && message > f.hangUpAfterRequests) {
        HangUp();
        return false;
    }
    return Answer(std::move(answer), message, f, false, pace);
}

void TSimulator::Impl::Drop(std::vector<std::uint8_t>& in, std::size_t count) {
    count = std::min(count, in.size());
    Log('!', in.data(), count);
    in.erase(in.begin(), in.begin() + std::ptrdiff_t(count));
    std::lock_guard lock(m);
    ++badRequests;
}

// Takes every complete message from the front of `in`. A first byte that
// opens no request begins a firmware block (big-endian count, then that many
// bytes). False when the terminal was hung up or the simulator stops.
bool TSimulator::Impl::Consume(std::vector<std::uint8_t>& in, Clock::time_point lastInput) {
    while (!in.empty()) {
        const int length = RequestLengthAt(in.data(), in.size());
        std::size_t need = SIZE_MAX;
        if (length > 0)
            need = std::size_t(length);
        else if (length < 0 && in.size() >= 2)
            need = 2 + std::size_t(in[0] << 8 | in[1]);
        if (in.size() < need) {
            const auto idle = Clock::now() - lastInput;
            if (idle >= StallTimeout) {
                Drop(in, NextHeader(in, 1, false));
                continue;
            }
            if (length < 0 && idle >= JunkIdle) {
                const std::size_t at = NextHeader(in, 1, true);
                if (at < in.size()) {
                    Drop(in, at);
                    continue;
                }
            }
            return true;
        }
        if (length > 0 && in[0] == device::FRAME_SHORT && !CheckOk(in.data(), length)) {
            Drop(in, std::min(need, NextHeader(in, 1, false)));
            continue;
        }
        std::vector<std::uint8_t> message(in.begin(), in.begin() + std::ptrdiff_t(need));
        in.erase(in.begin(), in.begin() + std::ptrdiff_t(need));
        const bool going =
            length > 0 ? HandleRequest(std::move(message)) : HandleFirmware(std::move(message));
        if (!going) return false;
    }
    return true;
}

void TSimulator::Impl::Run() {
    std::vector<std::uint8_t> in;
    auto lastInput = Clock::now();
    std::uint8_t buffer[4096];
    while (!stopping) {
        pollfd p[2] = {{master, POLLIN, 0}, {wakeRead, POLLIN, 0}};
        // With a message pending, look again soon to drop it if it stalls.
        const int r = ::poll(p, 2, in.empty() ? -1 : 10);
        if (stopping) break;
        if (r < 0 && errno != EINTR) break;
        if (r > 0 && (p[0].revents & POLLIN)) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) {
                in.insert(in.end(), buffer, buffer + n);
                lastInput = Clock::now();
            } else if (n < 0 && errno != EAGAIN && errno != EINTR &&
                       !WaitUntil(Clock::now() + 10ms)) {
                break;
            }
        } else if (r > 0 && (p[0].revents & (POLLHUP | POLLERR))) {
            if (!WaitUntil(Clock::now() + 10ms)) break;
        }
        if (!Consume(in, lastInput)) break;
    }
    std::lock_guard lock(m);
    running = false;
}

TSimulator::TSimulator() : d(std::make_unique<Impl>()) {}

TSimulator::~TSimulator() { Stop(); }

bool TSimulator::Start(const QString& linkPath) {
    Stop();
    if (!d->Open(linkPath)) {
        d->Close();
        return false;
    }
    {
        std::lock_guard lock(d->m);
        d->requests.clear();
        d->badRequests = 0;
        d->written.clear();
        d->firmwareReceived.clear();
        d->firmwareBlocks = 0;
        d->firmwareAccepted = 0;
        d->retriesLeft = d->firmware.retryAnswers;
        d->messages = 0;
        d->lastReply.clear();
        d->replayAt = 0;
        d->replayReceived = 0;
        d->replayMismatches = 0;
        d->running = true;
        d->portPath = d->link.empty() ? QString::fromStdString(d->slaveName)
                                      : QString::fromStdString(d->link);
    }
    d->stopping = false;
    d->thread = std::thread([this] { d->Run(); });
    return true;
}

void TSimulator::Stop() {
    if (d->thread.joinable()) {
        d->stopping = true;
        const char wake = 1;
        [[maybe_unused]] const ssize_t n = ::write(d->wakeWrite, &wake, 1);
        d->thread.join();
    }
    d->Close();
    std::lock_guard lock(d->m);
    d->running = false;
}

bool TSimulator::IsRunning() const {
    std::lock_guard lock(d->m);
    return d->running;
}

QString TSimulator::PortPath() const {
    std::lock_guard lock(d->m);
    return d->portPath;
}

void TSimulator::SetPaced(bool paced) {
    std::lock_guard lock(d->m);
    d->paced = paced;
}

bool TSimulator::FreedomsFromEnvironment() {
    const char* value = std::getenv(FreedomsVariable);
    return value != nullptr && std::string(value) == "1";
}

void TSimulator::SetLineSpeedUp(int factor) {
    d->byteNs.store(ByteTime.count() / std::max(1, factor), std::memory_order_relaxed);
}

void TSimulator::SetProtocolFreedoms(bool on) {
    std::lock_guard lock(d->m);
    d->freedoms = on;
}

void TSimulator::SetFaults(const TFaults& faults) {
    std::lock_guard lock(d->m);
    d->faults = faults;
}

void TSimulator::SetIdentity(const TIdentity& identity) {
    std::lock_guard lock(d->m);
    d->identity = identity;
}

void TSimulator::SetStats(int index, const TFlightStats& stats) {
    std::lock_guard lock(d->m);
    if (index >= 0 && index < int(d->stats.size())) d->stats[std::size_t(index)] = stats;
}

void TSimulator::SetMemory(std::vector<std::uint8_t> memory) {
    auto shared = std::make_shared<const std::vector<std::uint8_t>>(std::move(memory));
    std::lock_guard lock(d->m);
    d->memory = std::move(shared);
}

void TSimulator::SetFirmwareBehaviour(const TFirmwareBehaviour& behaviour) {
    std::lock_guard lock(d->m);
    d->firmware = behaviour;
    d->retriesLeft = behaviour.retryAnswers;
}

void TSimulator::SetTranscriptPath(const QString& path) {
    std::lock_guard lock(d->m);
    d->transcript = path.toLocal8Bit().toStdString();
}

void TSimulator::SetReplay(std::vector<TExchange> exchanges) {
    std::lock_guard lock(d->m);
    d->replay = std::move(exchanges);
    d->replayAt = 0;
    d->replayReceived = 0;
    d->replayMismatches = 0;
}

int TSimulator::ReplayMismatches() const {
    std::lock_guard lock(d->m);
    return d->replayMismatches;
}

int TSimulator::ReplayExchangesLeft() const {
    std::lock_guard lock(d->m);
    return int(d->replay.size() - d->replayAt);
}

std::vector<std::vector<std::uint8_t>> TSimulator::Requests() const {
    std::lock_guard lock(d->m);
    return d->requests;
}

int TSimulator::RequestCount() const {
    std::lock_guard lock(d->m);
    return int(d->requests.size());
}

int TSimulator::BadRequestCount() const {
    std::lock_guard lock(d->m);
    return d->badRequests;
}

std::vector<std::uint8_t> TSimulator::WrittenConfig() const {
    std::lock_guard lock(d->m);
    return d->written;
}

std::vector<std::uint8_t> TSimulator::FirmwareReceived() const {
    std::lock_guard lock(d->m);
    return d->firmwareReceived;
}

int TSimulator::FirmwareBlocksReceived() const {
    std::lock_guard lock(d->m);
    return d->firmwareBlocks;
}

}  // namespace sim
