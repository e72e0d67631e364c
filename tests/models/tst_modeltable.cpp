#include <QTest>

#include "models/ModelTable.h"

using namespace models;

class TestModelTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void names_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("name");
        QTest::newRow("default") << 1 << QStringLiteral("По умолчанию");
        QTest::newRow("100") << 100 << QStringLiteral("Mevra-A");
        QTest::newRow("101") << 101 << QStringLiteral("Mevra-B");
        QTest::newRow("105") << 105 << QStringLiteral("Mevra-F");
        QTest::newRow("unknown row") << 0 << QStringLiteral("Неизвестное устройство");
        QTest::newRow("not in table") << 2 << QStringLiteral("???");
        QTest::newRow("106") << 106 << QStringLiteral("???");
    }
    void names() {
        QFETCH(int, model);
        QFETCH(QString, name);
        QCOMPARE(GetModelName(DeviceModelId(model)), name);
    }

    void isKnown_zeroAndTableRows_true_othersFalse() {
        QVERIFY(IsKnownModel(0));
        QVERIFY(IsKnownModel(1));
        QVERIFY(IsKnownModel(103));
        QVERIFY(!IsKnownModel(2));
        QVERIFY(!IsKnownModel(356));  // low byte 100, but above 255
        QVERIFY(!IsKnownModel(0x0164));
    }
};

QTEST_APPLESS_MAIN(TestModelTable)
#include "tst_modeltable.moc"
