// The window program in each language it ships: how the language is chosen,
// the main window's texts, the toolkit's own texts, plural forms.
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>

#include "GuiTest.h"
#include "app/Language.h"
#include "app/MAIN.h"
#include "app/SetupAPI.h"

namespace {
// The texts a pilot reads first: the menu bar, the panel's buttons, the hint.
QStringList MainWindowTexts(const app::TMainForm& form) {
    QStringList texts;
    for (const QAction* action : form.menuBar()->actions()) texts << action->text();
    for (const QPushButton* button : form.findChildren<QPushButton*>()) texts << button->text();
    for (const QLabel* label : form.findChildren<QLabel*>()) texts << label->text();
    texts.removeAll(QString());
    return texts;
}

class TLanguageVariable {
  public:
    explicit TLanguageVariable(const QByteArray& value) : kept_(qgetenv(app::LanguageVariable)) {
        if (value.isEmpty())
            qunsetenv(app::LanguageVariable);
        else
            qputenv(app::LanguageVariable, value);
    }
    ~TLanguageVariable() { qputenv(app::LanguageVariable, kept_); }

  private:
    QByteArray kept_;
};
}  // namespace

class TestLanguage : public QObject {
    Q_OBJECT
  private:
    testing::TRecordingDialogs dialogs_;

  private Q_SLOTS:
    void init() {
        testing::ClearSettings();
        dialogs_ = {};
        device::SetDialogs(&dialogs_);
    }
    void cleanup() { app::InstallTranslations(*qApp, QStringLiteral("ru")); }

    void shipped_russianAndEnglish() {
        const QStringList languages = app::ShippedLanguages();
        QVERIFY2(
            languages.contains(QStringLiteral("ru")) && languages.contains(QStringLiteral("en")),
            qPrintable(languages.join(u',')));
        QCOMPARE(app::LanguageName(QStringLiteral("ru")), QStringLiteral("Русский"));
        QCOMPARE(app::LanguageName(QStringLiteral("en")), QStringLiteral("English"));
    }

    // The variable beats the saved choice, which beats the system's (C here:
    // not Russian, so English).
    void chosen_variableThenSavedThenSystem_data() {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("nothing: the system's") << QByteArray() << QString() << "en";
        QTest::newRow("saved") << QByteArray() << "ru"
                               << "ru";
        QTest::newRow("saved but not shipped") << QByteArray() << "xx"
                                               << "en";
        QTest::newRow("variable over saved") << QByteArray("ru") << "en"
                                             << "ru";
        QTest::newRow("variable not shipped") << QByteArray("xx") << "ru"
                                              << "ru";
    }
    void chosen_variableThenSavedThenSystem() {
        QFETCH(QByteArray, variable);
        QFETCH(QString, saved);
        QFETCH(QString, chosen);
        if (QLocale::system().uiLanguages().value(0).startsWith(QLatin1String("ru")))
            QSKIP("the machine's own locale is Russian");
        const TLanguageVariable forced(variable);
        QCOMPARE(app::ChosenLanguage(saved), chosen);
    }

    void mainWindow_textsInEachLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("ru") << "ru" << QStringList{"&Файл",   "Прибор",   "Обновить прошивку",
                                                   "Журнал",  "Пилот...", "Язык",
                                                   "П&омощь", "Считать",  "Записать",
                                                   "Сброс",   "Выход",    "Порт:"}
                            << "Отмена";
        QTest::newRow("en") << "en" << QStringList{"&File",   "Instrument", "Update firmware",
                                                   "Logbook", "Pilot...",   "Language",
                                                   "&Help",   "Read",       "Write",
                                                   "Reset",   "Exit",       "Port:"}
                            << "Cancel";
    }
    void mainWindow_textsInEachLanguage() {
        QFETCH(QString, language);
        QFETCH(QStringList, expected);
        QFETCH(QString, cancel);
        app::InstallTranslations(*qApp, language);
        app::TMainForm form;
        const QStringList texts = MainWindowTexts(form);
        for (const QString& text : expected)
            QVERIFY2(texts.contains(text),
                     qPrintable(text + QStringLiteral(" in ") + texts.join(u'|')));
        if (language == QLatin1String("en")) {
            static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
            // The language menu names each language in itself.
            QStringList russian = texts.filter(cyrillic);
            QVERIFY2(russian.isEmpty(), qPrintable(russian.join(u'|')));
        }
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), cancel);
    }

    // The menu keeps the choice for the next start and says so.
    void languageMenu_keepsChoiceForNextStart() {
        app::TMainForm form;
        auto* english = form.findChild<QAction*>(QStringLiteral("actLanguage_en"));
        auto* russian = form.findChild<QAction*>(QStringLiteral("actLanguage_ru"));
        QVERIFY(english && russian);
        QVERIFY(russian->isChecked());
        english->trigger();
        QCOMPARE(app::StoredSetting(app::LanguageSetting), QStringLiteral("en"));
        QCOMPARE(dialogs_.messages.size(), size_t(1));
        QCOMPARE(dialogs_.messages[0].text,
                 QStringLiteral("Язык сменится при следующем запуске программы"));
        const TLanguageVariable unforced{QByteArray()};
        QCOMPARE(app::ProgramLanguage(), QStringLiteral("en"));
    }

    // Russian has three plural forms, English two. The logbook's count of
    // flights is the program's numerus text.
    void plural_formsInEachLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("ru 1") << "ru" << 1 << "1 полёт";
        QTest::newRow("ru 2") << "ru" << 2 << "2 полёта";
        QTest::newRow("ru 5") << "ru" << 5 << "5 полётов";
        QTest::newRow("ru 21") << "ru" << 21 << "21 полёт";
        QTest::newRow("en 1") << "en" << 1 << "1 flight";
        QTest::newRow("en 2") << "en" << 2 << "2 flights";
    }
    void plural_formsInEachLanguage() {
        QFETCH(QString, language);
        QFETCH(int, count);
        QFETCH(QString, text);
        app::InstallTranslations(*qApp, language);
        const QString shown = QCoreApplication::translate("logbook", "%n полётов", nullptr, count);
        // The logbook's texts are marked on their own branch; remove this once
        // it is merged.
        if (shown == QStringLiteral("%1 полётов").arg(count) && text != shown)
            QSKIP("the logbook's count of flights is not in the catalogues yet");
        QCOMPARE(shown, text);
    }
};

TOLMARIK_GUI_TEST_MAIN(TestLanguage)
#include "tst_language.moc"
