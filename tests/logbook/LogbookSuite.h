#pragma once
// What the logbook suites share: a probe of the SQLite file from outside the
// logbook's code, test flights as IGC files and downloads, and the command
// line run with a data folder of its own (as an ordinary user where the test
// runs as root).
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include "LockHolder.h"
#include "LogbookFlights.h"
#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/TimeTexts.h"
#include "logbook/LockRetry.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookBackup.h"
#include "logbook/LogbookJobs.h"
#include "scoring/Optimizer.h"
#include "track/TrackExport.h"

using namespace logbook;
using tracktest::Time;

namespace {

class TNullMemo : public track::TMemoSink {
  public:
    void Clear() override {}
    void AddLine(const QString&) override {}
};

inline QByteArray Digest(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Runs `sql` on a connection of its own, outside the logbook's code.
inline QVariant Scalar(const QString& path, const QString& sql) {
    QVariant value;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        if (q.exec(sql) && q.next()) value = q.value(0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
    return value;
}

inline void WriteIgc(const QString& path, device::TrackTime start, float lat, float lon,
                     int seconds = 1800) {
    device::WriteFileSafely(path,
                            logbooktest::Igc(logbooktest::Download(start, lat, lon, seconds)));
}

inline TDownloadedFlight Downloaded(device::TrackTime start, float lat, float lon,
                                    int seconds = 900) {
    return {0, logbooktest::Checked(logbooktest::Download(start, lat, lon, seconds)), {}, {}, {},
            {}};
}

struct TCliRun {
    int status = -1;
    QString out;
    QString err;
};

// Windows reads no XDG_DATA_HOME, so there a child program's data folder is
// the user's own: the cases that need their own one run elsewhere.
#ifdef Q_OS_WIN
#define NEEDS_CHILD_DATA_FOLDER() QSKIP("Windows gives a child program no data folder of its own")
inline bool RunsAsRoot() { return false; }
#else
#define NEEDS_CHILD_DATA_FOLDER()
inline bool RunsAsRoot() { return ::geteuid() == 0; }
#endif

// The user the command line runs as where the test runs as root, for whom
// file modes do not hold.
constexpr int kNobody = 65534;
inline bool CanRunAsPilot() {
    return !RunsAsRoot() || !QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty();
}

// tolmarik-cli with its data folder `data` and working folder `cwd`;
// `asPilot`: as an ordinary user even when the test runs as root.
inline TCliRun RunCli(const QString& data, const QString& cwd, const QStringList& args,
                      bool asPilot = false) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), data);
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(cwd);
    if (asPilot && RunsAsRoot())
        child.start(QStringLiteral("setpriv"),
                    QStringList{QStringLiteral("--reuid=%1").arg(kNobody),
                                QStringLiteral("--regid=%1").arg(kNobody),
                                QStringLiteral("--clear-groups"), QStringLiteral(TOLMARIK_CLI)} +
                        args);
    else
        child.start(QStringLiteral(TOLMARIK_CLI), args);
    if (!child.waitForFinished(120000)) return {};
    return {child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1,
            QString::fromUtf8(child.readAllStandardOutput()),
            QString::fromUtf8(child.readAllStandardError())};
}

// Everything under `path` made the pilot's (see RunCli).
inline void GiveToPilot(const QString& path) {
#ifndef Q_OS_WIN
    if (!RunsAsRoot()) return;
    QVERIFY(::chown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0);
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        QVERIFY(::lchown(QFile::encodeName(it.next()).constData(), kNobody, kNobody) == 0);
#else
    Q_UNUSED(path);
#endif
}

// A file by the bytes of its name, past Qt, which cannot name it.
inline bool WriteRaw(const QByteArray& name, const QByteArray& bytes) {
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}

inline int FileCount(const QString& folder) {
    int count = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    for (; it.hasNext(); it.next()) ++count;
    return count;
}

const track::TPilotProfile kProfile{
    QStringLiteral("Иван Петров"), QStringLiteral("Rush 6"), QStringLiteral("RA-1"), {}, {}};

}  // namespace
