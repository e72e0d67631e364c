// The main window against the simulated instrument: identification, the
// status line and its flash, control enabling, write, reset, open and save.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "GuiTest.h"
#include "app/MAIN.h"
#include "app/SetupAPI.h"
#include "app/SetupUnit.h"
#include "device/DeviceIO.h"
#include "device/UserTexts.h"
#include "firmware/UnitFirmwareUpdate.h"
#include "flow/DeviceChain.h"
#include "models/DeviceFactory.h"
#include "models/UnitFileIO.h"
#include "serial/OpenFailure.h"
#include "tests/support/SimBench.h"
#include "track/TrackPage.h"

using app::TMainForm;
using models::CurrentDeviceForm;

namespace {
const QString kRead = QStringLiteral("Данные прибора считаны");

sim::TIdentity Identity(std::uint16_t model, std::uint16_t version = 258) {
    sim::TIdentity id;
    id.model = model;
    id.firmwareVersion = version;
    for (std::size_t i = 0; i < id.settings.size(); ++i) id.settings[i] = std::uint8_t(i + 1);
    id.settings[4] = 5;
    id.companion = 0xBEEF;
    return id;
}

QList<bool> ActionStates(const TMainForm& f) {
    return {
        f.actDevRead->isEnabled(), f.actDevWrite->isEnabled(),       f.actSetDefault->isEnabled(),
        f.FileOpen1->isEnabled(),  f.FileSaveAs1->isEnabled(),       f.FileExit1->isEnabled(),
        f.HelpAbout1->isEnabled(), f.actUpdateFirmware->isEnabled(), f.cbbPorts->isEnabled()};
}
const QList<bool> kNoInstrument{true, false, false, true, false, true, true, true, true};
const QList<bool> kInstrumentShown{true, true, true, true, true, true, true, true, true};
const QList<bool> kBusy{false, false, false, false, false, true, true, false, false};

// Boxes and questions that, like modal ones, run the event loop while they
// are open: whatever is queued for the windows is handled before the answer.
class TModalDialogs : public testing::TRecordingDialogs {
  public:
    void Message(QWidget* parent, device::TMessageKind kind, const QString& title,
                 const QString& text) override {
        TRecordingDialogs::Message(parent, kind, title, text);
        QCoreApplication::processEvents();
    }
    bool Ask(QWidget* parent, device::TMessageKind kind, const QString& title,
             const QString& text) override {
        QCoreApplication::processEvents();
        return TRecordingDialogs::Ask(parent, kind, title, text);
    }
};
}  // namespace

class TestMainForm : public QObject {
    Q_OBJECT
    testsupport::TSimBench bench{serial::TNonVisComp::Instance()};
    std::unique_ptr<TMainForm> form;
    TModalDialogs dialogs;

    // Runs "Считать" to its end.
    void Read() {
        form->actDevRead->trigger();
        QCOMPARE(ActionStates(*form).mid(0, 1), QList<bool>{false});
        TRY_VERIFY_WITH_TIMEOUT(form->actDevRead->isEnabled(), 10000);
        QVERIFY(testing::WaitPortFree());
    }
    // Waits for the status line to say `text`, then for the operation to let
    // go of the port, so that what its end gives back is there to look at.
    void WaitStatus(const QString& text) {
        TRY_COMPARE_WITH_TIMEOUT(form->StatusText(), text, 10000);
        QVERIFY(testing::WaitPortFree());
    }
    void PostToRead(int status, qintptr value) {
        form->InstrumentRead().StatusTarget().Post(device::WM_THREAD_MSG, quintptr(status), value);
    }

  private Q_SLOTS:
    void init() {
        testing::ClearSettings();
        dialogs = TModalDialogs{};
        device::SetDialogs(&dialogs);
        QVERIFY(bench.Plug());
        bench.Sim().SetIdentity(Identity(101));
        form = std::make_unique<TMainForm>();
        form->cbbPorts->setEditText(bench.Sim().PortPath());
    }
    void cleanup() {
        QVERIFY(testing::WaitPortFree());
        form.reset();
        QVERIFY(bench.Unplug());
        device::SetDialogs(nullptr);
    }

