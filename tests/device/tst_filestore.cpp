// The one reader of user-given files and the one writer of every file: only
// regular files are read, and a failed write never costs the old file.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <memory>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/FileSystem.h"
#include "device/TrackLists.h"
#include "models/UnitFileIO.h"
#include "track/TrackExport.h"

using device::TAppError;
using device::TFileCalls;

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll();
}

bool Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The error text of `action`, or "<none>" when it did not throw.
template <typename Action>
QString ErrorOf(Action action) {
    try {
        action();
    } catch (const TAppError& e) {
        return e.Text();
    }
    return QStringLiteral("<none>");
}

// A fault seam: which call fails, after how many successful ones.
struct TFault {
    enum Step { Create, Write, ShortWrite, ZeroWrite, Sync, Close, Replace, Keep } step = Create;
    int after = 0;          // successful calls of that step before it fails
    int failures = 100000;  // failing calls of that step before it works again
};
TFault g_fault;
int g_calls = 0;

bool Fails(TFault::Step step) {
    if (g_fault.step != step) return false;
    const int call = g_calls++;
    return call >= g_fault.after && call < g_fault.after + g_fault.failures;
}

const TFileCalls kFaultyCalls{
    [](const QString& path, QString& reason) -> std::intptr_t {
        if (Fails(TFault::Create)) {
            reason = qt_error_string(EACCES);
            return -1;
        }
        return device::SystemFileCalls().create(path, reason);
    },
    [](std::intptr_t file, const char* data, long long size, QString& reason) -> long long {
        const TFileCalls& system = device::SystemFileCalls();
        if (g_fault.step == TFault::ShortWrite && size > 1)
            return system.write(file, data, 1, reason);
        if (Fails(TFault::ZeroWrite)) return 0;
        if (g_fault.step == TFault::Write) {
            // Half of what is asked each time, until the disk is "full".
            if (g_calls++ < g_fault.after)
                return system.write(file, data, std::max(1LL, size / 2), reason);
            reason = qt_error_string(ENOSPC);
            return -1;
        }
        return system.write(file, data, size, reason);
    },
    [](std::intptr_t file, QString& reason) -> int {
        if (Fails(TFault::Sync)) {
            reason = qt_error_string(EIO);
            return -1;
        }
        return device::SystemFileCalls().sync(file, reason);
    },
    [](std::intptr_t file, QString& reason) -> int {
        const int closed = device::SystemFileCalls().close(file, reason);
        if (Fails(TFault::Close)) {
            reason = qt_error_string(EIO);
            return -1;
        }
        return closed;
    },
    [](const QString& from, const QString& to, QString& reason) -> int {
        if (Fails(TFault::Replace)) {
            reason = qt_error_string(EXDEV);
            return -1;
        }
        return device::SystemFileCalls().replace(from, to, reason);
    },
    [](const QString& existing, const QString& second, QString& reason) -> int {
        if (Fails(TFault::Keep)) {
            reason = qt_error_string(EMLINK);
            return -1;
        }
        return device::SystemFileCalls().keep(existing, second, reason);
    },
};

// A file system of 64 KiB, mounted for the test when it runs as root and
// the system lets it; otherwise `skipReason` says why not.
class TSmallDisk {
  public:
    explicit TSmallDisk(const QString& path) : path_(path) {
        if (geteuid() != 0) {
            skipReason = "a tmpfs can be mounted only as root";
            return;
        }
        QProcess mount;
        mount.start(QStringLiteral("mount"),
                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                     QStringLiteral("size=64k"), QStringLiteral("tmpfs"), path});
        if (!mount.waitForFinished() || mount.exitCode() != 0) {
            skipReason = "mount refused: " + mount.readAllStandardError().trimmed();
            return;
        }
        mounted_ = true;
    }
    ~TSmallDisk() {
        if (mounted_) QProcess::execute(QStringLiteral("umount"), {path_});
    }
    bool Mounted() const { return mounted_; }
    // Takes all free space but about `leave` bytes.
    bool Fill(qint64 leave) {
        QFile filler(QDir(path_).filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
        const QByteArray page(4096, 'f');
        qint64 total = 0;
        while (filler.write(page) == page.size()) total += page.size();
        filler.close();
        return filler.resize(std::max<qint64>(0, total - leave));
    }
    QByteArray skipReason;

  private:
    QString path_;
    bool mounted_ = false;
};

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

