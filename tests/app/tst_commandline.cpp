// The window program's command line, read before any window system exists.
#include <QTest>

#include "app/CommandLine.h"

using app::TCommandLine;

Q_DECLARE_METATYPE(TCommandLine::Action)
Q_DECLARE_METATYPE(TCommandLine::FileKind)

class TestCommandLine : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void parse_actionAndPort_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<TCommandLine::Action>("action");
        QTest::addColumn<QString>("port");
        const auto run = TCommandLine::Run;
        const auto refuse = TCommandLine::Refuse;
        QTest::newRow("nothing") << QStringList{} << run << QString();
        QTest::newRow("port then value") << QStringList{"--port", "/tmp/p"} << run << "/tmp/p";
        QTest::newRow("port=value") << QStringList{"--port=/tmp/q"} << run << "/tmp/q";
        QTest::newRow("port without value") << QStringList{"--port"} << refuse << QString();
        QTest::newRow("port= empty") << QStringList{"--port="} << refuse << QString();
        QTest::newRow("unknown long option") << QStringList{"--colour"} << refuse << QString();
        QTest::newRow("stray argument, no file's ending")
            << QStringList{"ttyUSB0"} << refuse << QString();
        QTest::newRow("toolkit option with its value")
            << QStringList{"-platform", "offscreen", "--port", "p"} << run << "p";
        QTest::newRow("toolkit option without value")
            << QStringList{"-reverse"} << run << QString();
        QTest::newRow("help") << QStringList{"--help"} << TCommandLine::ShowHelp << QString();
        QTest::newRow("short help") << QStringList{"-h"} << TCommandLine::ShowHelp << QString();
        QTest::newRow("help after an unknown option")
            << QStringList{"--colour", "--help"} << TCommandLine::ShowHelp << QString();
        QTest::newRow("version") << QStringList{"--version"} << TCommandLine::ShowVersion
                                 << QString();
        QTest::newRow("short version")
            << QStringList{"--port", "p", "-v"} << TCommandLine::ShowVersion << QString();
        QTest::newRow("a port named like an option") << QStringList{"--port", "-h"} << run << "-h";
        QTest::newRow("a toolkit value named like an option")
            << QStringList{"-title", "-v", "--port", "p"} << run << "p";
    }
    void parse_actionAndPort() {
        QFETCH(QStringList, arguments);
        QFETCH(TCommandLine::Action, action);
        QFETCH(QString, port);
        arguments.prepend(QStringLiteral("TolmarikProg"));
        const TCommandLine line = app::ParseCommandLine(arguments);
        QCOMPARE(line.action, action);
        QCOMPARE(line.port, port);
        QCOMPARE(line.error.isEmpty(), action != TCommandLine::Refuse);
    }

    void parse_transcript_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<TCommandLine::Action>("action");
        QTest::addColumn<QString>("transcript");
        const auto run = TCommandLine::Run;
        const auto refuse = TCommandLine::Refuse;
        QTest::newRow("file then value") << QStringList{"--transcript", "t.txt"} << run << "t.txt";
        QTest::newRow("file=value") << QStringList{"--transcript=t.txt"} << run << "t.txt";
        QTest::newRow("with port")
            << QStringList{"--port", "p", "--transcript", "t.txt"} << run << "t.txt";
        QTest::newRow("without value") << QStringList{"--transcript"} << refuse << QString();
        QTest::newRow("empty value") << QStringList{"--transcript="} << refuse << QString();
    }
    void parse_transcript() {
        QFETCH(QStringList, arguments);
        QFETCH(TCommandLine::Action, action);
        QFETCH(QString, transcript);
        arguments.prepend(QStringLiteral("TolmarikProg"));
        const TCommandLine line = app::ParseCommandLine(arguments);
        QCOMPARE(line.action, action);
        QCOMPARE(line.transcript, transcript);
    }

    void parse_file_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<TCommandLine::Action>("action");
        QTest::addColumn<TCommandLine::FileKind>("kind");
        QTest::addColumn<QString>("file");
        const auto run = TCommandLine::Run;
        const auto refuse = TCommandLine::Refuse;
        const auto settings = TCommandLine::SettingsFile;
        const auto flight = TCommandLine::FlightFile;
        const auto none = TCommandLine::NoFile;
        QTest::newRow("settings file") << QStringList{"a.bcf"} << run << settings << "a.bcf";
        QTest::newRow("settings, upper case")
            << QStringList{"C:\\Полёты\\A.BCF"} << run << settings << "C:\\Полёты\\A.BCF";
        QTest::newRow("IGC flight")
            << QStringList{"/home/p/2024-05-01.igc"} << run << flight << "/home/p/2024-05-01.igc";
        QTest::newRow("IGC, upper case") << QStringList{"F.IGC"} << run << flight << "F.IGC";
        QTest::newRow("GPX flight") << QStringList{"t.gpx"} << run << flight << "t.gpx";
        QTest::newRow("with a port before")
            << QStringList{"--port", "p", "a.bcf"} << run << settings << "a.bcf";
        QTest::newRow("after a toolkit option's value")
            << QStringList{"-style", "fusion", "f.igc"} << run << flight << "f.igc";
        QTest::newRow("a port's value is no file")
            << QStringList{"--port", "x.bcf"} << run << none << QString();
        QTest::newRow("other ending") << QStringList{"notes.txt"} << refuse << none << QString();
        QTest::newRow("ending inside the name")
            << QStringList{"a.bcf.txt"} << refuse << none << QString();
        QTest::newRow("two files") << QStringList{"a.bcf", "b.igc"} << refuse << none << QString();
        QTest::newRow("unknown option beside a file")
            << QStringList{"a.bcf", "--colour"} << refuse << none << QString();
    }
    void parse_file() {
        QFETCH(QStringList, arguments);
        QFETCH(TCommandLine::Action, action);
        QFETCH(TCommandLine::FileKind, kind);
        QFETCH(QString, file);
        arguments.prepend(QStringLiteral("TolmarikProg"));
        const TCommandLine line = app::ParseCommandLine(arguments);
        QCOMPARE(line.action, action);
        if (action == TCommandLine::Refuse) return;
        QCOMPARE(line.fileKind, kind);
        QCOMPARE(line.file, file);
    }

    void refusal_namesTheArgument() {
        const TCommandLine line = app::ParseCommandLine({"TolmarikProg", "--colour=red"});
        QVERIFY2(line.error.contains(QStringLiteral("--colour=red")), qPrintable(line.error));
        const TCommandLine two = app::ParseCommandLine({"TolmarikProg", "a.bcf", "b.bcf"});
        QVERIFY2(two.error.contains(QStringLiteral("b.bcf")), qPrintable(two.error));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