    void startUp_frameAndNoInstrumentState() {
        QCOMPARE(form->windowTitle(), QStringLiteral("TolmarikProg"));
        QCOMPARE(form->size(), QSize(770, 560));
        QCOMPARE(form->CurrentModelId, models::DeviceModelId(0));
        QCOMPARE(ActionStates(*form), kNoInstrument);
        QCOMPARE(form->lblMain->pos(), QPoint(32, 72));
        QCOMPARE(form->lblMain->text().split('\n').last(),
                 QStringLiteral("- нажмите кнопку \"Считать\""));
        QCOMPARE(form->pnlIO->width(), 118);
        QCOMPARE(form->btnDefault->text(), QStringLiteral("Сброс"));
        QCOMPARE(form->btnDefault->geometry(), QRect(16, 432, 89, 41));
        QCOMPARE(form->FileOpen1->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
        QVERIFY(!CurrentDeviceForm());
    }

    void read_model101_captionSettingsAndActions() {
        Read();
        QCOMPARE(form->StatusText(), kRead);
        QCOMPARE(form->StatusColor(), app::StatusGreen);
        QVERIFY(CurrentDeviceForm());
        QCOMPARE(CurrentDeviceForm()->windowTitle(), QStringLiteral("Прибор: Mevra-B версия 258"));
        QCOMPARE(form->CurrentModelId, models::DeviceModelId(101));
        const sim::TIdentity id = Identity(101);
        QVERIFY(std::equal(id.settings.begin(), id.settings.end(),
                           CurrentDeviceForm()->Config.begin()));
        QCOMPARE(CurrentDeviceForm()->Config[148], std::uint8_t(0xEF));
        QCOMPARE(CurrentDeviceForm()->Config[149], std::uint8_t(0xBE));
        QCOMPARE(ActionStates(*form), kInstrumentShown);
        QVERIFY(CurrentDeviceForm()->isEnabled());
    }

    // Shown in the default window, named as unknown, and never written to.
    void unknownModel_defaultWindowReadOnly_data() {
        QTest::addColumn<int>("model");
        QTest::newRow("model 0") << 0;
        QTest::newRow("model 50") << 50;
    }
    void unknownModel_defaultWindowReadOnly() {
        QFETCH(int, model);
        bench.Sim().SetIdentity(Identity(std::uint16_t(model)));
        Read();
        const QString note = device::UnknownModelReadOnlyText(std::uint16_t(model));
        QCOMPARE(note, QStringLiteral("неизвестная модель %1, только чтение").arg(model));
        QCOMPARE(form->StatusText(), kRead + QStringLiteral(": ") + note);
        QCOMPARE(CurrentDeviceForm()->ModelId, models::DeviceModelId(1));
        QCOMPARE(CurrentDeviceForm()->windowTitle(), QStringLiteral("Прибор по усмолчанию"));
        QCOMPARE(CurrentDeviceForm()->lblHeader->text(),
                 QStringLiteral("Прибор по усмолчанию (%1)").arg(note));
        QCOMPARE(form->CurrentModelId, models::DeviceModelId(1));

        // Even the defaults, which the window would write to a model-1 instrument.
        form->actSetDefault->trigger();
        dialogs.answer = true;
        form->actDevWrite->trigger();
        WaitStatus(device::UnknownModelWriteRefusedText(std::uint16_t(model)));
        QCOMPARE(form->StatusColor(), app::StatusRed);
        QVERIFY(dialogs.questions.empty());
        QVERIFY(bench.Sim().WrittenConfig().empty());
        QCOMPARE(ActionStates(*form), kInstrumentShown);

        // A known instrument read next loses the mark.
        bench.Sim().SetIdentity(Identity(1));
        Read();
        QCOMPARE(form->StatusText(), kRead);
        QCOMPARE(CurrentDeviceForm()->lblHeader->text(), QStringLiteral("Прибор по усмолчанию"));
    }

    void read_sameModelTwice_keepsWindowObject() {
        Read();
        QPointer<models::TDeviceForm> first = CurrentDeviceForm();
        sim::TIdentity id = Identity(101, 300);
        id.settings[0] = 0x77;
        bench.Sim().SetIdentity(id);
        Read();
        QCOMPARE(CurrentDeviceForm(), first.data());
        QCOMPARE(first->Config[0], std::uint8_t(0x77));
        QCOMPARE(first->windowTitle(), QStringLiteral("Прибор: Mevra-B версия 300"));
    }

    void read_otherModel_replacesWindow() {
        Read();
        QPointer<models::TDeviceForm> first = CurrentDeviceForm();
        bench.Sim().SetIdentity(Identity(103));
        Read();
        QVERIFY(CurrentDeviceForm() != first.data());
        QCOMPARE(CurrentDeviceForm()->windowTitle(), QStringLiteral("Прибор: Mevra-D версия 258"));
        QTRY_VERIFY(first.isNull());
        QCOMPARE(form->mdiArea->subWindowList().size(), 1);
    }

    void identified_unsupportedModel_dialogNoWindowActionsOff() {
        Read();
        QPointer<models::TDeviceForm> shown = CurrentDeviceForm();
        PostToRead(device::ST_IDENTIFIED, 50);
        QTRY_COMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Information"));
        QCOMPARE(dialogs.messages[0].text.split('\n'),
                 QStringList(
                     {"Подключенный прибор:", "???,", "данным программатором не поддерживается"}));
        QCOMPARE(form->StatusText(), QStringLiteral("Прибор не поддерживается"));
        QCOMPARE(form->StatusColor(), app::StatusRed);
        QVERIFY(!CurrentDeviceForm());
        QTRY_VERIFY(shown.isNull());
        QCOMPARE(form->CurrentModelId, models::DeviceModelId(0));
        QCOMPARE(ActionStates(*form), kNoInstrument);
    }

    void readFails_redTextControlsBackWindowKept_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("text");
        QTest::newRow("silent instrument")
            << QStringLiteral("silent")
            << QStringLiteral("Нет связи, проверьте соединения или номер порта");
        QTest::newRow("missing port")
            << QStringLiteral("missing") << QStringLiteral("Невозможно открыть порт");
        QTest::newRow("device gone mid-reply")
            << QStringLiteral("hang-up") << QStringLiteral("Связь с прибором потеряна");
    }
    void readFails_redTextControlsBackWindowKept() {
        QFETCH(QString, fault);
        QFETCH(QString, text);
        Read();
        models::TDeviceForm* shown = CurrentDeviceForm();
        sim::TFaults faults;
        if (fault == QLatin1String("silent")) {
            faults.silent = true;
        } else if (fault == QLatin1String("hang-up")) {
            QVERIFY(bench.Restart());  // requests counted from here
            form->cbbPorts->setEditText(bench.Sim().PortPath());
            faults.hangUpAfterRequests = 1;
            faults.hangUpMidReply = true;
        } else {
            form->cbbPorts->setEditText(QDir::tempPath() + QStringLiteral("/no-such-tty"));
        }
        bench.Sim().SetFaults(faults);
        form->actDevRead->trigger();
        QCOMPARE(ActionStates(*form), kBusy);
        QVERIFY(!shown->isEnabled());
        WaitStatus(text);
        QCOMPARE(form->StatusColor(), app::StatusRed);
        QCOMPARE(ActionStates(*form), kInstrumentShown);
        QCOMPARE(CurrentDeviceForm(), shown);
        QVERIFY(shown->isEnabled());
    }

