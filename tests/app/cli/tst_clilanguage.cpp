// tolmarik-cli speaks the user's language: Russian under a Russian locale,
// English under any other, each command's first line wholly in one of them.
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The first line the command prints, on either output.
QString FirstLine(const QStringList& args, const QString& locale, const QString& folder) {
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The suites' own choice of Russian must not hide the locale's.
    environment.remove(QStringLiteral("TOLMARIK_LANG"));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder);
    p.setProcessEnvironment(environment);
    p.setWorkingDirectory(folder);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(TOLMARIK_CLI), args);
    if (!p.waitForFinished(60000)) return QStringLiteral("(no end)");
    return QString::fromUtf8(p.readAll()).section(u'\n', 0, 0);
}
}  // namespace

class TestCliLanguage : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir folder_;

  private Q_SLOTS:
    void command_firstLineInEachLanguage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("russian");
        QTest::addColumn<QString>("english");
        // A port that cannot open: every port command's first report.
        const QString port = QDir(folder_.path()).filePath(QStringLiteral("no-folder/port"));
        const QString portRu = QStringLiteral("Невозможно открыть порт");
        const QString portEn = QStringLiteral("Cannot open the port");
        for (const char* command : {"identify", "stats", "download", "flights"})
            QTest::addRow("%s", command)
                << QStringList{port, QLatin1String(command)} << portRu << portEn;
        QTest::newRow("page") << QStringList{port, "page", "0"} << portRu << portEn;
        QTest::newRow("save") << QStringList{port, "save", "kept.bcf"} << portRu << portEn;
        QTest::newRow("set-timezone")
            << QStringList{port, "set-timezone", "3", "--yes"} << portRu << portEn;
        QTest::newRow("write: its file first") << QStringList{port, "write", "none.bcf", "--yes"}
                                               << "Не удалось открыть файл \"none.bcf\": "
                                               << "Could not open file \"none.bcf\": ";
        QTest::newRow("firmware: its file first")
            << QStringList{port, "firmware", "none.enc", "--yes"}
            << "Не удалось открыть файл \"none.enc\": "
            << "Could not open file \"none.enc\": ";
        QTest::newRow("not a port") << QStringList{"nosuch", "identify"} << "Не порт: nosuch"
                                    << "Not a port: nosuch";
        for (const char* command : {"bcf", "score", "analyse"})
            QTest::addRow("%s", command) << QStringList{QLatin1String(command), "none.igc"}
                                         << "Не удалось открыть файл \"none.igc\": "
                                         << "Could not open file \"none.igc\": ";
        QTest::newRow("kml") << QStringList{"kml", "none.igc", "out.kml"}
                             << "Не удалось открыть файл \"none.igc\": "
                             << "Could not open file \"none.igc\": ";
        QTest::newRow("logbook list")
            << QStringList{"logbook", "list"}
            << "№\tДата\tВзлёт\tВремя\tВысота, м\tТрек, км\tМесто\tКрыло\tXContest, б"
            << "#\tDate\tTake-off\tTime\tAltitude, m\tTrack, km\tSite\tGlider\tXContest, pts";
        QTest::newRow("usage error")
            << QStringList{"bogus"} << "tolmarik-cli: Не указана команда. См. --help."
            << "tolmarik-cli: No command given. See --help.";
        QTest::newRow("usage error of a command")
            << QStringList{port, "set-timezone", "99"}
            << "tolmarik-cli: Часовой пояс: целое число часов от -12 до +14 (например 3, -5, "
               "+14). См. --help."
            << "tolmarik-cli: The time zone is a whole number of hours from -12 to +14 (e.g. 3, "
               "-5, +14). See --help.";
        QTest::newRow("help") << QStringList{"--help"} << "Использование: "
                              << "Usage: ";
    }
    void command_firstLineInEachLanguage() {
        QFETCH(QStringList, args);
        QFETCH(QString, russian);
        QFETCH(QString, english);
        QVERIFY(folder_.isValid());
        const QString ru = FirstLine(args, QStringLiteral("ru_RU.UTF-8"), folder_.path());
        const QString en = FirstLine(args, QStringLiteral("en_US.UTF-8"), folder_.path());
        // A line may end with the system's reason or a path: the start is ours.
        QVERIFY2(ru.startsWith(russian), qPrintable(ru));
        QVERIFY2(en.startsWith(english), qPrintable(en));
        static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
        QVERIFY2(!en.contains(cyrillic), qPrintable(en));
    }

    // LC_MESSAGES alone chooses the language of the messages.
    void messagesLocale_chooses() {
        QProcess p;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TOLMARIK_LANG"));
        environment.remove(QStringLiteral("LC_ALL"));
        environment.remove(QStringLiteral("LANGUAGE"));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
        environment.insert(QStringLiteral("LC_MESSAGES"), QStringLiteral("ru_RU.UTF-8"));
        p.setProcessEnvironment(environment);
        p.start(QStringLiteral(TOLMARIK_CLI), {QStringLiteral("bogus")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()).trimmed(),
                 QStringLiteral("tolmarik-cli: Не указана команда. См. --help."));
    }
};

QTEST_GUILESS_MAIN(TestCliLanguage)
#include "tst_clilanguage.moc"
