// The one reader of user-given files and the one writer of every file: only
// regular files are read, and a failed write never costs the old file.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <memory>

#include "device/AppError.h"
#include "device/FileStore.h"
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
    enum Step { Create, Write, ShortWrite, ZeroWrite, Sync, Close, Replace } step = Create;
    int after = 0;  // successful calls of that step before it fails
};
TFault g_fault;
int g_calls = 0;

bool Fails(TFault::Step step) { return g_fault.step == step && g_calls++ >= g_fault.after; }

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

    void write_existingFile_keepsPermissions() {
        QVERIFY(Put(Path("p.txt"), "old"));
        QVERIFY(QFile::setPermissions(Path("p.txt"), QFile::ReadOwner | QFile::WriteOwner));
        const QFile::Permissions before = QFile::permissions(Path("p.txt"));
        device::WriteFileSafely(Path("p.txt"), "new");
        QCOMPARE(QFile::permissions(Path("p.txt")), before);
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
    }
    void writeSet_laterFileFails_noTargetChangedErrorNamesIt() {
        QFETCH(int, step);
        QVERIFY(Put(Path("Track7.gpx"), "old gpx"));
        QVERIFY(Put(Path("Track7.enx"), "old enx"));
        g_fault.step = TFault::Step(step);
        // Replace: the first file's old copy steps aside and the new one moves
        // in (two calls), then the second file's old copy steps aside.
        g_fault.after = step == TFault::Replace ? 3 : 1;
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

    void writeSet_allWritten_everyTargetReplaced() {
        QVERIFY(Put(Path("a"), "old a"));
        device::WriteFilesSafely({{Path("a"), "new a"}, {Path("b"), "new b"}});
        QCOMPARE(Contents(Path("a")), QByteArray("new a"));
        QCOMPARE(Contents(Path("b")), QByteArray("new b"));
        QCOMPARE(Entries(folder_->path()), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
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

QTEST_GUILESS_MAIN(TestFileStore)
#include "tst_filestore.moc"