    void portFailed_reasonAndHintShownUntilNextStatus() {
        const QString path = QDir::tempPath() + QStringLiteral("/no-such-tty");
        form->cbbPorts->setEditText(path);
        form->actDevRead->trigger();
        WaitStatus(QStringLiteral("Невозможно открыть порт"));
        const QString hint = serial::OpenFailureHint(serial::TOpenFailureCause::Gone);
        QVERIFY2(form->lblStatusReason->text().startsWith(path + QStringLiteral(": ")),
                 qPrintable(form->lblStatusReason->text()));
        QVERIFY(form->lblStatusReason->text().endsWith(hint));
        const QStringList tip = form->lblStatus->toolTip().split(QLatin1Char('\n'));
        QCOMPARE(tip.size(), 2);
        QVERIFY(tip[0].startsWith(path + QStringLiteral(": ")));
        QCOMPARE(tip[1], hint);
        form->ShowStatus(app::StatusGreen, QStringLiteral("x"));
        QVERIFY(form->lblStatusReason->text().isEmpty());
        QVERIFY(form->lblStatus->toolTip().isEmpty());
    }

    void portOpen_changesTextOnly() {
        form->ShowStatus(app::StatusGreen, QStringLiteral("x"));
        const int steps = form->BlinkCount();
        PostToRead(device::ST_PORT_OPEN, 0);
        QTRY_COMPARE(form->StatusText(), QStringLiteral("Порт открыт..."));
        QCOMPARE(form->BlinkCount(), steps);
        QCOMPARE(form->StatusColor(), app::StatusGreen);
    }

