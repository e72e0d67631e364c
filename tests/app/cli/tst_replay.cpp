// Recorded sessions played again: each folder of tests/data/replay holds a
// transcript of an instrument's traffic, the console command that produced
// it and the files it wrote. Played back request by request, the same
// command must send the same requests and write the same files, byte for
// byte. A transcript of a real instrument joins the same way
// (scripts/record-replay makes one from the simulator).
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "flow/ExitCodes.h"
#include "sim/Replay.h"
#include "sim/Simulator.h"

namespace {
const QString kCases = QStringLiteral(TOLMARIK_TEST_DATA "/replay");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using TBytes = std::vector<std::uint8_t>;
}  // namespace

class TestReplay : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void readTranscript_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<std::vector<TBytes>>("requests");
        QTest::addColumn<std::vector<TBytes>>("replies");
        QTest::newRow("the console's record: times first, a reply over two ticks")
            << QByteArray(
                   "2026-12-10T04:49:26.000 > 7E 0A\n"
                   "2026-12-10T04:49:26.009 < 14 00\n"
                   "2026-12-10T04:49:26.109 < 9E\n")
            << std::vector<TBytes>{{0x7E, 0x0A}} << std::vector<TBytes>{{0x14, 0x00, 0x9E}};
        QTest::newRow("the simulator's record, with a dropped input and blank lines")
            << QByteArray("> 01\n< 02\n\n! A5 A5\n> 03\n< 04 05\n")
            << std::vector<TBytes>{{0x01}, {0x03}} << std::vector<TBytes>{{0x02}, {0x04, 0x05}};
        QTest::newRow("a block sent in pieces and a request sent again: one stream")
            << QByteArray("> 00 03\n> AA BB CC\n< 11\n> 7E\n> 7E\n< 14\n")
            << std::vector<TBytes>{{0x00, 0x03, 0xAA, 0xBB, 0xCC}, {0x7E, 0x7E}}
            << std::vector<TBytes>{{0x11}, {0x14}};
        QTest::newRow("bytes heard before the first request: a tail of another session")
            << QByteArray("< 99 98\n> 01\n< 02\n") << std::vector<TBytes>{{0x01}}
            << std::vector<TBytes>{{0x02}};
        QTest::newRow("an unanswered last request")
            << QByteArray("> 01\n< 02\n> 03\n") << std::vector<TBytes>{{0x01}, {0x03}}
            << std::vector<TBytes>{{0x02}, {}};
    }
    void readTranscript() {
        QFETCH(QByteArray, text);
        QFETCH(std::vector<TBytes>, requests);
        QFETCH(std::vector<TBytes>, replies);
        QString error;
        const auto exchanges = sim::ReadTranscript(text, &error);
        QVERIFY2(exchanges, qPrintable(error));
        QCOMPARE(exchanges->size(), requests.size());
        for (std::size_t i = 0; i < requests.size(); ++i) {
            QCOMPARE((*exchanges)[i].request, requests[i]);
            QCOMPARE((*exchanges)[i].reply, replies[i]);
        }
    }

    void readTranscript_refusesWhatIsNotOne_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("a word that is no byte")
            << QByteArray("> 7E 0A\n< 14 XYZ\n")
            << QStringLiteral("line 2 is not a transcript line");
        QTest::newRow("three hex digits")
            << QByteArray("> 7E0\n") << QStringLiteral("line 1 is not a transcript line");
        QTest::newRow("a line of another file")
            << QByteArray("Полет №13\n") << QStringLiteral("line 1 is not a transcript line");
    }
    void readTranscript_refusesWhatIsNotOne() {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        QString said;
        QVERIFY(!sim::ReadTranscript(text, &said));
        QCOMPARE(said, error);
    }

    void recordedSession_sameRequestsSameFiles_data() {
        QTest::addColumn<QString>("folder");
        const QStringList cases = QDir(kCases).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QVERIFY(cases.size() >= 3);
        for (const QString& name : cases)
            QTest::newRow(qPrintable(name)) << QDir(kCases).filePath(name);
    }
    void recordedSession_sameRequestsSameFiles() {
        QFETCH(QString, folder);
        QString error;
        auto exchanges =
            sim::ReadTranscript(ReadAll(folder + QStringLiteral("/transcript.log")), &error);
        QVERIFY2(exchanges && !exchanges->empty(), qPrintable(error));
        sim::TSimulator replay;
        replay.SetPaced(false);
        replay.SetReplay(std::move(*exchanges));
        QVERIFY(replay.Start());

        QTemporaryDir out, home;
        QStringList args{replay.PortPath()};
        for (const QString& word : QString::fromUtf8(ReadAll(folder + QStringLiteral("/command")))
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            args << QString(word).replace(QStringLiteral("{dir}"), out.path());
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(TOLMARIK_CLI), args);
        QVERIFY(cli.waitForFinished(120000));
        QVERIFY2(cli.exitCode() == flow::EC_OK, cli.readAllStandardError().constData());

        QCOMPARE(replay.ReplayMismatches(), 0);
        QCOMPARE(replay.ReplayExchangesLeft(), 0);
        const QDir expected(folder + QStringLiteral("/expected"));
        const QStringList files = expected.entryList(QDir::Files);
        QVERIFY(!files.isEmpty());
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), files);
        for (const QString& name : files)
            QVERIFY2(ReadAll(QDir(out.path()).filePath(name)) == ReadAll(expected.filePath(name)),
                     qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(TestReplay)
#include "tst_replay.moc"
