#include <signal.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <iterator>

#include "app/cli/CliPlatform.h"

namespace cli {

void IgnoreBrokenPipe() { ::signal(SIGPIPE, SIG_IGN); }

namespace {
constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};
// Made before the handler is installed: a handler may only write bytes.
QByteArray g_notice;
struct sigaction g_before[std::size(kEndSignals)];

extern "C" void PrintNoticeAndEnd(int signal) {
    const ssize_t ignored = ::write(STDERR_FILENO, g_notice.constData(), size_t(g_notice.size()));
    (void)ignored;
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}
}  // namespace

TInterruptNotice::TInterruptNotice(const QString& text) {
    g_notice = '\n' + text.toUtf8() + '\n';
    struct sigaction notice {};
    notice.sa_handler = PrintNoticeAndEnd;
    sigfillset(&notice.sa_mask);
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i)
        sigaction(kEndSignals[i], &notice, &g_before[i]);
}

TInterruptNotice::~TInterruptNotice() {
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i)
        sigaction(kEndSignals[i], &g_before[i], nullptr);
}

bool EnterFolder(const QByteArray& folder) {
    if (folder.isEmpty()) return false;
    if (folder.startsWith('/') && ::chdir("/") != 0) return false;
    for (const QByteArray& part : folder.split('/'))
        if (!part.isEmpty() && ::chdir(part.constData()) != 0) return false;
    return true;
}

QString LastSystemReason() { return qt_error_string(errno); }

}  // namespace cli
