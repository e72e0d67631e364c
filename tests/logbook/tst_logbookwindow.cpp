// The logbook window imports a folder and shows the totals of what it holds,
// per year and per glider, and of the rows selected.
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <map>

#include "GuiTest.h"
#include "LockHolder.h"
#include "LogbookFlights.h"
#include "device/FileStore.h"
#include "logbook/LogbookModel.h"
#include "logbook/LogbookWindow.h"

using namespace logbook;
using tracktest::Time;

class TestLogbookWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    testing::TRecordingDialogs dialogs_;

  private Q_SLOTS:
    void initTestCase() { device::SetDialogs(&dialogs_); }
    void cleanupTestCase() { device::SetDialogs(nullptr); }

    void importFolder_totalsShown() {
        const QString in = dir_.filePath(QStringLiteral("tracks"));
        QDir().mkpath(in + QStringLiteral("/old"));
        auto write = [&](const QString& name, device::TrackTime start, const char* glider) {
            device::WriteFileSafely(
                in + name,
                logbooktest::Igc(logbooktest::Download(start, 45.0f, 6.0f, 1440),
                                 {QStringLiteral("P"), QLatin1String(glider), {}, {}, {}}));
        };
        write(QStringLiteral("/a.igc"), Time(2024, 5, 1, 9, 0, 0), "Rush");
        write(QStringLiteral("/b.igc"), Time(2024, 5, 2, 9, 0, 0), "Rush");
        write(QStringLiteral("/old/c.igc"), Time(2023, 8, 1, 9, 0, 0), "Mentor");

        const QString db = dir_.filePath(QStringLiteral("logbook.sqlite"));
        auto* window = new TLogbookWindow(std::make_unique<TLogbook>(db),
                                          [] { return track::TPilotProfile{}; });
        window->show();
        QCOMPARE(window->TotalsLabel()->text(), QStringLiteral("Всего: 0 полётов, 0:00 ч, 0.0 км"));
        QSignalSpy finished(window, &TLogbookWindow::ImportFinished);
        dialogs_.folderAnswers << in;
        window->findChild<QPushButton*>(QStringLiteral("btnImportFolder"))->click();
        QVERIFY(finished.wait(60000));

        QCOMPARE(window->Table()->model()->rowCount(), 3);
        // About 20 minutes flown each; the times as the store measured them,
        // the distances on the ellipsoid.
        std::map<QString, std::int64_t> flown;
        for (const TFlightEntry& e : TLogbook(db).Flights())
            flown[DateText(e.takeoffUtc)] = e.durationSeconds;
        QCOMPARE(int(flown.size()), 3);
        const std::int64_t in2024 = flown["2024-05-01"] + flown["2024-05-02"];
        QCOMPARE(window->TotalsLabel()->text(),
                 QStringLiteral("Всего: 3 полёта, %1 ч, 12.6 км")
                     .arg(DurationText(in2024 + flown["2023-08-01"])));
        const QString summary = window->Summary()->toPlainText();
        QVERIFY2(summary.contains(QStringLiteral("2024: 2 полёта, %1 ч").arg(DurationText(in2024))),
                 qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("Рекорды:\n  Самый долгий полёт: ")),
                 qPrintable(summary));
        auto* by = window->findChild<QComboBox*>(QStringLiteral("cbbTotalsBy"));
        by->setCurrentIndex(by->findText(TotalsByTitle(TTotalsBy::Glider)));
        Q_EMIT by->activated(by->currentIndex());
        QVERIFY2(
            window->Summary()->toPlainText().contains(
                QStringLiteral("Mentor: 1 полёт, %1 ч").arg(DurationText(flown["2023-08-01"]))),
            qPrintable(window->Summary()->toPlainText()));
        QVERIFY(dialogs_.messages.back().text.startsWith(QStringLiteral("Добавлено полётов: 3,")));

        window->Table()->selectRow(0);
        window->Table()->selectionModel()->select(
            window->Table()->model()->index(1, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QVERIFY2(window->TotalsLabel()->text().startsWith(
                     QStringLiteral("Выбрано: 2 полёта, %1 ч").arg(DurationText(in2024))),
                 qPrintable(window->TotalsLabel()->text()));

        auto* year = window->findChild<QComboBox*>(QStringLiteral("cbbYear"));
        const int at = year->findText(QStringLiteral("2023"));
        QVERIFY(at > 0);
        year->setCurrentIndex(at);
        Q_EMIT year->activated(at);
        QCOMPARE(window->Table()->model()->rowCount(), 1);
        QVERIFY(window->TotalsLabel()->text().startsWith(
            QStringLiteral("Всего: 1 полёт, %1 ч").arg(DurationText(flown["2023-08-01"]))));

        // The same folder again adds nothing.
        dialogs_.folderAnswers << in;
        window->findChild<QPushButton*>(QStringLiteral("btnImportFolder"))->click();
        QVERIFY(finished.wait(60000));
        QVERIFY(dialogs_.messages.back().text.startsWith(
            QStringLiteral("Добавлено полётов: 0, уже были в журнале: 3")));
        delete window;
    }

    // The score column: what a flight scored as it was added, and a flight
    // kept unscored by an older version scored once the window shows it.
    void scoreColumn_keptAndMadeUpWhenShown() {
        const QString db = dir_.filePath(QStringLiteral("scored.sqlite"));
        const QString igc = dir_.filePath(QStringLiteral("scored.igc"));
        device::WriteFileSafely(
            igc, logbooktest::Igc(logbooktest::Download(Time(2024, 7, 1, 9, 0, 0), 45.0f, 6.0f)));
        QString shown;
        {
            TLogbook book(db);
            QCOMPARE(book.ImportFile(igc, {}).front().result, TRecordResult::Added);
            const TFlightEntry e = book.Flights().front();
            QVERIFY(e.score);
            shown = ScoreText(e.score, e.scoreKind);
            // As an older version left it.
            QSqlQuery q(book.Store().Database());
            QVERIFY(q.exec(QStringLiteral("UPDATE flights SET score = NULL, score_kind = ''")));
        }
        auto* window = new TLogbookWindow(std::make_unique<TLogbook>(db),
                                          [] { return track::TPilotProfile{}; });
        window->show();
        const QAbstractItemModel* model = window->Table()->model();
        QCOMPARE(model->columnCount(), int(TLogbookModel::ColCount));
        QCOMPARE(model->headerData(TLogbookModel::ColScore, Qt::Horizontal).toString(),
                 QStringLiteral("XContest, б"));
        QTRY_COMPARE_WITH_TIMEOUT(model->index(0, TLogbookModel::ColScore).data().toString(), shown,
                                  30000);
        delete window;
    }

    // Three flights in a logbook of their own; the window over it.
    TLogbookWindow* ThreeFlights(const QString& name) {
        const QString db = dir_.filePath(name + QStringLiteral(".sqlite"));
        {
            TLogbook book(db);
            for (int day = 1; day <= 3; ++day) {
                const QString igc = dir_.filePath(QStringLiteral("%1-%2.igc").arg(name).arg(day));
                device::WriteFileSafely(igc, logbooktest::Igc(logbooktest::Download(
                                                 Time(2024, 6, day, 9, 0, 0), 45.0f, 6.0f, 600)));
                if (book.ImportFile(igc, {}).front().result != TRecordResult::Added) return nullptr;
            }
        }
        auto* window = new TLogbookWindow(std::make_unique<TLogbook>(db, InterfaceBusyTimeoutMs),
                                          [] { return track::TPilotProfile{}; });
        window->show();
        return window;
    }
    void SelectRows(TLogbookWindow* window, std::initializer_list<int> rows) {
        QItemSelectionModel* selection = window->Table()->selectionModel();
        QItemSelectionModel::SelectionFlags flags =
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        for (const int row : rows) {
            selection->setCurrentIndex(window->Table()->model()->index(row, 0), flags);
            flags = QItemSelectionModel::Select | QItemSelectionModel::Rows;
        }
    }
    QPushButton* ButtonOf(TLogbookWindow* window, const char* name) {
        return window->findChild<QPushButton*>(QLatin1String(name));
    }

    // Two rows the pilot takes for one flight from two recorders: the second
    // shown under the first and counted once, until it is kept apart again.
    void sameFlight_mergedShownOnceThenKeptApart() {
        TLogbookWindow* window = ThreeFlights(QStringLiteral("pair"));
        QVERIFY(window);
        const QAbstractItemModel* model = window->Table()->model();
        QVERIFY(window->TotalsLabel()->text().startsWith(QStringLiteral("Всего: 3 полёта")));
        QVERIFY(!ButtonOf(window, "btnMerge")->isEnabled());
        // Newest first: the third day above the first.
        const QString third = model->index(0, TLogbookModel::ColId).data().toString();
        const QString first = model->index(2, TLogbookModel::ColId).data().toString();
        SelectRows(window, {0, 2});
        QVERIFY(ButtonOf(window, "btnMerge")->isEnabled());
        ButtonOf(window, "btnMerge")->click();
        QVERIFY(!window->Changing());

        QVERIFY2(window->TotalsLabel()->text().startsWith(QStringLiteral("Всего: 2 полёта")),
                 qPrintable(window->TotalsLabel()->text()));
        QVERIFY(window->Summary()->toPlainText().contains(QStringLiteral("2024: 2 полёта")));
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->index(0, TLogbookModel::ColId).data().toString(), third);
        QCOMPARE(model->index(1, TLogbookModel::ColId).data().toString(),
                 QStringLiteral("\u21b3 ") + first);
        QCOMPARE(model->index(1, TLogbookModel::ColDate).data(Qt::ToolTipRole).toString(),
                 SameFlightText(third.toLongLong()));
        SelectRows(window, {0, 1});
        QVERIFY(window->TotalsLabel()->text().startsWith(QStringLiteral("Выбрано: 1 полёт")));

        SelectRows(window, {0});
        QVERIFY(!ButtonOf(window, "btnUnmerge")->isEnabled());
        SelectRows(window, {1});
        QVERIFY(ButtonOf(window, "btnUnmerge")->isEnabled());
        ButtonOf(window, "btnUnmerge")->click();
        QVERIFY(window->TotalsLabel()->text().startsWith(QStringLiteral("Всего: 3 полёта")));
        QCOMPARE(model->index(2, TLogbookModel::ColId).data().toString(), first);
        delete window;
    }

    // The window's backup and restore, through the dialog seam: a flight
    // deleted after the backup comes back; a question answered No and a
    // damaged backup change nothing.
    void backupAndRestore_flightBackWindowShowsIt() {
        TLogbookWindow* window = ThreeFlights(QStringLiteral("saved"));
        QVERIFY(window);
        const QString backup = dir_.filePath(QStringLiteral("saved.backup"));
        dialogs_.saveAnswers << backup;
        ButtonOf(window, "btnBackup")->click();
        // The folder of track copies is shared by this suite's logbooks.
        QVERIFY2(
            dialogs_.messages.back().text.contains(QStringLiteral("\nПолётов: 3, файлов треков: ")),
            qPrintable(dialogs_.messages.back().text));
        SelectRows(window, {0});
        dialogs_.answer = true;
        ButtonOf(window, "btnDelete")->click();
        QTRY_COMPARE(window->Table()->model()->rowCount(), 2);
        // Taken back with the window's undo, and deleted again.
        ButtonOf(window, "btnUndo")->click();
        QTRY_COMPARE(window->Table()->model()->rowCount(), 3);
        SelectRows(window, {0});
        ButtonOf(window, "btnDelete")->click();
        QTRY_COMPARE(window->Table()->model()->rowCount(), 2);

        dialogs_.answer = false;
        dialogs_.openAnswers << backup;
        ButtonOf(window, "btnRestore")->click();
        QCOMPARE(window->Table()->model()->rowCount(), 2);

        const QString damaged = dir_.filePath(QStringLiteral("damaged.backup"));
        device::WriteFileSafely(damaged, device::ReadRegularFile(backup, 1 << 26).chopped(1));
        dialogs_.answer = true;
        dialogs_.openAnswers << damaged;
        ButtonOf(window, "btnRestore")->click();
        QCOMPARE(dialogs_.messages.back().kind, device::TMessageKind::Error);
        QVERIFY(dialogs_.messages.back().text.contains(QStringLiteral("damaged.backup")));
        QCOMPARE(window->Table()->model()->rowCount(), 2);

        dialogs_.openAnswers << backup;
        ButtonOf(window, "btnRestore")->click();
        dialogs_.answer = false;
        QVERIFY2(dialogs_.messages.back().text.startsWith(QStringLiteral("Журнал восстановлен")),
                 qPrintable(dialogs_.messages.back().text));
        QCOMPARE(window->Table()->model()->rowCount(), 3);
        QVERIFY(window->TotalsLabel()->text().startsWith(QStringLiteral("Всего: 3 полёта")));
        delete window;
    }

    // Another program holds the logbook's write lock while the pilot deletes
    // a flight: the window goes on answering, and the flight goes once the
    // lock is released.
    void lockHeldElsewhere_windowAnswersThenChanges() {
        TLogbookWindow* window = ThreeFlights(QStringLiteral("locked"));
        QVERIFY(window);
        const QString db = dir_.filePath(QStringLiteral("locked.sqlite"));
        const std::size_t said = dialogs_.messages.size();
        {
            logbooktest::TLockHolder hold(db);
            QVERIFY(hold.Held());
            SelectRows(window, {0});
            dialogs_.answer = true;
            ButtonOf(window, "btnDelete")->click();
            dialogs_.answer = false;
            QVERIFY(window->Changing());
            QVERIFY(!ButtonOf(window, "btnDelete")->isEnabled());
            // It answers meanwhile: another year shown, and back.
            auto* year = window->findChild<QComboBox*>(QStringLiteral("cbbYear"));
            year->setCurrentIndex(1);
            Q_EMIT year->activated(1);
            QCOMPARE(window->Table()->model()->rowCount(), 3);
            QVERIFY(window->Changing());
            hold.Release();
            QTRY_VERIFY(!window->Changing());
        }
        QCOMPARE(dialogs_.messages.size(), said);
        QCOMPARE(window->Table()->model()->rowCount(), 2);
        delete window;
    }
};

TOLMARIK_GUI_TEST_MAIN(TestLogbookWindow)
#include "tst_logbookwindow.moc"
