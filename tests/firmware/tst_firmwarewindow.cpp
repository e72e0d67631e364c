// The firmware window against the simulated instrument: its states, its
// boxes, the files it refuses and the image the instrument receives.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "device/DeviceIO.h"
#include "device/UserTexts.h"
#include "firmware/FirmwareImage.h"
#include "firmware/UnitFirmwareUpdate.h"
#include "flow/DeviceChain.h"
#include "models/UnitFileIO.h"
#include "serial/UnitNVC.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/SimBench.h"

using device::TMessageKind;
using firmware::TFormUpdateFW;

Q_DECLARE_METATYPE(device::TMessageKind)
Q_DECLARE_METATYPE(firmware::LoadResult)

namespace {
// `blocks` blocks of `payload` bytes each.
QByteArray Image(int blocks, int payload) {
    QByteArray image;
    for (int b = 0; b < blocks; ++b) {
        image.append(char(payload >> 8)).append(char(payload));
        for (int i = 0; i < payload; ++i) image.append(char(b * 31 + i));
    }
    return image;
}

QByteArray Received(const sim::TSimulator& simulator) {
    const auto bytes = simulator.FirmwareReceived();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

serial::TNonVisComp& Link() { return serial::TNonVisComp::Instance(); }

// The questions before anything is sent are kept apart from the others and
// answered yes unless told otherwise.
class TFirmwareDialogs : public testing::TRecordingDialogs {
  public:
    QStringList confirmations;
    QList<bool> confirmAnswers;  // in turn; yes once they run out

    bool Ask(QWidget* parent, device::TMessageKind kind, const QString& title,
             const QString& text) override {
        if (!text.startsWith(QStringLiteral("Прибор: ")) &&
            !text.startsWith(QStringLiteral("Программа не знает этот прибор")))
            return TRecordingDialogs::Ask(parent, kind, title, text);
        confirmations << text;
        return confirmAnswers.isEmpty() || confirmAnswers.takeFirst();
    }
};
}  // namespace

class TestFirmwareWindow : public QObject {
    Q_OBJECT
    testsupport::TSimBench bench_{Link()};
    std::unique_ptr<QMdiArea> area_;
    TFirmwareDialogs dialogs_;
    std::vector<testing::TShownMessage>& boxes_ = dialogs_.messages;
    int files_ = 0;

    QString WriteFile(const QByteArray& text) {
        const QString path = bench_.File(QStringLiteral("fw%1.enc").arg(++files_));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) return {};
        return path;
    }

    TFormUpdateFW* Open() {
        TFormUpdateFW* form = firmware::OpenFirmwareWindow(area_.get());
        if (form) form->BackupFolder = bench_.File(QStringLiteral("backups"));
        return form;
    }

    void Choose(TFormUpdateFW* form, const QString& path) {
        dialogs_.openAnswers << path;
        form->btnOpenFile->click();
    }

    // Chooses a file holding `image`, presses "Обновить" and checks the
    // window while the transfer runs.
    void StartTransfer(TFormUpdateFW* form, const QByteArray& image) {
        Choose(form, WriteFile(image.toHex().toUpper()));
        form->btnUpdate->click();
        QVERIFY(form->TransferRunning());
        QVERIFY(!form->btnOpenFile->isEnabled());
        QVERIFY(!form->btnUpdate->isEnabled());
        QVERIFY(!form->btExit->isEnabled());
    }

    void WaitTransferEnd(TFormUpdateFW* form) {
        QTRY_VERIFY_WITH_TIMEOUT(!form->TransferRunning(), 30000);
        QVERIFY(form->btExit->isEnabled());
        QVERIFY(!Link().PortClaimed());
    }

