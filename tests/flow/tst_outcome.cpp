// The outcome table and the readings of worker statuses and chain results.
#include <QTest>
#include <set>

#include "device/DeviceIO.h"
#include "device/UserTexts.h"
#include "flow/DeviceChain.h"
#include "flow/ExitCodes.h"
#include "flow/Outcome.h"
#include "serial/UnitNVC.h"

using flow::TOutcome;

Q_DECLARE_METATYPE(TOutcome)

class TestOutcome : public QObject {
    Q_OBJECT
    serial::TNonVisComp link_;

  private Q_SLOTS:
    // One row per outcome, in the order of the enumeration; good ones exit 0,
    // every failure with a status of its own kind.
    void table_rowPerOutcomeGoodExitsZero() {
        for (int i = 0; i < int(flow::OutcomeCount); ++i) {
            const flow::TOutcomeEntry& entry = flow::Entry(TOutcome(i));
            QCOMPARE(int(entry.outcome), i);
            QCOMPARE(entry.good, entry.exitStatus == flow::EC_OK);
        }
        QCOMPARE(flow::Report(TOutcome::PortFailed).Colour(), flow::BadColour);
        QCOMPARE(flow::Report(TOutcome::ConfigRead).Colour(), flow::GoodColour);
        QCOMPARE(flow::Report(TOutcome::BadFile, QStringLiteral("x")).text, QStringLiteral("x"));
    }

    // The programs end only through the table, so every status they can
    // return is an outcome's, and the help's list holds exactly those: none
    // that nothing returns, none returned that it does not explain.
    void exitStatuses_exactlyThoseTheHelpLists() {
        std::set<int> listed;
        for (const flow::TExitCodeText& row : flow::kExitCodeTexts) listed.insert(int(row.code));
        QCOMPARE(listed.size(), std::size(flow::kExitCodeTexts));
        std::set<int> returned;
        for (int i = 0; i < int(flow::OutcomeCount); ++i) {
            const int status = flow::ExitStatusOf(TOutcome(i));
            QVERIFY2(listed.count(status), qPrintable(QStringLiteral("outcome %1").arg(i)));
            returned.insert(status);
        }
        for (const flow::TExitCodeText& row : flow::kExitCodeTexts)
            QVERIFY2(returned.count(int(row.code)), row.meaning);
    }

    void failureOfStatus_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<qintptr>("value");
        QTest::addColumn<TOutcome>("silence");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("exitStatus");
        QTest::newRow("port") << int(device::ST_PORT_FAILED) << qintptr(0) << TOutcome::NoDevice
                              << QString(device::PortFailedText) << int(flow::EC_PORT);
        QTest::newRow("lost while reading")
            << int(device::ST_NO_LINK) << device::LINK_LOST << TOutcome::NoLinkCheckPort
            << device::LinkLostText() << int(flow::EC_NO_LINK);
        QTest::newRow("silent at Считать")
            << int(device::ST_NO_LINK) << qintptr(0) << TOutcome::NoLinkCheckPort
            << QString(device::NoLinkCheckPortText) << int(flow::EC_NO_LINK);
        QTest::newRow("silent at an update")
            << int(device::ST_NO_LINK) << qintptr(0) << TOutcome::DeviceSilent
            << QString(device::DeviceSilentText) << int(flow::EC_NO_LINK);
    }
    void failureOfStatus() {
        QFETCH(int, status);
        QFETCH(qintptr, value);
        QFETCH(TOutcome, silence);
        QFETCH(QString, text);
        QFETCH(int, exitStatus);
        const flow::TReport report = flow::FailureOfStatus(status, value, silence, link_);
        QCOMPARE(report.text, text);
        QCOMPARE(int(report.ExitStatus()), exitStatus);
        QVERIFY(!report.Good());
    }

    void chainReport_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("linkLost");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("exitStatus");
        using flow::TChainResult;
        QTest::newRow("written") << int(TChainResult::Done) << false
                                 << QString(device::ConfigWrittenText) << int(flow::EC_OK);
        QTest::newRow("other model")
            << int(TChainResult::ModelMismatch) << false << flow::ModelMismatchText(101, 102)
            << int(flow::EC_MODEL_MISMATCH);
        QTest::newRow("instrument that named no model")
            << int(TChainResult::UnknownModel) << false
            << device::UnknownModelWriteRefusedText(std::nullopt) << int(flow::EC_UNKNOWN_MODEL);
        QTest::newRow("read back differs")
            << int(TChainResult::ReadBackDiffers) << false << flow::ReadBackDiffersText()
            << int(flow::EC_READ_BACK);
        QTest::newRow("changed while asked")
            << int(TChainResult::ChangedMeanwhile) << false
            << flow::Entry(TOutcome::ChangedMeanwhile).text << int(flow::EC_CHANGED);
        QTest::newRow("silent") << int(TChainResult::NoLink) << false
                                << QString(device::NoDeviceText) << int(flow::EC_NO_LINK);
        QTest::newRow("lost") << int(TChainResult::NoLink) << true << device::LinkLostText()
                              << int(flow::EC_NO_LINK);
    }
    void chainReport() {
        QFETCH(int, result);
        QFETCH(bool, linkLost);
        QFETCH(QString, text);
        QFETCH(int, exitStatus);
        flow::TChainOutcome outcome;
        outcome.result = flow::TChainResult(result);
        outcome.linkLost = linkLost;
        outcome.instrument = models::TInstrument{102, 311, {}, std::nullopt};
        const flow::TReport report = flow::ChainReport(outcome, 101, link_);
        QCOMPARE(report.text, text);
        QCOMPARE(int(report.ExitStatus()), exitStatus);
    }
};

QTEST_GUILESS_MAIN(TestOutcome)
#include "tst_outcome.moc"