    void showStatus_flashesThreeTimesThenNormal() {
        const QColor normal = form->StatusColor();
        form->ShowStatus(app::StatusRed, QStringLiteral("a"));
        form->ShowStatus(app::StatusGreen, QStringLiteral("b"));  // restarts with the new colour
        QVERIFY(form->tmrStatusBlink->isActive());
        QCOMPARE(form->tmrStatusBlink->interval(), 400);
        QList<QColor> seen{form->StatusColor()};
        for (int tick = 0; tick < 5; ++tick) {
            form->tmrStatusBlinkTimer();
            seen << form->StatusColor();
        }
        const QColor g = app::StatusGreen;
        QCOMPARE(seen, QList<QColor>({g, normal, g, normal, g, normal}));
        QVERIFY(!form->tmrStatusBlink->isActive());
        QCOMPARE(form->StatusText(), QStringLiteral("b"));
    }

    void setDefault_afterRead_defaultsCaptionKept() {
        Read();
        const QString caption = CurrentDeviceForm()->windowTitle();
        form->actSetDefault->trigger();
        models::TDeviceConfig expected{};
        expected[4] = 3;
        QCOMPARE(CurrentDeviceForm()->Config, expected);
        QCOMPARE(CurrentDeviceForm()->windowTitle(), caption);
        QCOMPARE(ActionStates(*form), kInstrumentShown);
    }

    void write_success_instrumentHoldsConfig() {
        Read();
        CurrentDeviceForm()->Config[10] = 0x5A;
        dialogs.answer = true;
        form->actDevWrite->trigger();
        QCOMPARE(ActionStates(*form), kBusy);
        WaitStatus(QStringLiteral("Данные записаны"));
        QCOMPARE(form->StatusColor(), app::StatusGreen);
        const std::vector<std::uint8_t> written = bench.Sim().WrittenConfig();
        const auto& config = CurrentDeviceForm()->Config;
        QCOMPARE(written, std::vector<std::uint8_t>(config.begin(), config.end()));
        QCOMPARE(ActionStates(*form), kInstrumentShown);
        // Asked once, with the instrument's byte beside the window's.
        QCOMPARE(dialogs.questions.size(), std::size_t(1));
        QCOMPARE(dialogs.questions[0].title, QStringLiteral("Запись настроек"));
        QCOMPARE(dialogs.questions[0].text.split('\n').mid(1, 1),
                 QStringList{QStringLiteral("Байт 10: 0B → 5A")});
    }

    void write_nothingToChangeOrNo_nothingWritten_data() {
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("good");
        QTest::newRow("the instrument holds the window's settings")
            << false << QStringLiteral("В приборе уже эти настройки: записывать нечего") << true;
        QTest::newRow("answered no")
            << true << QStringLiteral("Изменение не подтверждено: в приборе ничего не изменено")
            << false;
    }
    void write_nothingToChangeOrNo_nothingWritten() {
        QFETCH(bool, change);
        QFETCH(QString, text);
        QFETCH(bool, good);
        Read();
        if (change) CurrentDeviceForm()->Config[10] = 0x5A;
        dialogs.answer = false;
        form->actDevWrite->trigger();
        WaitStatus(text);
        QCOMPARE(form->StatusColor(), good ? app::StatusGreen : app::StatusRed);
        QCOMPARE(dialogs.questions.size(), std::size_t(change ? 1 : 0));
        for (const auto& request : bench.Sim().Requests())
            QVERIFY(request[2] != device::CMD_WRITE_CONFIG);
        QCOMPARE(ActionStates(*form), kInstrumentShown);
    }

