// The answer typed at a terminal, read from its bytes in each code page a
// Russian Windows console may have: 866 (the default), 1251 and 65001.
#include <QTest>

#include "app/Console.h"

Q_DECLARE_METATYPE(std::optional<bool>)

class TestConsoleAnswer : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void answer_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<unsigned>("codePage");
        QTest::addColumn<std::optional<bool>>("answer");
        const std::optional<bool> yes = true, no = false, neither = std::nullopt;
        QTest::newRow("да, cp866") << QByteArray("\xa4\xa0\r\n") << 866u << yes;
        QTest::newRow("ДА, cp866") << QByteArray("\x84\x80\n") << 866u << yes;
        QTest::newRow("нет, cp866 (т past the gap)") << QByteArray("\xad\xa5\xe2\n") << 866u << no;
        QTest::newRow("д, cp866") << QByteArray("\xa4") << 866u << yes;
        QTest::newRow("да, cp1251") << QByteArray("\xe4\xe0\r\n") << 1251u << yes;
        QTest::newRow("Да, cp1251") << QByteArray("\xc4\xe0\n") << 1251u << yes;
        QTest::newRow("нет, cp1251") << QByteArray("\xed\xe5\xf2\n") << 1251u << no;
        QTest::newRow("н, cp1251") << QByteArray(" \xed ") << 1251u << no;
        QTest::newRow("да, UTF-8") << QByteArray("\xd0\xb4\xd0\xb0\r\n") << 65001u << yes;
        QTest::newRow("НЕТ, UTF-8") << QByteArray("\xd0\x9d\xd0\x95\xd0\xa2\n") << 65001u << no;
        // The same bytes in the wrong code page are no answer, never the other one.
        QTest::newRow("cp1251 да read as cp866") << QByteArray("\xe4\xe0\n") << 866u << neither;
        QTest::newRow("cp866 да read as cp1251") << QByteArray("\xa4\xa0\n") << 1251u << neither;
        QTest::newRow("cp1251 да read as UTF-8") << QByteArray("\xe4\xe0\n") << 65001u << neither;
        QTest::newRow("y, cp866") << QByteArray("y\n") << 866u << yes;
        QTest::newRow("YES, cp1251") << QByteArray("YES\r\n") << 1251u << yes;
        QTest::newRow("no, UTF-8") << QByteArray("no\n") << 65001u << no;
        QTest::newRow("N, another code page") << QByteArray("N\n") << 437u << no;
        QTest::newRow("да in another code page") << QByteArray("\xa4\xa0\n") << 437u << neither;
        QTest::newRow("empty line") << QByteArray("\n") << 866u << neither;
        QTest::newRow("ё is no answer") << QByteArray("\xf1\n") << 866u << neither;
        QTest::newRow("дак") << QByteArray("\xa4\xa0\xaa\n") << 866u << neither;
        QTest::newRow("yes please") << QByteArray("yes please\n") << 65001u << neither;
    }

    void answer() {
        QFETCH(QByteArray, line);
        QFETCH(unsigned, codePage);
        QFETCH(std::optional<bool>, answer);
        QCOMPARE(app::ConsoleAnswer(line, codePage), answer);
    }
};

QTEST_GUILESS_MAIN(TestConsoleAnswer)
#include "tst_consoleanswer.moc"
