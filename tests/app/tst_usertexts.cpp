// Every user-facing text stands once in the product code: a Russian string
// literal that stands in two product files is a text kept twice, and the two
// copies drift apart. Short captions (a word or two) may name two controls.
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTest>

namespace {
// The line without its trailing comment; "//" inside a string stays.
QString CodeOf(const QString& line) {
    bool inString = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inString && c == QLatin1Char('\\')) {
            ++i;
        } else if (c == QLatin1Char('"')) {
            inString = !inString;
        } else if (!inString && c == QLatin1Char('/') && i + 1 < line.size() &&
                   line[i + 1] == QLatin1Char('/')) {
            return line.left(i);
        }
    }
    return line;
}
}  // namespace

class TestUserTexts : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void productSources_eachLongTextInOneFile() {
        const QDir root(QStringLiteral(TOLMARIK_SOURCE_DIR));
        const QStringList floors = {QStringLiteral("serial"),  QStringLiteral("device"),
                                    QStringLiteral("models"),  QStringLiteral("flow"),
                                    QStringLiteral("track"),   QStringLiteral("firmware"),
                                    QStringLiteral("scoring"), QStringLiteral("logbook"),
                                    QStringLiteral("app"),     QStringLiteral("sim")};
        static const QRegularExpression literal(QStringLiteral("\"([^\"\\\\]|\\\\.)*\""));
        static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
        QHash<QString, QString> firstFile;
        QStringList twice;
        int files = 0;
        for (const QString& floor : floors) {
            QDirIterator it(root.filePath(floor), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                            QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                QFile file(path);
                QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
                ++files;
                const QString relative = root.relativeFilePath(path);
                const QString text = QString::fromUtf8(file.readAll());
                for (const auto& line : text.split(QLatin1Char('\n'))) {
                    auto matches = literal.globalMatch(CodeOf(line));
                    while (matches.hasNext()) {
                        const QString found = matches.next().captured(0);
                        if (!found.contains(cyrillic) || found.size() < 16) continue;
                        const auto seen = firstFile.constFind(found);
                        if (seen == firstFile.constEnd())
                            firstFile.insert(found, relative);
                        else if (*seen != relative)
                            twice << QStringLiteral("%1 in %2 and %3").arg(found, *seen, relative);
                    }
                }
            }
        }
        QVERIFY(files > 40);
        QVERIFY2(twice.isEmpty(), qPrintable(twice.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestUserTexts)
#include "tst_usertexts.moc"