    // The editor beside the time zone: into the window's settings, then
    // "Записать" sends byte 4 and nothing else changes.
    void timeZoneEditor_changeWrittenByte4Only() {
        Read();
        models::TDeviceForm* device = CurrentDeviceForm();
        QVERIFY(device->cbbTimeZone);
        QCOMPARE(device->cbbTimeZone->currentText(), QStringLiteral("UTC+5"));
        QCOMPARE(device->cbbTimeZone->count(), 27);
        const models::TDeviceConfig before = device->Config;
        device->cbbTimeZone->setCurrentIndex(
            device->cbbTimeZone->findText(QStringLiteral("UTC-5")));
        QCOMPARE(device->Config[4], std::uint8_t(0xFB));
        QCOMPARE(device->lblTimeZone->text(), QStringLiteral("Часовой пояс: UTC-5"));
        dialogs.answer = true;
        form->actDevWrite->trigger();
        WaitStatus(QStringLiteral("Данные записаны"));
        QCOMPARE(dialogs.questions.size(), std::size_t(1));
        QVERIFY(dialogs.questions[0].text.contains(QStringLiteral("Часовой пояс: UTC+5 → UTC-5")));
        models::TDeviceConfig expected = before;
        expected[4] = 0xFB;
        const std::vector<std::uint8_t> written = bench.Sim().WrittenConfig();
        QCOMPARE(written, std::vector<std::uint8_t>(expected.begin(), expected.end()));
    }

    // A value the editor does not offer is shown as it is and kept.
    void timeZoneEditor_valueOutsideShownAndKept() {
        sim::TIdentity id = Identity(101);
        id.settings[4] = 20;
        bench.Sim().SetIdentity(id);
        Read();
        models::TDeviceForm* device = CurrentDeviceForm();
        QCOMPARE(device->cbbTimeZone->currentText(), QStringLiteral("UTC+20"));
        QCOMPARE(device->cbbTimeZone->count(), 28);
        QCOMPARE(device->Config[4], std::uint8_t(20));
        device->cbbTimeZone->setCurrentIndex(
            device->cbbTimeZone->findText(QStringLiteral("UTC+14")));
        QCOMPARE(device->Config[4], std::uint8_t(14));
        QCOMPARE(device->cbbTimeZone->count(), 27);
        QCOMPARE(device->cbbTimeZone->currentText(), QStringLiteral("UTC+14"));
        // A file's settings set the editor as a read does.
        models::TDeviceConfig fromFile = device->Config;
        fromFile[4] = 0x80;
        device->LoadConfig(fromFile);
        QCOMPARE(device->cbbTimeZone->currentText(), QStringLiteral("UTC-128"));
        QCOMPARE(device->Config[4], std::uint8_t(0x80));
    }

    void write_silentInstrument_noLinkControlsBack() {
        Read();
        sim::TFaults faults;
        faults.silent = true;
        bench.Sim().SetFaults(faults);
        form->actDevWrite->trigger();
        WaitStatus(QStringLiteral("Нет связи с прибором"));
        QCOMPARE(form->StatusColor(), app::StatusRed);
        QCOMPARE(ActionStates(*form), kInstrumentShown);
    }

    void write_portHeldByDownload_refusedWithoutTouchingRequest() {
        Read();
        QVERIFY(serial::TNonVisComp::Instance().TryClaimPort(this));
        const auto before = serial::TNonVisComp::Instance().TxBuffer;
        form->actDevWrite->trigger();
        serial::TNonVisComp::Instance().ReleasePort(this);
        QCOMPARE(form->StatusText(), flow::Report(flow::TOutcome::PortBusy).text);
        QCOMPARE(ActionStates(*form), kInstrumentShown);
        QVERIFY(serial::TNonVisComp::Instance().TxBuffer == before);
    }

    // Writes checked before and after.
    void write_fileOfAnotherModel_refusedNothingSent() {
        Read();  // model 101 shown
        bench.Sim().SetIdentity(Identity(103));
        form->actDevWrite->trigger();
        WaitStatus(flow::ModelMismatchText(101, 103));
        QCOMPARE(form->StatusColor(), app::StatusRed);
        for (const auto& request : bench.Sim().Requests())
            QVERIFY(request[2] != device::CMD_WRITE_CONFIG);
        QVERIFY(bench.Sim().WrittenConfig().empty());
        QCOMPARE(ActionStates(*form), kInstrumentShown);
    }