  private Q_SLOTS:
    void initTestCase() { device::SetDialogs(&dialogs_); }
    void cleanupTestCase() { device::SetDialogs(nullptr); }
    void init() {
        boxes_.clear();
        dialogs_.questions.clear();
        dialogs_.confirmations.clear();
        dialogs_.confirmAnswers.clear();
        dialogs_.answer = false;
        dialogs_.openAnswers.clear();
        QVERIFY(bench_.Plug());
        area_ = std::make_unique<QMdiArea>();
        area_->resize(800, 600);
        area_->show();
    }
    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(!Link().PortClaimed(), 30000);
        QVERIFY(bench_.Unplug());
        area_.reset();
        QVERIFY(!firmware::FirmwareWindowOpen());
    }

    // States.
    void opened_openEnabledUpdateAndBarHidden() {
        TFormUpdateFW* form = Open();
        QVERIFY(form);
        QVERIFY(firmware::FirmwareWindowOpen());
        QVERIFY(form->btnOpenFile->isEnabled());
        QVERIFY(form->btExit->isEnabled());
        QVERIFY(form->btnUpdate->isHidden());
        QVERIFY(form->pbUpdate->isHidden());
        QCOMPARE(form->Frame()->pos(), QPoint(0, 0));
    }

    void chooser_answer_updateShownOnlyForAFile_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("shown");
        QTest::newRow("file chosen") << QStringLiteral("/tmp/a.enc") << true;
        QTest::newRow("cancelled") << QString() << false;
    }
    void chooser_answer_updateShownOnlyForAFile() {
        QFETCH(QString, answer);
        QFETCH(bool, shown);
        TFormUpdateFW* form = Open();
        Choose(form, answer);
        QCOMPARE(dialogs_.openFolder, QDir::currentPath());
        QCOMPARE(dialogs_.openFilter, QStringLiteral("Файл прошивок (*.enc)"));
        QCOMPARE(form->edtUpdFileName->text(), answer);
        QCOMPARE(form->btnUpdate->isHidden(), !shown);
        QVERIFY(form->pbUpdate->isHidden());
    }

    void progressStatuses_moveTheBar() {
        TFormUpdateFW* form = Open();
        form->pbUpdate->setValue(60);  // as left by an earlier transfer
        const auto deliver = [form](quintptr code, qintptr value) {
            form->Update().StatusTarget().Send(device::WM_THREAD_MSG, code, value);
        };
        deliver(device::ST_PORT_OPEN, 0);
        QVERIFY(form->pbUpdate->isVisible());
        QCOMPARE(form->pbUpdate->value(), 0);
        deliver(device::ST_FW_PROGRESS, 40);
        QCOMPARE(form->pbUpdate->value(), 40);
        deliver(0x80 | device::ST_FW_PROGRESS, 42);  // the high bit is not part of the code
        QCOMPARE(form->pbUpdate->value(), 42);
        deliver(device::ST_TRACK_PAGE, 7);
        QCOMPARE(form->pbUpdate->value(), 42);
        QVERIFY(boxes_.empty());
    }

    // Files refused before anything is sent.
    void updateWithoutFile_asksForOne() {
        TFormUpdateFW* form = Open();
        form->btnUpdate->click();  // hidden, but the handler still guards
        QCOMPARE(boxes_.size(), std::size_t(1));
        QCOMPARE(boxes_[0].text, QStringLiteral("Выберите файл"));
        QCOMPARE(boxes_[0].title, QStringLiteral("Прошивка прибора"));
        QCOMPARE(boxes_[0].kind, TMessageKind::Information);
        QVERIFY(!form->TransferRunning());
    }

    void refusedFile_boxAndNothingSent_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<firmware::LoadResult>("result");
        QTest::addColumn<TMessageKind>("icon");
        const auto notHex = firmware::LoadResult::NotHex;
        QTest::newRow("odd digit count")
            << QByteArray("0003AABBC") << notHex << TMessageKind::Plain;
        QTest::newRow("trailing line break")
            << QByteArray("0003AABBCC\n") << notHex << TMessageKind::Plain;
        // Empty blocks only, one byte more than the transmit buffer holds.
        QTest::newRow("image larger than the buffer")
            << QByteArray("0000").repeated(serial::TxBufferSize / 2 + 1)
            << firmware::LoadResult::TooLarge << TMessageKind::Error;
        QTest::newRow("block reaching past the image")
            << QByteArray("0002AABB0005CC") << firmware::LoadResult::BrokenChain
            << TMessageKind::Error;
        QTest::newRow("unreadable file")
            << QByteArray() << firmware::LoadResult::CannotOpen << TMessageKind::Error;
        // An empty image would be "sent" and reported as an update.
        QTest::newRow("empty file")
            << QByteArray() << firmware::LoadResult::Empty << TMessageKind::Error;
    }
    void refusedFile_boxAndNothingSent() {
        QFETCH(QByteArray, text);
        QFETCH(firmware::LoadResult, result);
        QFETCH(TMessageKind, icon);
        const QString path = result == firmware::LoadResult::CannotOpen
                                 ? bench_.File(QStringLiteral("missing.enc"))
                                 : WriteFile(text);
        std::vector<std::uint8_t> scratch(serial::TxBufferSize);
        const firmware::LoadOutcome outcome =
            firmware::LoadFirmwareFile(path, scratch.data(), serial::TxBufferSize);
        QCOMPARE(outcome.result, result);

        TFormUpdateFW* form = Open();
        Choose(form, path);
        form->btnUpdate->click();
        QCOMPARE(boxes_.size(), std::size_t(1));
        QCOMPARE(boxes_[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(boxes_[0].kind, icon);
        QCOMPARE(boxes_[0].text, firmware::LoadRefusalText(outcome));
        if (result == firmware::LoadResult::NotHex)
            QCOMPARE(boxes_[0].text, QStringLiteral("Файл не найден"));
        QVERIFY(!form->TransferRunning());
        QVERIFY(!Link().PortClaimed());
        QVERIFY(form->btnUpdate->isEnabled());
        QVERIFY(form->btExit->isEnabled());
        QVERIFY(form->pbUpdate->isHidden());
        QCOMPARE(bench_.Sim().FirmwareBlocksReceived(), 0);
    }

    void portHeldByAnotherOperation_busyAndBufferUntouched() {
        const int token = 0;
        QVERIFY(Link().TryClaimPort(&token));
        Link().TxBuffer[0] = 0x7E;
        Link().TxBuffer[1] = 0x0A;
        TFormUpdateFW* form = Open();
        Choose(form, WriteFile("0001FF"));
        form->btnUpdate->click();
        Link().ReleasePort(&token);
        QCOMPARE(boxes_.size(), std::size_t(1));
        QCOMPARE(boxes_[0].text, flow::Report(flow::TOutcome::PortBusy).text);
        QCOMPARE(boxes_[0].title, QStringLiteral("Прошивка прибора"));
        QCOMPARE(Link().TxBuffer[0], std::uint8_t(0x7E));
        QCOMPARE(Link().TxBuffer[1], std::uint8_t(0x0A));
        QVERIFY(!form->TransferRunning());
    }

    // Transfers.
    void transfer_outcome_data() {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("rejectAtBlock");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("portMissing");
        QTest::addColumn<QString>("text");
        QTest::addColumn<TMessageKind>("icon");
        QTest::addColumn<bool>("barVisible");
        QTest::addColumn<QByteArray>("received");

        const QByteArray image = Image(3, 118);  // each block two full 60-byte pieces
        const QString updated = QStringLiteral("Прошивка обновлена");
        QTest::newRow("accepted") << image << -1 << false << false << updated
                                  << TMessageKind::Information << false << image;
        QTest::newRow("rejected at the second block")
            << image << 1 << false << false << QStringLiteral("Прошивка не для этого приюбора!!!")
            << TMessageKind::Error << false << image.left(120);
        QTest::newRow("silent instrument")
            << image << -1 << true << false << QStringLiteral("Устройство не отвечает")
            << TMessageKind::Error << true << QByteArray();
        QTest::newRow("port missing")
            << image << -1 << false << true << QStringLiteral("Невозможно открыть порт")
            << TMessageKind::Error << false << QByteArray();
    }
    void transfer_outcome() {
        QFETCH(QByteArray, image);
        QFETCH(int, rejectAtBlock);
        QFETCH(bool, silent);
        QFETCH(bool, portMissing);
        QFETCH(QString, text);
        QFETCH(TMessageKind, icon);
        QFETCH(bool, barVisible);
        QFETCH(QByteArray, received);
        sim::TFirmwareBehaviour behaviour;
        behaviour.rejectAtBlock = rejectAtBlock;
        behaviour.silent = silent;
        bench_.Sim().SetFirmwareBehaviour(behaviour);
        if (portMissing) Link().comport.SetPortName(bench_.File(QStringLiteral("no-port")));

        TFormUpdateFW* form = Open();
        // Three unanswered sends wait 3000 polls; keep them short here, since
        // nothing would come however long they were. An answering instrument
        // keeps the bench's step: a short wait would take a slow answer on a
        // busy machine for none.
        if (silent) form->WorkerTiming.pollStep = std::chrono::microseconds(50);
        StartTransfer(form, image);
        QTRY_COMPARE_WITH_TIMEOUT(boxes_.size(), std::size_t(1), 30000);
        QCOMPARE(boxes_[0].text, text);
        QCOMPARE(boxes_[0].title, QStringLiteral("Обновление прошивки"));
        QCOMPARE(boxes_[0].kind, icon);
        QCOMPARE(form->pbUpdate->isVisible(), barVisible);
        WaitTransferEnd(form);
        QVERIFY(form->btnOpenFile->isEnabled());
        QVERIFY(form->btnUpdate->isEnabled());
        QCOMPARE(Received(bench_.Sim()), received);
        QCOMPARE(boxes_.size(), std::size_t(1));
        // Why the port would not open stands below the box's text.
        if (portMissing) QVERIFY(!form->lblInfo->text().isEmpty());
    }

    // The settings are kept, then the device goes away at the first block.
    void transfer_deviceGone_silentBoxAndLinkLostInInfo() {
        sim::TFaults faults;
        faults.hangUpAfterRequests = 2;
        faults.hangUpMidReply = true;
        bench_.Sim().SetFaults(faults);
        TFormUpdateFW* form = Open();
        form->WorkerTiming.pollStep = std::chrono::microseconds(200);
        StartTransfer(form, Image(2, 10));
        WaitTransferEnd(form);
        QCOMPARE(boxes_.size(), std::size_t(1));
        QCOMPARE(boxes_[0].text, QStringLiteral("Устройство не отвечает"));
        QCOMPARE(boxes_[0].kind, TMessageKind::Error);
        const QStringList info = form->lblInfo->text().split(QLatin1Char('\n'));
        QCOMPARE(info.size(), 2);
        QCOMPARE(info[0], flow::BackupSavedText(form->BackupPath()));
        QCOMPARE(info[1], device::LinkLostText());
        QVERIFY(form->btnOpenFile->isEnabled());
        QVERIFY(form->pbUpdate->isVisible());
    }

    // A silent instrument is not a lost one.
    void transfer_silentInstrument_noLinkLostInInfo() {
        sim::TFirmwareBehaviour behaviour;
        behaviour.silent = true;
        bench_.Sim().SetFirmwareBehaviour(behaviour);
        TFormUpdateFW* form = Open();
        form->WorkerTiming.pollStep = std::chrono::microseconds(50);
        StartTransfer(form, Image(1, 10));
        WaitTransferEnd(form);
        QVERIFY(!form->lblInfo->text().contains(device::LinkLostText()));
    }

    void finishedTransfer_anotherFileSentAfterwards() {
        TFormUpdateFW* form = Open();
        StartTransfer(form, Image(1, 10));
        WaitTransferEnd(form);
        const QByteArray second = Image(2, 61);
        QVERIFY(bench_.Restart());  // a fresh record of what arrives
        StartTransfer(form, second);
        WaitTransferEnd(form);
        QCOMPARE(Received(bench_.Sim()), second);
        QCOMPARE(boxes_.size(), std::size_t(2));
        QCOMPARE(boxes_[1].text, QStringLiteral("Прошивка обновлена"));
    }

    // The settings kept around an update.
    void update_backupWrittenReopenedAndRestored() {
        sim::TIdentity identity;
        identity.model = 100;
        for (std::size_t i = 0; i < identity.settings.size(); ++i)
            identity.settings[i] = std::uint8_t(i * 3);
        identity.companion = 0x1234;
        bench_.Sim().SetIdentity(identity);
        dialogs_.answer = true;  // write the kept settings back
        TFormUpdateFW* form = Open();
        StartTransfer(form, Image(1, 10));
        WaitTransferEnd(form);
        QVERIFY(QFile::exists(form->BackupPath()));
        models::TFileIOSaver saver(0);
        QCOMPARE(saver.LoadFile(form->BackupPath()), std::uint8_t(100));
        models::TDeviceConfig kept{};
        QCOMPARE(saver.ReadBlock(kept.data(), 150), 150);
        QVERIFY(std::equal(identity.settings.begin(), identity.settings.end(), kept.begin()));
        QCOMPARE(kept[148], std::uint8_t(0x34));
        QCOMPARE(dialogs_.questions.size(), std::size_t(1));
        const std::vector<std::uint8_t> written = bench_.Sim().WrittenConfig();
        QCOMPARE(written, std::vector<std::uint8_t>(kept.begin(), kept.end()));
        QVERIFY(form->lblInfo->text().contains(flow::FirmwareVersionsText(258, 258)));
        QVERIFY(form->lblInfo->text().contains(QStringLiteral("Данные записаны")));
    }

    void update_instrumentInLoader_asksFirst_data() {
        QTest::addColumn<bool>("goOn");
        QTest::newRow("declined") << false;
        QTest::newRow("confirmed") << true;
    }
    void update_instrumentInLoader_asksFirst() {
        QFETCH(bool, goOn);
        sim::TFaults faults;
        faults.loader = true;
        bench_.Sim().SetFaults(faults);
        dialogs_.answer = goOn;
        TFormUpdateFW* form = Open();
        form->WorkerTiming.pollStep = std::chrono::microseconds(200);
        const QByteArray image = Image(1, 10);
        StartTransfer(form, image);
        WaitTransferEnd(form);
        QCOMPARE(dialogs_.questions.size(), std::size_t(1));
        QCOMPARE(dialogs_.questions[0].text,
                 flow::UpdateWithoutBackupQuestion(flow::NoIdentityReason()));
        QVERIFY(form->BackupPath().isEmpty());
        QCOMPARE(Received(bench_.Sim()), goOn ? image : QByteArray());
    }

    // Before the first block: the instrument, the file and the warning; an
    // instrument the program does not know is asked about twice.
    void update_confirmedFirst_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<int>("asked");
        QTest::addColumn<bool>("sent");
        QTest::newRow("known model, no") << 101 << QList<bool>{false} << 1 << false;
        QTest::newRow("known model, yes") << 101 << QList<bool>{true} << 1 << true;
        QTest::newRow("unknown model, yes then no") << 50 << QList<bool>{true, false} << 2 << false;
        QTest::newRow("unknown model, yes twice") << 50 << QList<bool>{true, true} << 2 << true;
    }
    void update_confirmedFirst() {
        QFETCH(int, model);
        QFETCH(QList<bool>, answers);
        QFETCH(int, asked);
        QFETCH(bool, sent);
        sim::TIdentity identity;
        identity.model = std::uint16_t(model);
        identity.firmwareVersion = 311;
        bench_.Sim().SetIdentity(identity);
        dialogs_.confirmAnswers = answers;
        TFormUpdateFW* form = Open();
        const QByteArray image = Image(1, 10);
        StartTransfer(form, image);
        WaitTransferEnd(form);
        QCOMPARE(dialogs_.confirmations.size(), asked);
        const QStringList lines = dialogs_.confirmations[0].split(QLatin1Char('\n'));
        QCOMPARE(lines[0],
                 model == 101
                     ? QStringLiteral("Прибор: Mevra-B (101), версия прошивки 311")
                     : QStringLiteral("Прибор: неизвестная модель 50, версия прошивки 311"));
        QCOMPARE(lines[1], QStringLiteral("Файл прошивки: %1 (%2 байт)")
                               .arg(QDir::toNativeSeparators(form->edtUpdFileName->text()))
                               .arg(image.size() * 2));
        QVERIFY(lines[2].contains(QStringLiteral("Не отключайте прибор")));
        QCOMPARE(Received(bench_.Sim()), sent ? image : QByteArray());
        QCOMPARE(form->BackupPath().isEmpty(), !sent);
        // Settings are never written back into an unknown instrument.
        QCOMPARE(dialogs_.questions.size(), std::size_t(sent && model == 101 ? 1 : 0));
        QVERIFY(form->btnUpdate->isEnabled());
    }

    void backups_onlyTheNewestKept() {
        QTemporaryDir folder;
        models::TInstrument instrument;
        instrument.model = 101;
        const QDateTime start(QDate(2024, 5, 1), QTime(12, 0));
        for (int i = 0; i < models::BackupsKept + 3; ++i)
            models::SaveSettingsBackup(folder.path(), instrument, start.addSecs(i));
        const QStringList left = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(left.size(), models::BackupsKept);
        QCOMPARE(left.front(), models::BackupFileName(start.addSecs(3), instrument));
    }

    // The window's life.
    void secondOpen_doesNothingUntilExit() {
        QPointer<TFormUpdateFW> first = Open();
        QVERIFY(first);
        QVERIFY(!Open());
        QCOMPARE(area_->subWindowList().size(), 1);
        first->btExit->click();
        QVERIFY(!firmware::FirmwareWindowOpen());
        QTRY_VERIFY(first.isNull());
        QVERIFY(area_->subWindowList().isEmpty());
        QVERIFY(Open());
        QVERIFY(firmware::FirmwareWindowOpen());
    }

    void closeDuringTransfer_refusedAndDestructionSafe() {
        sim::TFirmwareBehaviour behaviour;
        behaviour.silent = true;
        bench_.Sim().SetFirmwareBehaviour(behaviour);
        QPointer<TFormUpdateFW> form = Open();
        form->WorkerTiming.pollStep = std::chrono::microseconds(200);
        StartTransfer(form, Image(1, 4));
        // Past the identification: the first block is on its way.
        QTRY_VERIFY_WITH_TIMEOUT(bench_.Sim().FirmwareBlocksReceived() >= 1, 10000);
        QPointer<QWidget> frame = form->Frame();
        QVERIFY(!frame->close());
        QVERIFY(form);
        QVERIFY(firmware::FirmwareWindowOpen());
        delete frame;  // as when the main window goes away mid-transfer
        QVERIFY(form.isNull());
        QVERIFY(!firmware::FirmwareWindowOpen());
        // The worker goes on to its third unanswered send and lets go of the port.
        QTRY_COMPARE_WITH_TIMEOUT(bench_.Sim().FirmwareBlocksReceived(), 3, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!Link().PortClaimed(), 30000);
        QVERIFY(boxes_.empty());
    }
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    serial::TNonVisComp link;
    link.comport.SetPollingDelay(5);
    TestFirmwareWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_firmwarewindow.moc"