device::TrackSnapshot Lists(int gps, int eng) {
    device::TrackSnapshot lists;
    for (int i = 0; i < gps; ++i) {
        device::GpsListEntry entry;
        entry.record = {12, 0, 100, 0, 0, 0, 0x5E, 0x42, 0, 0, 0x16, 0x42};
        entry.time = device::FallbackTrackTime() + i;
        lists.gps.push_back(entry);
    }
    for (int i = 0; i < eng; ++i) {
        device::EngListEntry entry;
        entry.record = {6, 3, 0xF5, 0x03, 0xFF, 0xFF};
        entry.time = device::FallbackTrackTime() + i;
        lists.eng.push_back(entry);
    }
    return lists;
}

class TNullMemo : public track::TMemoSink {
  public:
    void Clear() override {}
    void AddLine(const QString&) override {}
};

// The child of the interrupted-commit test: writes a track set through calls
// that send `signal` to the process at call number `step` (counted over
// every call of the store) after naming the call on the standard error.
// Exits 0 when the set was written before that call came.
constexpr char kChildStep[] = "FILESTORE_CHILD_STEP";
constexpr char kChildSignal[] = "FILESTORE_CHILD_SIGNAL";
constexpr char kChildFolder[] = "FILESTORE_CHILD_FOLDER";
int g_childStep = -1;
int g_childSignal = 0;

void ChildCall(const char* name) {
    if (g_calls++ != g_childStep) return;
    std::fprintf(stderr, "%s\n", name);
    std::fflush(stderr);
    ::kill(::getpid(), g_childSignal);
}

const TFileCalls kChildCalls{
    [](const QString& path, QString& reason) -> std::intptr_t {
        ChildCall("create");
        return device::SystemFileCalls().create(path, reason);
    },
    [](std::intptr_t file, const char* data, long long size, QString& reason) -> long long {
        ChildCall("write");
        return device::SystemFileCalls().write(file, data, size, reason);
    },
    [](std::intptr_t file, QString& reason) -> int {
        ChildCall("sync");
        return device::SystemFileCalls().sync(file, reason);
    },
    [](std::intptr_t file, QString& reason) -> int {
        ChildCall("close");
        return device::SystemFileCalls().close(file, reason);
    },
    [](const QString& from, const QString& to, QString& reason) -> int {
        ChildCall("replace");
        return device::SystemFileCalls().replace(from, to, reason);
    },
    [](const QString& existing, const QString& second, QString& reason) -> int {
        ChildCall("keep");
        return device::SystemFileCalls().keep(existing, second, reason);
    },
};

const QByteArray kNewGpx("new gpx"), kNewEnx("new enx"), kNewIgc("new igc");

int RunCommitChild() {
    g_childStep = qEnvironmentVariableIntValue(kChildStep);
    g_childSignal = qEnvironmentVariableIntValue(kChildSignal);
    const QDir folder(qEnvironmentVariable(kChildFolder));
    device::SetFileCalls(&kChildCalls);
    device::WriteFilesSafely({{folder.filePath(QStringLiteral("Track7.gpx")), kNewGpx},
                              {folder.filePath(QStringLiteral("Track7.enx")), kNewEnx},
                              {folder.filePath(QStringLiteral("Track7.igc")), kNewIgc}});
    return 0;
}

// Makes `path` (raw bytes, relative to the current folder) and enters it.
bool EnterNewFolder(const QByteArray& path) {
    return ::mkdir(path.constData(), 0700) == 0 && ::chdir(path.constData()) == 0;
}

QByteArray RawContents(const char* name) {
    const int fd = ::open(name, O_RDONLY);
    if (fd < 0) return "<missing>";
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return QByteArray(buffer, n < 0 ? 0 : n);
}

}  // namespace

