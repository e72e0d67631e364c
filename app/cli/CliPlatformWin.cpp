#include <direct.h>

#include <QDir>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iterator>

#include "app/cli/CliPlatform.h"

namespace cli {

// Windows has no broken-pipe signal: the write fails and is reported.
void IgnoreBrokenPipe() {}

namespace {
constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGBREAK};
QByteArray g_notice;
void (*g_before[std::size(kEndSignals)])(int);

extern "C" void PrintNoticeAndEnd(int signal) {
    std::fputs(g_notice.constData(), stderr);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
}  // namespace

TInterruptNotice::TInterruptNotice(const QString& text) {
    g_notice = '\n' + text.toUtf8() + '\n';
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i)
        g_before[i] = std::signal(kEndSignals[i], PrintNoticeAndEnd);
}

TInterruptNotice::~TInterruptNotice() {
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i)
        std::signal(kEndSignals[i], g_before[i]);
}

// Windows takes every name as UTF-16 text, so the bytes are that text in UTF-8.
bool EnterFolder(const QByteArray& folder) {
    return !folder.isEmpty() && QDir::setCurrent(QString::fromUtf8(folder));
}

QString LastSystemReason() { return qt_error_string(errno); }

}  // namespace cli
