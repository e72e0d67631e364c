// Every Russian text in the product code is marked for translation, and the
// English catalogue holds a finished translation of each marked text and no
// text the code no longer has.
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
const QDir kRoot(QStringLiteral(TOLMARIK_SOURCE_DIR));

// Texts that are data rather than words for the user to read.
struct TException {
    const char* file;
    const char* literal;
    const char* why;
};
const TException kExceptions[] = {
    {"app/ConsoleAnswer.cpp", "\"да\"", "an answer typed at the terminal, taken in any language"},
    {"app/ConsoleAnswer.cpp", "\"д\"", "an answer typed at the terminal, taken in any language"},
    {"app/ConsoleAnswer.cpp", "\"нет\"", "an answer typed at the terminal, taken in any language"},
    {"app/ConsoleAnswer.cpp", "\"н\"", "an answer typed at the terminal, taken in any language"},
};

bool Excepted(const QString& file, const QString& literal) {
    for (const TException& e : kExceptions)
        if (file == QLatin1String(e.file) && literal == QString::fromUtf8(e.literal)) return true;
    return false;
}

// The code without its comments, each comment's characters blanked so that
// positions and lines stay; string and character literals kept.
QString WithoutComments(const QString& text) {
    QString code = text;
    enum { Code, String, Char, Line, Block } state = Code;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        const QChar next = i + 1 < code.size() ? code[i + 1] : QChar();
        switch (state) {
            case Code:
                if (c == u'"')
                    state = String;
                else if (c == u'\'')
                    state = Char;
                else if (c == u'/' && next == u'/')
                    state = Line;
                else if (c == u'/' && next == u'*')
                    state = Block;
                break;
            case String:
            case Char:
                if (c == u'\\')
                    ++i;
                else if (c == (state == String ? u'"' : u'\''))
                    state = Code;
                break;
            case Line:
                if (c == u'\n') state = Code;
                break;
            case Block:
                if (c == u'*' && next == u'/') {
                    code[i] = code[i + 1] = u' ';
                    ++i;
                    state = Code;
                }
                break;
        }
        if ((state == Line || state == Block) && c != u'\n') code[i] = u' ';
    }
    return code;
}

// The Russian literals of `relative` that stand outside tr(), translate()
// and the NOOP markers, as "file:line: literal". Adjacent literals make one
// text, marked by what stands before the first.
QStringList UnmarkedTexts(const QString& relative) {
    QFile file(kRoot.filePath(relative));
    if (!file.open(QIODevice::ReadOnly)) return {relative + QStringLiteral(": unreadable")};
    const QString code = WithoutComments(QString::fromUtf8(file.readAll()));
    static const QRegularExpression group(
        QStringLiteral("(?:u8)?\"(?:[^\"\\\\\\n]|\\\\.)*\"(?:\\s*\"(?:[^\"\\\\\\n]|\\\\.)*\")*"));
    // The numero sign too: English writes "No." or "#".
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}\\x{2116}]"));
    static const QRegularExpression marked(QStringLiteral(
        "(?:\\btr|QT_TR_NOOP|QT_TR_N_NOOP)\\(\\s*$|"
        "(?:\\btranslate|QT_TRANSLATE_NOOP|QT_TRANSLATE_N_NOOP)\\(\\s*\"[^\"]*\"\\s*,\\s*$"));
    QStringList found;
    for (const QRegularExpressionMatch& m : group.globalMatch(code)) {
        const QString literal = m.captured(0);
        if (!literal.contains(cyrillic) || Excepted(relative, literal)) continue;
        const QString before =
            code.mid(qMax(0, m.capturedStart() - 200), qMin<qsizetype>(200, m.capturedStart()));
        if (before.contains(marked)) continue;
        const qsizetype line = code.left(m.capturedStart()).count(u'\n') + 1;
        found << QStringLiteral("%1:%2: %3").arg(relative).arg(line).arg(literal);
    }
    return found;
}

struct TCatalogueEntry {
    QString context;
    QString source;
    QString type;  // "unfinished", "vanished", "obsolete" or empty
    int forms = 0;
    bool numerus = false;
};

std::vector<TCatalogueEntry> ReadCatalogue(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&file);
    std::vector<TCatalogueEntry> entries;
    QString context;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement()) continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            TCatalogueEntry e{
                context,
                {},
                {},
                0,
                xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes")};
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source")) {
                    e.source = xml.readElementText();
                } else if (xml.name() == QLatin1String("translation")) {
                    e.type = xml.attributes().value(QLatin1String("type")).toString();
                    if (e.numerus) {
                        while (xml.readNextStartElement())
                            if (!xml.readElementText().isEmpty()) ++e.forms;
                    } else {
                        e.forms = xml.readElementText().isEmpty() ? 0 : 1;
                    }
                } else {
                    xml.skipCurrentElement();
                }
            }
            entries.push_back(e);
        }
    }
    return entries;
}
}  // namespace

