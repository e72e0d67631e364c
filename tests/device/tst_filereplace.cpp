// The file store on the system's own file calls, as every platform has them
// (the POSIX file kinds have their own suite): replacing files in folders with
// Cyrillic names, a target another handle still has open, a failing step
// partway, and no temporary file left behind in any case; which names are the
// writer's own leftovers.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "device/AppError.h"
#include "device/FileStore.h"

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

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

template <typename Action>
QString ErrorOf(Action action) {
    try {
        action();
    } catch (const TAppError& e) {
        return e.Text();
    }
    return {};
}

// The system's calls with the flush made to fail, as a broken disk would.
const TFileCalls kFailingSync{
    [](const QString& path, QString& reason) {
        return device::SystemFileCalls().create(path, reason);
    },
    [](std::intptr_t file, const char* data, long long size, QString& reason) {
        return device::SystemFileCalls().write(file, data, size, reason);
    },
    [](std::intptr_t, QString& reason) {
        reason = QStringLiteral("устройство не готово");
        return -1;
    },
    [](std::intptr_t file, QString& reason) {
        return device::SystemFileCalls().close(file, reason);
    },
    [](const QString& from, const QString& to, QString& reason) {
        return device::SystemFileCalls().replace(from, to, reason);
    },
};

}  // namespace