    void write_readBackDiffers_redTextNotWritten() {
        Read();
        sim::TFaults faults;
        faults.writeAltersByte = 20;
        bench.Sim().SetFaults(faults);
        CurrentDeviceForm()->Config[10] = 0x5A;
        dialogs.answer = true;
        form->actDevWrite->trigger();
        WaitStatus(flow::ReadBackDiffersText());
        QCOMPARE(form->StatusColor(), app::StatusRed);
        QCOMPARE(bench.Sim().WrittenConfig().size(), std::size_t(150));
        QCOMPARE(ActionStates(*form), kInstrumentShown);
    }

    // Operations of other windows. A late reply keeps the page read running
    // while the main window is looked at; the actions go off as it starts.
    void deviceWindowReading_deviceActionsOffThenBack() {
        Read();
        sim::TFaults faults;
        faults.lateMs = 150;
        bench.Sim().SetFaults(faults);
        CurrentDeviceForm()->ReadPage(0);
        QTRY_VERIFY(!form->actDevRead->isEnabled());
        QVERIFY(!form->actDevWrite->isEnabled());
        QVERIFY(!form->cbbPorts->isEnabled());
        QVERIFY(CurrentDeviceForm()->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(ActionStates(*form), kInstrumentShown, 10000);
    }

    void exitDuringOperation_asksFirst_data() {
        QTest::addColumn<bool>("answer");
        QTest::newRow("stay") << false;
        QTest::newRow("leave") << true;
    }
    void exitDuringOperation_asksFirst() {
        QFETCH(bool, answer);
        Read();
        form->show();
        sim::TFaults faults;
        faults.lateMs = 150;  // the page read still runs when the window closes
        bench.Sim().SetFaults(faults);
        CurrentDeviceForm()->ReadPage(0);
        dialogs.answer = answer;
        form->FileExit1->trigger();
        QCOMPARE(dialogs.questions.size(), std::size_t(1));
        QCOMPARE(form->isVisible(), !answer);
        QCOMPARE(CurrentDeviceForm() != nullptr, !answer);
    }

    void exitIdle_noQuestion() {
        form->show();
        form->FileExit1->trigger();
        QVERIFY(dialogs.questions.empty());
        QVERIFY(!form->isVisible());
    }

    void reset_saysDefaultsAreInTheWindowOnly() {
        Read();
        form->actSetDefault->trigger();
        QVERIFY(form->StatusText().contains(QStringLiteral("Записать")));
        QVERIFY(bench.Sim().WrittenConfig().empty());
    }

    void title_afterOpenThenRead_namesNoFile() {
        QTemporaryDir dir;
        Read();
        dialogs.saveAnswers << dir.filePath(QStringLiteral("kept.bcf"));
        form->FileSaveAs1->trigger();
        dialogs.openAnswers << dir.filePath(QStringLiteral("kept.bcf"));
        form->FileOpen1->trigger();
        QVERIFY(form->windowTitle().contains(QStringLiteral("kept.bcf")));
        QVERIFY(CurrentDeviceForm()->lblHeader->text().contains(QStringLiteral("kept.bcf")));
        Read();
        QCOMPARE(form->windowTitle(), QStringLiteral("TolmarikProg"));
        QCOMPARE(CurrentDeviceForm()->lblHeader->text(), CurrentDeviceForm()->windowTitle());
        QVERIFY(CurrentDeviceForm()->windowTitle().startsWith(QStringLiteral("Прибор: Mevra-B")));
    }

    void openSave_roundTrip_sameSettingsAndFolder() {
        QTemporaryDir dir;
        Read();
        CurrentDeviceForm()->Config[0] = 0x42;
        const auto saved = CurrentDeviceForm()->Config;
        dialogs.saveAnswers << dir.filePath(QStringLiteral("mine"));
        form->FileSaveAs1->trigger();
        const QString file = dir.filePath(QStringLiteral("mine.bcf"));
        QVERIFY(QFile::exists(file));
        QVERIFY(form->StatusText().endsWith(file));
        QCOMPARE(app::ReadSetting(QStringLiteral("filepath"), QString()),
                 QDir::currentPath() + '/');

        bench.Sim().SetIdentity(Identity(100));
        Read();
        dialogs.openAnswers << file;
        form->FileOpen1->trigger();
        QCOMPARE(CurrentDeviceForm()->ModelId, models::DeviceModelId(101));
        QCOMPARE(CurrentDeviceForm()->Config, saved);
        QCOMPARE(CurrentDeviceForm()->windowTitle(), QStringLiteral("..."));
        QCOMPARE(form->CurrentModelId, models::DeviceModelId(101));
        QCOMPARE(form->windowTitle(), QStringLiteral("TolmarikProg : ") + file);
        QCOMPARE(form->StatusText(), QStringLiteral("Файл открыт: ") + file);
        QCOMPARE(app::ReadSetting(QStringLiteral("filepath"), QString()), dir.path() + '/');
        QCOMPARE(ActionStates(*form), kInstrumentShown);
    }

    void open_damagedFile_errorAndNothingChanges() {
        QTemporaryDir dir;
        Read();
        QPointer<models::TDeviceForm> shown = CurrentDeviceForm();
        const QString file = dir.filePath(QStringLiteral("bad.bcf"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x01\x00\x01\x00", 4);
        f.close();
        dialogs.openAnswers << file;
        form->FileOpen1->trigger();
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].kind, device::TMessageKind::Error);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("Файл поврежден"));
        QCOMPARE(CurrentDeviceForm(), shown.data());
        QCOMPARE(form->windowTitle(), QStringLiteral("TolmarikProg"));
        QCOMPARE(dialogs.openFolder, QDir::currentPath() + '/');
        QCOMPARE(app::ReadSetting(QStringLiteral("filepath"), QString()), dialogs.openFolder);
    }

