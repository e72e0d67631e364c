// POSIX serial-terminal implementation of the port calls.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "serial/PortSystem.h"

namespace serial::platform {

namespace {
speed_t SpeedFor(std::uint32_t baud) {
    switch (baud) {
        case 50:
            return B50;
        case 110:
            return B110;
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        case 460800:
            return B460800;
        case 921600:
            return B921600;
        default:
            return B0;
    }
}

// strerror under the user's locale, so that the text comes in the user's
// language where the system has it; strerror_l keeps it thread-safe.
std::string ErrorText(int code) {
    locale_t user = newlocale(LC_ALL_MASK, "", locale_t{});
    if (user == locale_t{}) user = newlocale(LC_ALL_MASK, "C", locale_t{});
    if (user == locale_t{}) return "error " + std::to_string(code);
    std::string text = strerror_l(code, user);
    freelocale(user);
    return text;
}

SystemError Failure(int code) { return {code, ErrorText(code)}; }

bool IsPseudoTerminal(int fd) {
    // grantpt/ptsname work only on masters; the slave side names itself /dev/pts/N.
    const char* name = ttyname(fd);
    return name != nullptr && std::string_view(name).starts_with("/dev/pts/");
}
}  // namespace

SystemError LastError() { return Failure(errno); }

Handle Open(const char* path, SystemError& error) {
    error = {};
    int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = LastError();
        return kInvalidHandle;
    }
    // Exclusive like the original open-without-sharing; pseudo-terminals are
    // left shareable so that a simulator can keep its side open.
    if (!isatty(fd) || (!IsPseudoTerminal(fd) && ioctl(fd, TIOCEXCL) != 0)) {
        error = LastError();  // before close() can change errno
        ::close(fd);
        return kInvalidHandle;
    }
    return fd;
}

void Close(Handle h) {
    if (h != kInvalidHandle) ::close(static_cast<int>(h));
}

bool Apply(Handle h, const LineSettings& s) {
    const int fd = static_cast<int>(h);
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    switch (s.byteSize) {
        case 5:
            t.c_cflag |= CS5;
            break;
        case 6:
            t.c_cflag |= CS6;
            break;
        case 7:
            t.c_cflag |= CS7;
            break;
        default:
            t.c_cflag |= CS8;
            break;
    }
    // Parity is generated but not checked, as on the original line.
    if (s.parity == 1) t.c_cflag |= PARENB | PARODD;
    if (s.parity == 2) t.c_cflag |= PARENB;
    if (s.stopBits != 0) t.c_cflag |= CSTOPB;
    if (s.rtsCts) t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (s.xonXoff) t.c_iflag |= IXON | IXOFF;
    t.c_cc[VSTART] = 0x11;
    t.c_cc[VSTOP] = 0x13;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    const speed_t speed = SpeedFor(s.baudRate);
    if (speed == B0) {
        errno = EINVAL;  // so that LastError() names this failure, not an older one
        return false;
    }
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    if (tcsetattr(fd, TCSANOW, &t) != 0) return false;
    int bits = 0;
    if (ioctl(fd, TIOCMGET, &bits) == 0) {
        bits = s.dtrOn ? (bits | TIOCM_DTR) : (bits & ~TIOCM_DTR);
        if (!s.rtsCts) bits = s.rtsOn ? (bits | TIOCM_RTS) : (bits & ~TIOCM_RTS);
        ioctl(fd, TIOCMSET, &bits);  // pseudo-terminals have no modem lines
    }
    return true;
}

bool Purge(Handle h, bool input, bool output) {
    int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : output ? TCOFLUSH : -1;
    if (which < 0) return true;
    return tcflush(static_cast<int>(h), which) == 0;
}

bool SetQueueSizes(Handle, std::uint32_t, std::uint32_t) {
    return true;  // the kernel sizes its own queues
}

int OutputQueued(Handle h) {
    int n = 0;
    if (ioctl(static_cast<int>(h), TIOCOUTQ, &n) != 0) return -1;
    return n;
}

ReadStatus ReadWaiting(Handle h, std::uint8_t* buf, std::uint32_t capacity, std::uint32_t& got) {
    got = 0;
    const int fd = static_cast<int>(h);
    pollfd p{fd, POLLIN, 0};
    const int r = ::poll(&p, 1, 0);
    if (r < 0) return errno == EINTR ? ReadStatus::Nothing : ReadStatus::Failed;
    if (r == 0) return ReadStatus::Nothing;
    if (p.revents & POLLIN) {
        const ssize_t n = ::read(fd, buf, capacity);
        if (n > 0) {
            got = static_cast<std::uint32_t>(n);
            return ReadStatus::Ok;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return ReadStatus::Nothing;
        return ReadStatus::Failed;  // 0 after POLLIN means the other side is gone
    }
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return ReadStatus::Failed;
    return ReadStatus::Nothing;
}

long Write(Handle h, const std::uint8_t* data, std::uint32_t size) {
    const int fd = static_cast<int>(h);
    ssize_t n = ::write(fd, data, size);
    if (n >= 0) return n;
    if (errno != EAGAIN && errno != EINTR) return -1;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, kWriteWaitMs) <= 0 || !(p.revents & POLLOUT)) return 0;
    n = ::write(fd, data, size);
    if (n >= 0) return n;
    return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
}

bool ModemLines(Handle h, std::uint32_t& lines) {
    int bits = 0;
    lines = 0;
    if (ioctl(static_cast<int>(h), TIOCMGET, &bits) != 0) return false;
    if (bits & TIOCM_CTS) lines |= LineCTS;
    if (bits & TIOCM_DSR) lines |= LineDSR;
    if (bits & TIOCM_RNG) lines |= LineRING;
    if (bits & TIOCM_CAR) lines |= LineRLSD;
    return true;
}

std::uint32_t TickCount() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int MaxXonXoffLimit() { return 4096; }

OpenFailureCause OpenFailureCauseOf(int systemCode) {
    switch (systemCode) {
        case EACCES:
        case EPERM:
            return OpenFailureCause::NoPermission;
        case EBUSY:
        case EAGAIN:  // a lock held on the device
            return OpenFailureCause::Busy;
        case ENOENT:
        case ENXIO:
        case ENODEV:
            return OpenFailureCause::Gone;
        case ENOTTY:
            return OpenFailureCause::NotAPort;
        default:
            return OpenFailureCause::Unknown;
    }
}

const char* PortNamePrefix() { return "tty"; }

std::string PortPath(std::string_view text) {
    if (text.starts_with('/')) return std::string(text);
    if (text.starts_with(PortNamePrefix())) return "/dev/" + std::string(text);
    return {};
}

const char* DefaultPortName() { return "ttyUSB0"; }

}  // namespace serial::platform