class TestFileReplace : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> root_;
    QString folder_;  // a Cyrillic folder inside the temporary one
    QString Path(const QString& name) const { return folder_ + QLatin1Char('/') + name; }

  private Q_SLOTS:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        QVERIFY(root_->isValid());
        folder_ = root_->filePath(QStringLiteral("Полёты пилота"));
        QVERIFY(QDir().mkpath(folder_));
    }
    void cleanup() { device::SetFileCalls(nullptr); }

    void write_newAndExisting_replacedNoTemporaryLeft_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("existing");
        QTest::newRow("new, Latin name") << QStringLiteral("Track1.gpx") << false;
        QTest::newRow("existing, Latin name") << QStringLiteral("Track1.gpx") << true;
        QTest::newRow("new, Cyrillic name") << QStringLiteral("Настройки.bcf") << false;
        QTest::newRow("existing, Cyrillic name") << QStringLiteral("Настройки.bcf") << true;
    }
    void write_newAndExisting_replacedNoTemporaryLeft() {
        QFETCH(QString, name);
        QFETCH(bool, existing);
        if (existing) QVERIFY(Put(Path(name), QByteArray(5000, 'o')));
        const QByteArray bytes("line one\r\nline two\n\x1a\0end", 22);
        device::WriteFileSafely(Path(name), bytes);
        QCOMPARE(Contents(Path(name)), bytes);  // binary: no line ends changed
        QCOMPARE(Entries(folder_), QStringList{name});
        QCOMPARE(device::ReadRegularFile(Path(name), 1 << 20), bytes);
    }

    void write_targetOpenForReading_replacedOrRefusedButNeverLost() {
        QVERIFY(Put(Path("Track2.gpx"), "the old track"));
        QFile reader(Path("Track2.gpx"));
        QVERIFY(reader.open(QIODevice::ReadOnly));
        const QString error = ErrorOf([&] { device::WriteFileSafely(Path("Track2.gpx"), "new"); });
        reader.close();
        // Windows may refuse to replace a file another handle holds; then
        // the error names it and the old file stays whole.
        if (error.isEmpty()) {
            QCOMPARE(Contents(Path("Track2.gpx")), QByteArray("new"));
        } else {
            QVERIFY2(error.contains(QDir::toNativeSeparators(Path("Track2.gpx"))),
                     qPrintable(error));
            QCOMPARE(Contents(Path("Track2.gpx")), QByteArray("the old track"));
        }
        QCOMPARE(Entries(folder_), QStringList{QStringLiteral("Track2.gpx")});
    }

    void write_flushFails_oldFileIntactErrorNamesFile() {
        QVERIFY(Put(Path("keep.bcf"), "the good file"));
        device::SetFileCalls(&kFailingSync);
        const QString error = ErrorOf([&] { device::WriteFileSafely(Path("keep.bcf"), "bad"); });
        QCOMPARE(error, QStringLiteral("Не удалось записать файл \"%1\": устройство не готово")
                            .arg(QDir::toNativeSeparators(Path("keep.bcf"))));
        QCOMPARE(Contents(Path("keep.bcf")), QByteArray("the good file"));
        QCOMPARE(Entries(folder_), QStringList{QStringLiteral("keep.bcf")});
    }

    void write_missingFolder_errorNamesFileNothingMade() {
        const QString path = Path(QStringLiteral("нет/Track3.gpx"));
        const QString error = ErrorOf([&] { device::WriteFileSafely(path, "x"); });
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
        QVERIFY(Entries(folder_).isEmpty());
    }

    void writeSet_laterTargetFails_noTargetChanged() {
        QVERIFY(Put(Path("Track4.gpx"), "old gpx"));
        const QString bad = Path(QStringLiteral("нет/Track4.enx"));
        const QString error = ErrorOf([&] {
            device::WriteFilesSafely({{Path("Track4.gpx"), "new gpx"}, {bad, "new enx"}});
        });
        QVERIFY2(error.contains(QDir::toNativeSeparators(bad)), qPrintable(error));
        QCOMPARE(Contents(Path("Track4.gpx")), QByteArray("old gpx"));
        QCOMPARE(Entries(folder_), QStringList{QStringLiteral("Track4.gpx")});
    }

    void read_folderAndMissingFile_refusedWithTheirNames() {
        QVERIFY(!ErrorOf([&] { device::ReadRegularFile(folder_, 10); }).isEmpty());
        const QString missing = Path(QStringLiteral("нет.bcf"));
        const QString error = ErrorOf([&] { device::ReadRegularFile(missing, 10); });
        QVERIFY2(error.contains(QStringLiteral("нет.bcf")), qPrintable(error));
    }

    // Only these names are ever removed as an ended writer's leftovers.
    void temporaryFileWriter_onlyTheWritersOwnNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("writer");  // -1: not a leftover
        const auto row = [](const char* what, const QString& name, qint64 writer) {
            QTest::newRow(what) << name << writer;
        };
        row("temporary file", QStringLiteral(".Track1.gpx.tolmarik-4242-0123abcd.tmp"), 4242);
        row("old file kept", QStringLiteral(".Трек.igc.tolmarik-7-89abcdef.old"), 7);
        row("target named like one",
            QStringLiteral(".a.tolmarik-1-00000000.tmp.tolmarik-99-0123abcd.old"), 99);
        row("not hidden", QStringLiteral("Track1.gpx.tolmarik-7-0123abcd.tmp"), -1);
        row("no target name", QStringLiteral(".tolmarik-7-0123abcd.tmp"), -1);
        row("a dot for the target", QStringLiteral("..tolmarik-7-0123abcd.tmp"), -1);
        row("no writer", QStringLiteral(".a.tolmarik--0123abcd.tmp"), -1);
        row("writer not a number", QStringLiteral(".a.tolmarik-12x-0123abcd.tmp"), -1);
        row("writer in other digits", QStringLiteral(".a.tolmarik-١٢-0123abcd.tmp"), -1);
        row("writer beyond any id", QStringLiteral(".a.tolmarik-99999999999999999999-0123abcd.tmp"),
            -1);
        row("short random part", QStringLiteral(".a.tolmarik-12-0123abc.tmp"), -1);
        row("capital random part", QStringLiteral(".a.tolmarik-12-0123ABCD.tmp"), -1);
        row("other kind", QStringLiteral(".a.tolmarik-12-0123abcd.bak"), -1);
        row("more after the kind", QStringLiteral(".a.tolmarik-12-0123abcd.tmp~"), -1);
        row("the mark alone", QStringLiteral(".a.tolmarik-"), -1);
    }

    void temporaryFileWriter_onlyTheWritersOwnNames() {
        QFETCH(QString, name);
        QFETCH(qint64, writer);
        QCOMPARE(device::TemporaryFileWriter(name).value_or(-1), writer);
    }
};

QTEST_GUILESS_MAIN(TestFileReplace)
#include "tst_filereplace.moc"