    void open_modelWithoutWindow_boxAndNoInstrument() {
        QTemporaryDir dir;
        Read();
        QPointer<models::TDeviceForm> shown = CurrentDeviceForm();
        const QString file = dir.filePath(QStringLiteral("fifty.bcf"));
        models::SaveConfigFile(file, 50, models::DefaultConfig().data());
        dialogs.openAnswers << file;
        form->FileOpen1->trigger();
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Ошибка "));
        QCOMPARE(dialogs.messages[0].text,
                 QStringLiteral("Данный прибор не поддерживается программатором"));
        QVERIFY(!CurrentDeviceForm());
        QTRY_VERIFY(shown.isNull());
        QCOMPARE(ActionStates(*form), kNoInstrument);
        QCOMPARE(app::ReadSetting(QStringLiteral("filepath"), QString()),
                 QDir::currentPath() + '/');
    }

    void saveAs_extensionRule_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("none") << "a"
                              << "a.bcf";
        QTest::newRow("lower") << "b.bcf"
                               << "b.bcf";
        QTest::newRow("upper") << "c.BCF"
                               << "c.BCF.bcf";
        QTest::newRow("inside") << "d.bcf.txt"
                                << "d.bcf.txt";
    }
    void saveAs_extensionRule() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QTemporaryDir dir;
        Read();
        dialogs.saveAnswers << dir.filePath(typed);
        form->FileSaveAs1->trigger();
        QVERIFY(QFile::exists(dir.filePath(written)));
        models::TFileIOSaver saver(0);
        QCOMPARE(saver.LoadFile(dir.filePath(written)), std::uint8_t(101));
    }

    void saveAs_unwritableFolder_errorBox() {
        Read();
        dialogs.saveAnswers << QStringLiteral("/nonexistent-folder/x.bcf");
        form->FileSaveAs1->trigger();
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].kind, device::TMessageKind::Error);
    }

    void exit_closesDeviceWindowPortAndFrame() {
        Read();
        form->show();
        QPointer<models::TDeviceForm> shown = CurrentDeviceForm();
        form->FileExit1->trigger();
        QVERIFY(!CurrentDeviceForm());
        QTRY_VERIFY(shown.isNull());
        QVERIFY(!serial::TNonVisComp::Instance().comport.Connected());
        QVERIFY(!form->isVisible());
    }

    void portForThisRun_usedButNotStored() {
        app::WriteSetting(QStringLiteral("comportname"), QStringLiteral("ttyUSB3"));
        form->UsePortForThisRun(QStringLiteral("/tmp/tolmarik-demo/ttySim"));
        QCOMPARE(form->cbbPorts->currentText(), QStringLiteral("/tmp/tolmarik-demo/ttySim"));
        QCOMPARE(serial::TNonVisComp::Instance().comport.PortName(),
                 QStringLiteral("/tmp/tolmarik-demo/ttySim"));
        QCOMPARE(app::ReadSetting(QStringLiteral("comportname"), QString()),
                 QStringLiteral("ttyUSB3"));
    }

    void updateFirmware_oneWindowAtATime() {
        QCOMPARE(form->findChildren<firmware::TFormUpdateFW*>().size(), 0);
        form->actUpdateFirmware->trigger();
        const auto opened = form->findChildren<firmware::TFormUpdateFW*>();
        QCOMPARE(opened.size(), 1);
        form->actUpdateFirmware->trigger();
        QCOMPARE(form->findChildren<firmware::TFormUpdateFW*>(), opened);
        QPointer<firmware::TFormUpdateFW> window = opened.front();
        window->btExit->click();
        QTRY_VERIFY(window.isNull());
        form->actUpdateFirmware->trigger();
        QCOMPARE(form->findChildren<firmware::TFormUpdateFW*>().size(), 1);
        form->findChildren<firmware::TFormUpdateFW*>().front()->btExit->click();
    }

    // An update that ends inside a box gives the controls back: nothing
    // else happens afterwards that could remind the main window.
    void firmwareUpdateEndingInABox_controlsBack_data() {
        QTest::addColumn<QString>("ending");
        QTest::newRow("port fails at the backup step") << QStringLiteral("port");
        QTest::newRow("no to updating without a backup") << QStringLiteral("no backup");
        QTest::newRow("no to restoring the settings") << QStringLiteral("no restore");
    }
    void firmwareUpdateEndingInABox_controlsBack() {
        QFETCH(QString, ending);
        if (ending == QStringLiteral("port"))
            form->cbbPorts->setEditText(bench.File(QStringLiteral("no-such-port")));
        if (ending == QStringLiteral("no backup")) {
            sim::TFaults faults;
            faults.loader = true;
            bench.Sim().SetFaults(faults);
        }
        const QString image = bench.File(QStringLiteral("fw.enc"));
        QFile file(image);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("000A00010203040506070809");
        file.close();
        form->actUpdateFirmware->trigger();
        auto* window = form->findChildren<firmware::TFormUpdateFW*>().front();
        window->BackupFolder = bench.File(QStringLiteral("backups"));
        window->WorkerTiming.pollStep = std::chrono::microseconds(200);
        dialogs.openAnswers << image;
        window->btnOpenFile->click();
        window->btnUpdate->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window->TransferRunning(), 20000);
        QVERIFY(testing::WaitPortFree());
        QVERIFY(!dialogs.messages.empty() || !dialogs.questions.empty());
        QTRY_COMPARE(ActionStates(*form), kNoInstrument);
        window->btExit->click();
    }

    // A link lost during a track operation reads as lost in the main window,
    // as it does everywhere else.
    void deviceWindowLostLink_saysLinkLost() {
        Read();
        const device::TTarget track = CurrentDeviceForm()->TrackPage->Download().StatusTarget();
        testing::DeliverStatus(track, device::ST_NO_LINK, device::LINK_LOST);
        QCOMPARE(form->StatusText(), device::LinkLostText());
        testing::DeliverStatus(track, device::ST_NO_LINK, 0);
        QCOMPARE(form->StatusText(), QStringLiteral("Нет связи с прибором"));
    }

    void resetAndWrite_noDeviceWindow_nothingHappens() {
        form->actDevWrite->setEnabled(true);
        form->actDevWrite->trigger();
        form->actSetDefault->setEnabled(true);
        form->actSetDefault->trigger();
        QVERIFY(form->actDevRead->isEnabled());
        QCOMPARE(form->StatusText(), QString());
    }
};

TOLMARIK_GUI_TEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
