// A file given to the window program at start: a settings file opens as from
// the File menu, with the same messages; a flight goes into the logbook.
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

#include "../logbook/LogbookFlights.h"
#include "GuiTest.h"
#include "app/CommandLine.h"
#include "app/GivenFile.h"
#include "app/MAIN.h"
#include "device/FileStore.h"
#include "models/DeviceConfig.h"
#include "models/DeviceFactory.h"
#include "models/UnitFileIO.h"
#if TOLMARIK_LOGBOOK_BUILT
#include "logbook/Logbook.h"
#include "logbook/LogbookWindow.h"
#endif

using app::TMainForm;
using models::CurrentDeviceForm;

namespace {
// What a window shows after a file was opened, by either way.
struct TShown {
    std::vector<testing::TShownMessage> messages;
    QString title;
    QString status;
    int model = 0;
    QByteArray config;
};

bool operator==(const TShown& a, const TShown& b) {
    if (a.messages.size() != b.messages.size()) return false;
    for (std::size_t i = 0; i < a.messages.size(); ++i)
        if (a.messages[i].kind != b.messages[i].kind ||
            a.messages[i].title != b.messages[i].title || a.messages[i].text != b.messages[i].text)
            return false;
    return a.title == b.title && a.status == b.status && a.model == b.model && a.config == b.config;
}

char* Describe(const TShown& s) {
    QString text = QStringLiteral("title '%1', status '%2', model %3, messages:")
                       .arg(s.title, s.status)
                       .arg(s.model);
    for (const testing::TShownMessage& m : s.messages) text += QStringLiteral(" [%1]").arg(m.text);
    return qstrdup(qPrintable(text));
}
}  // namespace

namespace QTest {
template <>
char* toString(const TShown& s) {
    return Describe(s);
}
}  // namespace QTest

class TestGivenFile : public QObject {
    Q_OBJECT
    testing::TRecordingDialogs dialogs;
    QTemporaryDir dir;

    template <typename Open>
    TShown OpenIn(Open open) {
        testing::ClearSettings();
        dialogs = testing::TRecordingDialogs{};
        auto form = std::make_unique<TMainForm>();
        form->show();
        open(*form);
        TShown shown{
            dialogs.messages, form->windowTitle(), form->StatusText(), form->CurrentModelId, {}};
        if (models::TDeviceForm* device = CurrentDeviceForm())
            shown.config = QByteArray(reinterpret_cast<const char*>(device->Config.data()),
                                      int(device->Config.size()));
        return shown;
    }

  private Q_SLOTS:
    void initTestCase() {
        device::SetDialogs(&dialogs);
        // Where the logbook lives, away from the user's own.
        QStandardPaths::setTestModeEnabled(true);
    }
    void cleanupTestCase() { device::SetDialogs(nullptr); }

    void settingsFile_sameAsFileMenu_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");  // empty: a settings file of model 101
        QTest::addColumn<int>("model");         // the model shown afterwards
        QTest::newRow("settings of a known model") << "known.bcf" << QByteArray() << 101;
        QTest::newRow("upper-case ending") << "KNOWN.BCF" << QByteArray() << 101;
        QTest::newRow("damaged") << "bad.bcf" << QByteArray("\x01\x00\x01\x00", 4) << 0;
        QTest::newRow("missing") << "gone.bcf" << QByteArray("-") << 0;
        QTest::newRow("Cyrillic name") << "настройки.bcf" << QByteArray() << 101;
    }
    void settingsFile_sameAsFileMenu() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, model);
        const QString file = dir.filePath(name);
        if (bytes.isEmpty()) {
            models::TDeviceConfig config = models::DefaultConfig();
            config[4] = 7;
            models::SaveConfigFile(file, 101, config.data());
        } else if (bytes != "-") {
            device::WriteFileSafely(file, bytes);
        }
        const TShown fromMenu = OpenIn([&](TMainForm& form) {
            dialogs.openAnswers << file;
            form.FileOpen1->trigger();
        });
        // Given as the system gives it: the program's name, then the file.
        const app::TCommandLine line =
            app::ParseCommandLine({QStringLiteral("TolmarikProg"), file});
        QCOMPARE(line.action, app::TCommandLine::Run);
        const TShown given = OpenIn([&](TMainForm& form) { app::OpenGivenFile(form, line); });
        QCOMPARE(given, fromMenu);
        QCOMPARE(given.model, model);
        QCOMPARE(given.messages.size(), std::size_t(model ? 0 : 1));
        if (model) QCOMPARE(given.status, QStringLiteral("Файл открыт: ") + file);
    }

    void settingsFile_relativeName_shownInFull() {
        const QString file = dir.filePath(QStringLiteral("here.bcf"));
        models::SaveConfigFile(file, 101, models::DefaultConfig().data());
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const TShown given = OpenIn([](TMainForm& form) {
            app::OpenGivenFile(form, app::ParseCommandLine({"TolmarikProg", "here.bcf"}));
        });
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(given.status, QStringLiteral("Файл открыт: ") + file);
    }

    void flightFile_takenIntoTheLogbookAndShown() {
        const QString flight = dir.filePath(QStringLiteral("полёт.igc"));
        device::WriteFileSafely(
            flight, logbooktest::Igc(logbooktest::Download(tracktest::Time(2025, 6, 1, 10, 0, 0),
                                                           46.0f, 7.0f, 900)));
        const app::TCommandLine line = app::ParseCommandLine({"TolmarikProg", flight});
        QCOMPARE(line.fileKind, app::TCommandLine::FlightFile);
        testing::ClearSettings();
        dialogs = testing::TRecordingDialogs{};
        TMainForm form;
        form.show();
#if TOLMARIK_LOGBOOK_BUILT
        QDir(QFileInfo(logbook::TLogbook::DefaultPath()).absolutePath()).removeRecursively();
        app::OpenGivenFile(form, line);
        auto* window = form.mdiArea->findChild<logbook::TLogbookWindow*>();
        QVERIFY(window);
        QTRY_VERIFY_WITH_TIMEOUT(!window->Importing(), 60000);
        QCOMPARE(window->Table()->model()->rowCount(), 1);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QVERIFY2(dialogs.messages[0].text.startsWith(QStringLiteral("Добавлено полётов: 1,")),
                 qPrintable(dialogs.messages[0].text));
#else
        app::OpenGivenFile(form, line);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QVERIFY(form.mdiArea->subWindowList().isEmpty());
#endif
    }
};

TOLMARIK_GUI_TEST_MAIN(TestGivenFile)
#include "tst_givenfile.moc"