class TestFileStore : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<QTemporaryDir> folder_;
    QString Path(const char* name) const { return folder_->filePath(QLatin1String(name)); }

  private Q_SLOTS:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }
    void cleanup() {
        device::SetFileCalls(nullptr);
        g_fault = {};
        g_calls = 0;
    }

    // --- reading only regular files

    void read_regularFile_upToLimit() {
        QVERIFY(Put(Path("a.bin"), "0123456789"));
        QCOMPARE(device::ReadRegularFile(Path("a.bin"), 4), QByteArray("0123"));
        QCOMPARE(device::ReadRegularFile(Path("a.bin"), 100), QByteArray("0123456789"));
    }

    void read_specialFile_refusedAtOnce_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("fifo") << QStringLiteral("fifo");
        QTest::newRow("character device") << QStringLiteral("device");
        QTest::newRow("missing") << QStringLiteral("missing");
    }
    void read_specialFile_refusedAtOnce() {
        QFETCH(QString, kind);
        QString path = Path("special");
        if (kind == QLatin1String("folder")) QVERIFY(QDir().mkpath(path));
        if (kind == QLatin1String("fifo")) QCOMPARE(::mkfifo(QFile::encodeName(path), 0600), 0);
        if (kind == QLatin1String("device")) path = QStringLiteral("/dev/zero");
        // A blocking open of the FIFO would never return: the test would
        // time out instead of failing here.
        const QString error = ErrorOf([&] { device::ReadRegularFile(path, 4096); });
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
        if (kind == QLatin1String("folder"))
            QVERIFY2(error.contains(QStringLiteral("папка")), qPrintable(error));
        if (kind == QLatin1String("fifo") || kind == QLatin1String("device"))
            QVERIFY2(error.contains(QStringLiteral("не обычный файл")), qPrintable(error));
        if (kind == QLatin1String("missing"))
            QVERIFY2(error.contains(qt_error_string(ENOENT)), qPrintable(error));
    }

    void read_symbolicLinkToFile_followed() {
        QVERIFY(Put(Path("real"), "abc"));
        QVERIFY(QFile::link(Path("real"), Path("link")));
        QCOMPARE(device::ReadRegularFile(Path("link"), 10), QByteArray("abc"));
    }

    // --- writing one file

    void write_newAndExistingFile_contentReplaced() {
        device::WriteFileSafely(Path("f.txt"), "first");
        QCOMPARE(Contents(Path("f.txt")), QByteArray("first"));
        device::WriteFileSafely(Path("f.txt"), "second, longer");
        QCOMPARE(Contents(Path("f.txt")), QByteArray("second, longer"));
        QCOMPARE(Entries(folder_->path()), QStringList{QStringLiteral("f.txt")});
    }

    // Run as root, a download into a pilot's folder leaves the files his.
    void write_existingFile_keepsPermissionsAndOwner() {
        const QByteArray name = QFile::encodeName(Path("p.txt"));
        QVERIFY(Put(Path("p.txt"), "old"));
        QCOMPARE(::chmod(name, 0640), 0);
        const bool root = geteuid() == 0;
        if (root) QCOMPARE(::chown(name, 65534, 65534), 0);
        device::WriteFileSafely(Path("p.txt"), "new");
        struct stat st {};
        QCOMPARE(::stat(name, &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        QCOMPARE(st.st_uid, root ? uid_t(65534) : geteuid());
        QCOMPARE(Contents(Path("p.txt")), QByteArray("new"));
    }

    void write_throughSymbolicLink_targetUpdatedLinkKept() {
        QVERIFY(Put(Path("target"), "old"));
        QVERIFY(QFile::link(Path("target"), Path("link")));
        device::WriteFileSafely(Path("link"), "new");
        QVERIFY(QFileInfo(Path("link")).isSymLink());
        QCOMPARE(Contents(Path("target")), QByteArray("new"));
    }

    void write_specialTarget_refusedUntouched_data() {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("folder") << false;
        QTest::newRow("fifo") << true;
    }
    void write_specialTarget_refusedUntouched() {
        QFETCH(bool, fifo);
        const QString path = Path("special");
        if (fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(path), 0600), 0);
        else
            QVERIFY(QDir().mkpath(path));
        const QString error = ErrorOf([&] { device::WriteFileSafely(path, "x"); });
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось записать файл \"%1\"").arg(path)),
                 qPrintable(error));
        QCOMPARE(QFileInfo(path).isDir(), !fifo);
        QCOMPARE(Entries(folder_->path()),
                 fifo ? QStringList{QStringLiteral("special")} : QStringList{});
    }

    void write_failingStep_oldFileIntactErrorNamesFileAndReason_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("reason");
        QTest::newRow("create refused") << int(TFault::Create) << qt_error_string(EACCES);
        QTest::newRow("disk full mid-way") << int(TFault::Write) << qt_error_string(ENOSPC);
        QTest::newRow("write takes nothing") << int(TFault::ZeroWrite) << qt_error_string(ENOSPC);
        QTest::newRow("sync fails") << int(TFault::Sync) << qt_error_string(EIO);
        QTest::newRow("close fails") << int(TFault::Close) << qt_error_string(EIO);
        QTest::newRow("rename fails") << int(TFault::Replace) << qt_error_string(EXDEV);
    }
    void write_failingStep_oldFileIntactErrorNamesFileAndReason() {
        QFETCH(int, step);
        QFETCH(QString, reason);
        QVERIFY(Put(Path("keep.bcf"), "the good file"));
        g_fault.step = TFault::Step(step);
        g_fault.after = step == TFault::Write ? 1 : 0;
        device::SetFileCalls(&kFaultyCalls);
        const QByteArray big(100000, 'n');
        const QString error = ErrorOf([&] { device::WriteFileSafely(Path("keep.bcf"), big); });
        QCOMPARE(error, QStringLiteral("Не удалось записать файл \"%1\": %2")
                            .arg(QDir::toNativeSeparators(Path("keep.bcf")), reason));
        QCOMPARE(Contents(Path("keep.bcf")), QByteArray("the good file"));
        QCOMPARE(Entries(folder_->path()), QStringList{QStringLiteral("keep.bcf")});
    }

    void write_shortWrites_allBytesWritten() {
        g_fault.step = TFault::ShortWrite;
        device::SetFileCalls(&kFaultyCalls);
        device::WriteFileSafely(Path("short"), "several bytes one at a time");
        QCOMPARE(Contents(Path("short")), QByteArray("several bytes one at a time"));
    }

    // --- writing a set

    void writeSet_laterFileFails_noTargetChangedErrorNamesIt_data() {
        QTest::addColumn<int>("step");
        QTest::newRow("second file cannot be created") << int(TFault::Create);
        QTest::newRow("second file does not reach the disk") << int(TFault::Sync);
        QTest::newRow("second file put in place") << int(TFault::Replace);
        QTest::newRow("second old file cannot be kept") << int(TFault::Keep);
    }
    void writeSet_laterFileFails_noTargetChangedErrorNamesIt() {
        QFETCH(int, step);
        QVERIFY(Put(Path("Track7.gpx"), "old gpx"));
        QVERIFY(Put(Path("Track7.enx"), "old enx"));
        g_fault.step = TFault::Step(step);
        g_fault.after = 1;
        g_fault.failures = 1;
        device::SetFileCalls(&kFaultyCalls);
        const QString error = ErrorOf([&] {
            device::WriteFilesSafely({{Path("Track7.gpx"), "new gpx"},
                                      {Path("Track7.enx"), "new enx"},
                                      {Path("Track7.igc"), "new igc"}});
        });
        QVERIFY2(error.contains(QDir::toNativeSeparators(Path("Track7.enx"))), qPrintable(error));
        QVERIFY2(!error.contains(QStringLiteral("Track7.gpx")), qPrintable(error));
        QCOMPARE(Contents(Path("Track7.gpx")), QByteArray("old gpx"));
        QCOMPARE(Contents(Path("Track7.enx")), QByteArray("old enx"));
        QCOMPARE(Entries(folder_->path()),
                 (QStringList{QStringLiteral("Track7.enx"), QStringLiteral("Track7.gpx")}));
    }

    void writeSet_oldFileCannotBeBroughtBack_keptVisibleAndNamed() {
        QVERIFY(Put(Path("Track7.gpx"), "old gpx"));
        QVERIFY(Put(Path("Track7.enx"), "old enx"));
        g_fault.step = TFault::Replace;
        g_fault.after = 1;     // the GPX file is put in place,
        g_fault.failures = 2;  // the ENX file is not, nor is the old GPX file brought back
        device::SetFileCalls(&kFaultyCalls);
        const QString error = ErrorOf([&] {
            device::WriteFilesSafely(
                {{Path("Track7.gpx"), "new gpx"}, {Path("Track7.enx"), "new enx"}});
        });
        const QString kept = folder_->filePath(QStringLiteral("Track7.gpx.прежний"));
        QVERIFY2(error.contains(QDir::toNativeSeparators(Path("Track7.enx"))), qPrintable(error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(kept)), qPrintable(error));
        QCOMPARE(Contents(kept), QByteArray("old gpx"));
        QCOMPARE(Contents(Path("Track7.enx")), QByteArray("old enx"));
        device::SetFileCalls(nullptr);
        device::WriteFileSafely(Path("other"), "x");  // the cleaning of leftovers spares it
        QCOMPARE(Contents(kept), QByteArray("old gpx"));
    }

    void writeSet_allWritten_everyTargetReplaced() {
        QVERIFY(Put(Path("a"), "old a"));
        device::WriteFilesSafely({{Path("a"), "new a"}, {Path("b"), "new b"}});
        QCOMPARE(Contents(Path("a")), QByteArray("new a"));
        QCOMPARE(Contents(Path("b")), QByteArray("new b"));
        QCOMPARE(Entries(folder_->path()), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    }

    // --- links, read-only files, odd names

    void write_linkNotOurs_refusedNamedNothingWritten_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("dangling link") << "dangling" << device::filesystem::DanglingLinkReason();
        QTest::newRow("link to a link") << "chain" << device::filesystem::LinkChainReason();
        QTest::newRow("link of another user")
            << "foreign link" << device::filesystem::ForeignLinkReason();
        QTest::newRow("link to another user's file")
            << "foreign target" << device::filesystem::ForeignLinkReason();
    }
    void write_linkNotOurs_refusedNamedNothingWritten() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const bool foreign = kind.startsWith(QLatin1String("foreign"));
        if (foreign && geteuid() != 0) QSKIP("only root can give a file to another user");
        const QByteArray link = QFile::encodeName(Path("Track13.gpx"));
        const QByteArray target = QFile::encodeName(Path("victim"));
        if (kind != QLatin1String("dangling")) QVERIFY(Put(Path("victim"), "precious"));
        if (kind == QLatin1String("chain")) {
            QVERIFY(QFile::link(Path("victim"), Path("middle")));
            QVERIFY(QFile::link(Path("middle"), Path("Track13.gpx")));
        } else {
            QVERIFY(QFile::link(Path("victim"), Path("Track13.gpx")));
        }
        if (kind == QLatin1String("foreign link")) QCOMPARE(::lchown(link, 65534, 65534), 0);
        if (kind == QLatin1String("foreign target")) QCOMPARE(::chown(target, 65534, 65534), 0);
        const QStringList before = Entries(folder_->path());

        const QString error = ErrorOf([&] { device::WriteFileSafely(Path("Track13.gpx"), "x"); });
        QCOMPARE(error, QStringLiteral("Не удалось записать файл \"%1\": %2")
                            .arg(QDir::toNativeSeparators(Path("Track13.gpx")), reason));
        QCOMPARE(Entries(folder_->path()), before);
        QVERIFY(QFileInfo(Path("Track13.gpx")).isSymLink());
        if (kind == QLatin1String("chain")) QVERIFY(QFileInfo(Path("middle")).isSymLink());
        QCOMPARE(Contents(Path("victim")),
                 QByteArray(kind == QLatin1String("dangling") ? "<missing>" : "precious"));
    }

    void write_readOnlyFile_refusedModeAndContentKept() {
        QVERIFY(Put(Path("Track2.gpx"), "old"));
        QCOMPARE(::chmod(QFile::encodeName(Path("Track2.gpx")), 0444), 0);
        const QString error = ErrorOf([&] {
            device::WriteFilesSafely({{Path("Track2.enx"), "enx"}, {Path("Track2.gpx"), "gpx"}});
        });
        QCOMPARE(error, QStringLiteral("Не удалось записать файл \"%1\": %2")
                            .arg(QDir::toNativeSeparators(Path("Track2.gpx")),
                                 device::filesystem::ReadOnlyReason()));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(Path("Track2.gpx")), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0444));
        QCOMPARE(Contents(Path("Track2.gpx")), QByteArray("old"));
        QCOMPARE(Entries(folder_->path()), QStringList{QStringLiteral("Track2.gpx")});
    }

    // Names no text can hold (bytes that are not UTF-8) and paths longer
    // than the system takes at once are reached from the folder itself.
    void write_oddFolders_relativeNamesWritten_data() {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<int>("depth");
        QTest::newRow("not UTF-8") << QByteArray("\xff\xfe-\xc3(") << 1;
        QTest::newRow("past the path limit") << QByteArray(200, 'd') << PATH_MAX / 200 + 2;
    }
    void write_oddFolders_relativeNamesWritten() {
        QFETCH(QByteArray, folder);
        QFETCH(int, depth);
        const QString start = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder_->path()));
        for (int i = 0; i < depth; ++i) QVERIFY(EnterNewFolder(folder));
        device::WriteFilesSafely(
            {{QStringLiteral("Track1.gpx"), "old gpx"}, {QStringLiteral("./Track1.enx"), "enx"}});
        device::WriteFileSafely(QStringLiteral("Track1.gpx"), "new gpx");
        const QByteArray gpx = RawContents("Track1.gpx");
        const QByteArray enx = RawContents("Track1.enx");
        const QStringList entries = Entries(QStringLiteral("."));
        QVERIFY(QDir::setCurrent(start));
        // Neither kind of folder can be removed by name from here.
        QCOMPARE(QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), folder_->path()}),
                 0);
        QCOMPARE(gpx, QByteArray("new gpx"));
        QCOMPARE(enx, QByteArray("enx"));
        QCOMPARE(entries,
                 (QStringList{QStringLiteral("Track1.enx"), QStringLiteral("Track1.gpx")}));
    }

    // --- leftovers and interrupted commits

    void write_leftoversOfEndedWriters_removedOthersKept() {
        QProcess ended;
        ended.start(QStringLiteral("true"));
        QVERIFY(ended.waitForStarted());
        const qint64 gone = ended.processId();
        QVERIFY(ended.waitForFinished());
        const QString mine = QString::number(QCoreApplication::applicationPid());
        const QString dead = QString::number(gone);
        const QStringList keep{QStringLiteral(".a.tolmarik-%1-0123abcd.tmp").arg(mine),
                               QStringLiteral(".a.tmp"),
                               QStringLiteral("b.tolmarik-%1-0123abcd.tmp").arg(dead)};
        const QStringList remove{QStringLiteral(".a.tolmarik-%1-0123abcd.tmp").arg(dead),
                                 QStringLiteral(".Track1.gpx.tolmarik-%1-89abcdef.old").arg(dead)};
        for (const QString& name : keep + remove) QVERIFY(Put(folder_->filePath(name), "x"));
        device::WriteFileSafely(Path("a"), "new");
        QStringList expected = keep + QStringList{QStringLiteral("a")};
        expected.sort();
        QCOMPARE(Entries(folder_->path()), expected);
    }

    // The child is stopped at every call of the store in turn. Killed, it
    // leaves every visible file old or new, never missing, and its
    // leftovers go at the next write. A signal that ends a program waits
    // while files are put in place: then the whole set is new.
    void writeSet_interruptedAtEachCall_noFileLost_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("killed") << int(SIGKILL);
        QTest::newRow("terminated") << int(SIGTERM);
        QTest::newRow("interrupted") << int(SIGINT);
        QTest::newRow("hung up") << int(SIGHUP);
    }
    void writeSet_interruptedAtEachCall_noFileLost() {
        QFETCH(int, signal);
        int step = 0;
        for (;; ++step) {
            QVERIFY2(step < 100, "the child never finished");
            QTemporaryDir dir;
            const QDir d(dir.path());
            QVERIFY(Put(d.filePath(QStringLiteral("Track7.gpx")), "old gpx"));
            QVERIFY(Put(d.filePath(QStringLiteral("Track7.enx")), "old enx"));
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QLatin1String(kChildStep), QString::number(step));
            environment.insert(QLatin1String(kChildSignal), QString::number(signal));
            environment.insert(QLatin1String(kChildFolder), dir.path());
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForFinished(30000));
            const QByteArray call = child.readAllStandardError().trimmed();
            const QByteArray gpx = Contents(d.filePath(QStringLiteral("Track7.gpx")));
            const QByteArray enx = Contents(d.filePath(QStringLiteral("Track7.enx")));
            const QByteArray igc = Contents(d.filePath(QStringLiteral("Track7.igc")));
            const QString row = QStringLiteral("step %1 (%2)").arg(step).arg(QLatin1String(call));
            if (call.isEmpty()) {
                QCOMPARE(child.exitStatus(), QProcess::NormalExit);
                QCOMPARE(child.exitCode(), 0);
                QCOMPARE(gpx + enx + igc, kNewGpx + kNewEnx + kNewIgc);
                break;
            }
            QVERIFY2(child.exitStatus() == QProcess::CrashExit, qPrintable(row));
            const bool committing = call == "keep" || call == "replace";
            if (signal != SIGKILL && committing) {
                QVERIFY2(gpx + enx + igc == kNewGpx + kNewEnx + kNewIgc, qPrintable(row));
                QVERIFY2(Entries(dir.path()).size() == 3, qPrintable(row));
            } else {
                QVERIFY2(gpx == "old gpx" || gpx == kNewGpx, qPrintable(row + gpx));
                QVERIFY2(enx == "old enx" || enx == kNewEnx, qPrintable(row + enx));
                QVERIFY2(igc == "<missing>" || igc == kNewIgc, qPrintable(row + igc));
            }
            device::WriteFileSafely(d.filePath(QStringLiteral("next")), "x");
            QStringList expected{QStringLiteral("Track7.enx"), QStringLiteral("Track7.gpx"),
                                 QStringLiteral("next")};
            if (igc != "<missing>") expected.insert(2, QStringLiteral("Track7.igc"));
            QVERIFY2(Entries(dir.path()) == expected,
                     qPrintable(row + Entries(dir.path()).join(QLatin1Char(' '))));
        }
        // create, write, sync, close for three files, two old files kept, three renames
        QVERIFY2(step >= 17, qPrintable(QString::number(step)));
    }

    // --- a really full file system

    void fullDisk_bcfGpxEnx_oldFilesIntact() {
        const QString mountPoint = Path("disk");
        QVERIFY(QDir().mkpath(mountPoint));
        TSmallDisk disk(mountPoint);
        if (!disk.Mounted()) QSKIP(disk.skipReason.constData());
        const QDir d(mountPoint);

        // ".bcf": the disk has no page left for the new file.
        QVERIFY(Put(d.filePath(QStringLiteral("s.bcf")), "old settings"));
        QVERIFY(Put(d.filePath(QStringLiteral("Track3.gpx")), "old gpx"));
        QVERIFY(Put(d.filePath(QStringLiteral("Track3.enx")), "old enx"));
        QVERIFY(disk.Fill(0));
        const std::uint8_t config[150] = {};
        const QString bcfError = ErrorOf(
            [&] { models::SaveConfigFile(d.filePath(QStringLiteral("s.bcf")), 100, config); });
        QVERIFY2(bcfError.contains(qt_error_string(ENOSPC)), qPrintable(bcfError));
        QCOMPARE(Contents(d.filePath(QStringLiteral("s.bcf"))), QByteArray("old settings"));

        // GPX and ENX: room for the small GPX file, not for the big ENX file.
        QVERIFY(QFile::remove(d.filePath(QStringLiteral("filler"))));
        QVERIFY(disk.Fill(12 * 1024));
        TNullMemo memo;
        track::TTrackFileOptions options;
        options.igc = false;
        const QString trackError =
            ErrorOf([&] { track::WriteTrackFiles(3, Lists(2, 3000), memo, mountPoint, options); });
        QVERIFY2(trackError.contains(QStringLiteral("Track3.enx")), qPrintable(trackError));
        QVERIFY2(trackError.contains(qt_error_string(ENOSPC)), qPrintable(trackError));
        QCOMPARE(Contents(d.filePath(QStringLiteral("Track3.gpx"))), QByteArray("old gpx"));
        QCOMPARE(Contents(d.filePath(QStringLiteral("Track3.enx"))), QByteArray("old enx"));
        QCOMPARE(Entries(mountPoint),
                 (QStringList{QStringLiteral("Track3.enx"), QStringLiteral("Track3.gpx"),
                              QStringLiteral("filler"), QStringLiteral("s.bcf")}));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(kChildStep)) return RunCommitChild();
    QCoreApplication application(argc, argv);
    TestFileStore test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_filestore.moc"