class TestTranslationMarks : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void productFolder_everyRussianTextMarked_data() {
        QTest::addColumn<QString>("folder");
        for (const char* folder : {"serial", "device", "models", "flow", "firmware", "app", "sim",
                                   "track", "scoring", "logbook"})
            QTest::newRow(folder) << QString::fromLatin1(folder);
    }
    void productFolder_everyRussianTextMarked() {
        QFETCH(QString, folder);
        QStringList files;
        QDirIterator it(kRoot.filePath(folder), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) files << kRoot.relativeFilePath(it.next());
        if (folder == QLatin1String("app")) files << QStringLiteral("main.cpp");
        QVERIFY(!files.isEmpty());
        QStringList unmarked;
        for (const QString& file : files) unmarked << UnmarkedTexts(file);
        QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(u'\n')));
    }

    // The scan itself: each way a text is marked passes, a bare one does not.
    void scan_tellsMarkedFromBare_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("bare");
        QTest::newRow("tr") << "x = tr(\"Порт\");" << false;
        QTest::newRow("translate") << "translate(\"flow\", \"Порт\")" << false;
        QTest::newRow("translate, lines joined")
            << "translate(\"flow\",\n  \"Порт \"\n  \"занят\")" << false;
        QTest::newRow("table marker") << "{1, QT_TRANSLATE_NOOP(\"models\", \"Прибор\")}" << false;
        QTest::newRow("in a comment") << "x = 1;  // \"Порт\"" << false;
        QTest::newRow("bare literal") << "x = QStringLiteral(\"Порт\");" << true;
        QTest::newRow("second of two arguments") << "f(tr(\"a\"), \"Порт\")" << true;
        QTest::newRow("English") << "x = QStringLiteral(\"Port\");" << false;
    }
    void scan_tellsMarkedFromBare() {
        QFETCH(QString, code);
        QFETCH(bool, bare);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("probe.cpp")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(code.toUtf8());
        file.close();
        QCOMPARE(!UnmarkedTexts(kRoot.relativeFilePath(file.fileName())).isEmpty(), bare);
    }

    // lupdate over the code into a copy of the catalogue: a text it adds is
    // untranslated, a text it keeps but the code lost is vanished.
    void englishCatalogue_finishedAndCurrent() {
#ifndef TOLMARIK_LUPDATE
        QSKIP("lupdate runs on the build machine only");
#else
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("tolmarik_en.ts"));
        QVERIFY(QFile::copy(kRoot.filePath(QStringLiteral("i18n/tolmarik_en.ts")), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        QProcess lupdate;
        lupdate.setWorkingDirectory(kRoot.path());
        lupdate.start(QStringLiteral(TOLMARIK_LUPDATE), {QStringLiteral("-I"),
                                                         QStringLiteral("."),
                                                         QStringLiteral("-locations"),
                                                         QStringLiteral("none"),
                                                         QStringLiteral("-source-language"),
                                                         QStringLiteral("ru"),
                                                         QStringLiteral("-target-language"),
                                                         QStringLiteral("en"),
                                                         QStringLiteral("serial"),
                                                         QStringLiteral("device"),
                                                         QStringLiteral("models"),
                                                         QStringLiteral("flow"),
                                                         QStringLiteral("track"),
                                                         QStringLiteral("firmware"),
                                                         QStringLiteral("scoring"),
                                                         QStringLiteral("logbook"),
                                                         QStringLiteral("app"),
                                                         QStringLiteral("sim"),
                                                         QStringLiteral("main.cpp"),
                                                         QStringLiteral("-ts"),
                                                         copy});
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);
        const std::vector<TCatalogueEntry> entries = ReadCatalogue(copy);
        QVERIFY(entries.size() > 150);
        QStringList wrong;
        for (const TCatalogueEntry& e : entries) {
            const int wanted = e.numerus ? 2 : 1;
            if (!e.type.isEmpty() || e.forms != wanted)
                wrong << QStringLiteral("%1 [%2] %3").arg(e.type, e.context, e.source);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
#endif
    }

    // Russian is the source, so its catalogue needs only the plural forms:
    // all three of each.
    void russianCatalogue_threeFormsOfEachPlural() {
        const std::vector<TCatalogueEntry> entries =
            ReadCatalogue(kRoot.filePath(QStringLiteral("i18n/tolmarik_ru.ts")));
        QVERIFY(!entries.empty());
        for (const TCatalogueEntry& e : entries)
            if (e.numerus) QVERIFY2(e.forms == 3 && e.type.isEmpty(), qPrintable(e.source));
    }
};

QTEST_GUILESS_MAIN(TestTranslationMarks)
#include "tst_translationmarks.moc"
