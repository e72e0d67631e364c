// Every committed fuzzing input, through the same checks as the fuzz
// targets, with the ordinary compiler: a crash found once stays fixed.
#include <QDir>
#include <QFile>
#include <QTest>

#include "fuzz/FuzzChecks.h"
#include "fuzz/WorkerChecks.h"

namespace {
using Check = const char* (*)(const std::uint8_t*, std::size_t);

void AddCorpusRows(const char* corpus) {
    const QDir dir(QStringLiteral(TOLMARIK_CORPUS_DIR "/") + QLatin1String(corpus));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    QVERIFY2(!names.isEmpty(), qPrintable(dir.path()));
    for (const QString& name : names) QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

void Replay(Check check) {
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    const QByteArray bytes = file.readAll();
    const char* broken =
        check(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    QVERIFY2(broken == nullptr, broken);
}
}  // namespace

class TestCorpusReplay : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void configFileCorpus_everyInput_propertiesHold_data() {
        QTest::addColumn<QString>("path");
        AddCorpusRows("bcf");
    }
    void configFileCorpus_everyInput_propertiesHold() { Replay(fuzz::CheckConfigFile); }

    void firmwareCorpus_everyInput_propertiesHold_data() {
        QTest::addColumn<QString>("path");
        AddCorpusRows("firmware");
    }
    void firmwareCorpus_everyInput_propertiesHold() { Replay(fuzz::CheckFirmwareText); }

    void workerCorpus_everyInput_propertiesHold_data() {
        QTest::addColumn<QString>("path");
        AddCorpusRows("worker");
    }
    void workerCorpus_everyInput_propertiesHold() { Replay(fuzz::CheckWorkerReplies); }
};

QTEST_GUILESS_MAIN(TestCorpusReplay)
#include "tst_corpusreplay.moc"
