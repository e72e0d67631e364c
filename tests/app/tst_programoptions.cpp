// --help and --version of the three programs, on a machine without a display,
// and the window program's refusal of what it does not know.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include "app/BuildInfo.h"
#include "tests/support/ManualPage.h"

namespace {
struct Result {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

Result RunWithoutDisplay(const QString& program, const QStringList& args) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(program, args);
    Result r;
    r.finished = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    if (!r.finished) p.kill();
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void AddPrograms() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("name");
    QTest::newRow("window program") << QStringLiteral(TOLMARIK_PROGRAM) << "TolmarikProg";
    QTest::newRow("command-line tool") << QStringLiteral(TOLMARIK_CLI) << "tolmarik-cli";
    QTest::newRow("simulator") << QStringLiteral(TOLMARIK_SIM) << "tolmarik-sim";
}
}  // namespace

class TestProgramOptions : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void version_noDisplay_nameAndProjectVersion_data() { AddPrograms(); }
    void version_noDisplay_nameAndProjectVersion() {
        QFETCH(QString, program);
        QFETCH(QString, name);
        const Result r = RunWithoutDisplay(program, {QStringLiteral("--version")});
        QVERIFY2(r.finished && r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.out, name + QLatin1Char(' ') + app::ProgramVersion() + QLatin1Char('\n'));
    }

    void help_noDisplay_usageOnStandardOutput_data() { AddPrograms(); }
    void help_noDisplay_usageOnStandardOutput() {
        QFETCH(QString, program);
        const Result r = RunWithoutDisplay(program, {QStringLiteral("--help")});
        QVERIFY2(r.finished && r.exitCode == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QStringLiteral("--version")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("--help")));
    }

    void windowProgram_help_namesPort() {
        const Result r =
            RunWithoutDisplay(QStringLiteral(TOLMARIK_PROGRAM), {QStringLiteral("-h")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QStringLiteral("--port ПОРТ")), qPrintable(r.out));
    }

    void windowProgram_refused_usageErrorWithoutWindow_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");  // what the refusal names
        QTest::newRow("unknown option") << QStringList{"--colour"} << "--colour";
        QTest::newRow("file of no known kind") << QStringList{"notes.txt"} << "notes.txt";
        QTest::newRow("second file") << QStringList{"a.bcf", "b.igc"} << "b.igc";
    }
    void windowProgram_refused_usageErrorWithoutWindow() {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        const Result r = RunWithoutDisplay(QStringLiteral(TOLMARIK_PROGRAM), args);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(named), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    void simulator_unknownOption_usageError() {
        const Result r =
            RunWithoutDisplay(QStringLiteral(TOLMARIK_SIM), {QStringLiteral("--colour")});
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 2);
    }

    // Both manual pages of the simulator tell of every option of its help,
    // which is the same in every language.
    void simulator_manualPage_describesEveryOption_data() {
        QTest::addColumn<QString>("page");
        QTest::newRow("English") << QStringLiteral(TOLMARIK_SIM_MANUAL);
        QTest::newRow("Russian") << QStringLiteral(TOLMARIK_SIM_MANUAL_RU);
    }
    void simulator_manualPage_describesEveryOption() {
        QFETCH(QString, page);
        const QString text = testsupport::ManualText(page);
        QVERIFY2(!text.isEmpty(), qPrintable(page));
        const Result r =
            RunWithoutDisplay(QStringLiteral(TOLMARIK_SIM), {QStringLiteral("--help")});
        QVERIFY2(r.finished && r.exitCode == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("--hang-up-mid-reply")));
        const QStringList undescribed =
            testsupport::UndescribedOptions(r.out, testsupport::ManualHeadings(text));
        QVERIFY2(undescribed.isEmpty(), qPrintable(undescribed.join(QLatin1Char(' '))));
    }
};

QTEST_GUILESS_MAIN(TestProgramOptions)
#include "tst_programoptions.moc"
