// The traffic record for bug reports: its line form and what the port writes
// into it.
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "serial/CPDrv.h"
#include "serial/Transcript.h"
#include "tests/support/WaitFor.h"

using namespace serial;

namespace {
QList<QByteArray> Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// The line without its time stamp: the simulator's own form.
QByteArray Traffic(const QByteArray& line) { return line.mid(line.indexOf(' ') + 1); }
}  // namespace

class TestTranscript : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void line_isTimeDirectionAndUpperHexBytes() {
        const std::uint8_t bytes[] = {0x7E, 0x0A, 0x00, 0xFF, 0x5c};
        QCOMPARE(TTranscript::Line("T", TTranscript::Sent, bytes, 5),
                 QByteArray("T > 7E 0A 00 FF 5C"));
        QCOMPARE(TTranscript::Line("T", TTranscript::Received, bytes, 1), QByteArray("T < 7E"));
    }

    void record_appendsToEarlierRecord_withTimeStamps() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("link.txt"));
        const std::uint8_t a[] = {1, 2};
        const std::uint8_t b[] = {0xAB};
        {
            TTranscript first;
            QVERIFY(first.Open(path));
            first.Record(TTranscript::Sent, a, 2);
        }
        TTranscript second;
        QVERIFY(second.Open(path));
        second.Record(TTranscript::Received, b, 1);
        second.Record(TTranscript::Received, b, 0);  // nothing to record
        const QList<QByteArray> lines = Lines(path);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(Traffic(lines[0]), QByteArray("> 01 02"));
        QCOMPARE(Traffic(lines[1]), QByteArray("< AB"));
        QVERIFY(QDateTime::fromString(QString::fromLatin1(lines[0].left(lines[0].indexOf(' '))),
                                      QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"))
                    .isValid());
        QVERIFY(!second.Incomplete());
    }

    void open_folderMissing_failsWithReason() {
        TTranscript transcript;
        QVERIFY(!transcript.Open(QStringLiteral("/nonexistent-tolmarik/link.txt")));
        QVERIFY(!transcript.IsOpen());
        QVERIFY(!transcript.Error().isEmpty());
    }

    // A FIFO would block the open for ever, a device would swallow the record.
    void open_notARegularFile_refusedAtOnce_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("device") << "device";
        QTest::newRow("folder") << "folder";
    }
    void open_notARegularFile_refusedAtOnce() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("t"));
        if (kind == QLatin1String("fifo")) QCOMPARE(::mkfifo(QFile::encodeName(path), 0600), 0);
        if (kind == QLatin1String("device")) path = QStringLiteral("/dev/full");
        if (kind == QLatin1String("folder")) QVERIFY(QDir().mkpath(path));
        TTranscript transcript;
        QVERIFY(!transcript.Open(path));
        QVERIFY(!transcript.IsOpen());
        QVERIFY(!transcript.Error().isEmpty());
    }

    void port_recordsWhatItSendsAndReceives() {
        int master = -1;
        int slave = -1;
        char name[128] = {};
        QCOMPARE(openpty(&master, &slave, name, nullptr, nullptr), 0);
        termios t{};
        tcgetattr(master, &t);
        cfmakeraw(&t);
        tcsetattr(master, TCSANOW, &t);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("link.txt"));
        TTranscript transcript;
        QVERIFY(transcript.Open(path));
        {
            TCommPortDriver port;
            port.SetPortName(QString::fromLocal8Bit(name));
            port.SetBaudRateValue(115200);
            port.SetPollingDelay(5);
            port.SetTranscript(&transcript);
            QVERIFY(port.Connect());
            const std::uint8_t request[] = {0x7E, 0x0A, 0x01};
            QCOMPARE(port.SendData(request, 3), 3u);
            const char reply[] = "\x14\x00\x05";
            QCOMPARE(::write(master, reply, 3), 3);
            TRY_COMPARE(Lines(path).size(), 2);
            port.Disconnect();
        }
        ::close(master);
        ::close(slave);
        const QList<QByteArray> lines = Lines(path);
        QCOMPARE(Traffic(lines[0]), QByteArray("> 7E 0A 01"));
        QCOMPARE(Traffic(lines[1]), QByteArray("< 14 00 05"));
    }
};

QTEST_GUILESS_MAIN(TestTranscript)
#include "tst_transcript.moc"
