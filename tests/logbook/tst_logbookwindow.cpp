// The logbook window imports a folder and shows the totals of what it holds,
// per year and per glider, and of the rows selected.
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QTimeEdit>
#include <QTimer>
#include <map>

#include "GuiTest.h"
#include "LockHolder.h"
#include "LogbookFlights.h"
#include "app/MAIN.h"
#include "device/FileStore.h"
#include "device/TimeTexts.h"
#include "logbook/LogbookModel.h"
#include "logbook/LogbookWindow.h"
#include "track/FlightPlotView.h"

using namespace logbook;
using tracktest::Time;

namespace {
// The window's timer `name`, running with `interval`, made to fire now: what
// it does at its tick, without waiting the interval out.
bool Tick(QWidget* window, const char* name, int interval) {
    auto* timer = window->findChild<QTimer*>(QLatin1String(name));
    if (!timer || !timer->isActive() || timer->interval() != interval) return false;
    QTimerEvent tick(timer->timerId());
    QCoreApplication::sendEvent(timer, &tick);
    return true;
}
}  // namespace

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
        window->findChild<QAction*>(QStringLiteral("actImportFolder"))->trigger();
        QVERIFY(finished.wait(60000));

        QCOMPARE(window->Table()->model()->rowCount(), 3);
        // About 20 minutes flown each; the times as the store measured them,
        // the distances on the ellipsoid.
        std::map<QString, std::int64_t> flown;
        for (const TFlightEntry& e : TLogbook(db).Flights())
            flown[device::DateText(e.takeoffUtc)] = e.durationSeconds;
        QCOMPARE(int(flown.size()), 3);
        const std::int64_t in2024 = flown["2024-05-01"] + flown["2024-05-02"];
        QCOMPARE(window->TotalsLabel()->text(),
                 QStringLiteral("Всего: 3 полёта, %1 ч, 12.6 км")
                     .arg(device::DurationText(in2024 + flown["2023-08-01"])));
        const QString summary = window->Summary()->toPlainText();
        QVERIFY2(summary.contains(
                     QStringLiteral("2024: 2 полёта, %1 ч").arg(device::DurationText(in2024))),
                 qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("Рекорды:\n  Самый долгий полёт: ")),
                 qPrintable(summary));
        auto* by = window->findChild<QComboBox*>(QStringLiteral("cbbTotalsBy"));
        by->setCurrentIndex(by->findText(TotalsByTitle(TTotalsBy::Glider)));
        Q_EMIT by->activated(by->currentIndex());
        QVERIFY2(window->Summary()->toPlainText().contains(
                     QStringLiteral("Mentor: 1 полёт, %1 ч")
                         .arg(device::DurationText(flown["2023-08-01"]))),
                 qPrintable(window->Summary()->toPlainText()));
        QVERIFY(dialogs_.messages.back().text.startsWith(QStringLiteral("Добавлено полётов: 3,")));

        window->Table()->selectRow(0);
        window->Table()->selectionModel()->select(
            window->Table()->model()->index(1, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QVERIFY2(window->TotalsLabel()->text().startsWith(
                     QStringLiteral("Выбрано: 2 полёта, %1 ч").arg(device::DurationText(in2024))),
                 qPrintable(window->TotalsLabel()->text()));

        auto* year = window->findChild<QComboBox*>(QStringLiteral("cbbYear"));
        const int at = year->findText(QStringLiteral("2023"));
        QVERIFY(at > 0);
        year->setCurrentIndex(at);
        Q_EMIT year->activated(at);
        QCOMPARE(window->Table()->model()->rowCount(), 1);
        QVERIFY(window->TotalsLabel()->text().startsWith(
            QStringLiteral("Всего: 1 полёт, %1 ч").arg(device::DurationText(flown["2023-08-01"]))));

        // The same folder again adds nothing.
        dialogs_.folderAnswers << in;
        window->findChild<QAction*>(QStringLiteral("actImportFolder"))->trigger();
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
    QAction* ActionOf(TLogbookWindow* window, const char* name) {
        return window->findChild<QAction*>(QLatin1String(name));
    }

    // Two rows the pilot takes for one flight from two recorders: the second
    // shown under the first and counted once, until it is kept apart again.
    void sameFlight_mergedShownOnceThenKeptApart() {
        TLogbookWindow* window = ThreeFlights(QStringLiteral("pair"));
        QVERIFY(window);
        const QAbstractItemModel* model = window->Table()->model();
        QVERIFY(window->TotalsLabel()->text().startsWith(QStringLiteral("Всего: 3 полёта")));
        QVERIFY(!ActionOf(window, "actMerge")->isEnabled());
        // Newest first: the third day above the first.
        const QString third = model->index(0, TLogbookModel::ColId).data().toString();
        const QString first = model->index(2, TLogbookModel::ColId).data().toString();
        SelectRows(window, {0, 2});
        QVERIFY(ActionOf(window, "actMerge")->isEnabled());
        ActionOf(window, "actMerge")->trigger();
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
        QVERIFY(!ActionOf(window, "actUnmerge")->isEnabled());
        // Its picture, then the same with its turnpoints and thermals.
        auto* plot = window->findChild<track::TFlightPlotView*>();
        QTRY_VERIFY(!plot->Image().isNull());
        SelectRows(window, {1});
        QVERIFY(ActionOf(window, "actUnmerge")->isEnabled());
        ActionOf(window, "actUnmerge")->trigger();
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
        ActionOf(window, "actBackup")->trigger();
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
        ActionOf(window, "actRestore")->trigger();
        QCOMPARE(window->Table()->model()->rowCount(), 2);

        const QString damaged = dir_.filePath(QStringLiteral("damaged.backup"));
        device::WriteFileSafely(damaged, device::ReadRegularFile(backup, 1 << 26).chopped(1));
        dialogs_.answer = true;
        dialogs_.openAnswers << damaged;
        ActionOf(window, "actRestore")->trigger();
        QCOMPARE(dialogs_.messages.back().kind, device::TMessageKind::Error);
        QVERIFY(dialogs_.messages.back().text.contains(QStringLiteral("damaged.backup")));
        QCOMPARE(window->Table()->model()->rowCount(), 2);

        dialogs_.openAnswers << backup;
        ActionOf(window, "actRestore")->trigger();
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

    // The filter field searches as "logbook find" does, and the dates limit
    // by local take-off date; the totals follow what is shown.
    void filter_textAndDates_totalsFollow() {
        TLogbookWindow* window = ThreeFlights(QStringLiteral("filtered"));
        QVERIFY(window);
        {
            TLogbook book(dir_.filePath(QStringLiteral("filtered.sqlite")));
            const std::vector<TFlightEntry> flights = book.Flights();
            book.Edit(flights[0].id, QStringLiteral("Юца"), QStringLiteral("Rush"), {});
        }
        window->Reload();
        const QAbstractItemModel* model = window->Table()->model();
        auto* text = window->findChild<QLineEdit*>(QStringLiteral("edtFilter"));
        auto* from = window->findChild<QDateEdit*>(QStringLiteral("dteFrom"));
        auto* to = window->findChild<QDateEdit*>(QStringLiteral("dteTo"));
        const struct {
            const char* what;
            const char* text;
            QDate from, to;
            int rows;
        } rows[] = {
            {"a site, any case", "ЮЦА", {}, {}, 1},
            {"a glider", "rush", {}, {}, 1},
            {"nothing matches", "Enzo", {}, {}, 0},
            {"from a date on", "", QDate(2024, 6, 2), {}, 2},
            {"up to a date", "", {}, QDate(2024, 6, 1), 1},
            {"a day", "", QDate(2024, 6, 2), QDate(2024, 6, 2), 1},
            {"no limit", "", {}, {}, 3},
        };
        for (const auto& row : rows) {
            from->setDate(row.from.isValid() ? row.from : from->minimumDate());
            to->setDate(row.to.isValid() ? row.to : to->minimumDate());
            if (text->text() != QString::fromUtf8(row.text)) {
                text->setText(QString::fromUtf8(row.text));
                QVERIFY2(Tick(window, "tmrFilter", FilterDelayMs), row.what);
            }
            QTRY_VERIFY2(model->rowCount() == row.rows, row.what);
            QVERIFY2(window->TotalsLabel()->text().startsWith(QStringLiteral("Всего: ") +
                                                              FlightCountText(row.rows)),
                     row.what);
        }
        delete window;
    }

    // Flights another connection adds or removes (the command line, another
    // window) appear without the pilot asking.
    void refresh_whenAnotherConnectionChangesTheLogbook() {
        TLogbookWindow* window = ThreeFlights(QStringLiteral("shared"));
        QVERIFY(window);
        const QString db = dir_.filePath(QStringLiteral("shared.sqlite"));
        TLogbook other(db);
        const std::int64_t added =
            other.AddManual({QDate(2024, 5, 1), QTime(10, 0), 3600, QStringLiteral("Юца"), {}, {}});
        QVERIFY(Tick(window, "tmrWatch", WatchIntervalMs));
        QTRY_COMPARE(window->Table()->model()->rowCount(), 4);
        QVERIFY(window->TotalsLabel()->text().startsWith(QStringLiteral("Всего: 4 полёта")));
        // The oldest is number 1, and is marked as having no track.
        const QAbstractItemModel* model = window->Table()->model();
        QCOMPARE(model->index(3, TLogbookModel::ColId).data().toString(), QStringLiteral("1"));
        QCOMPARE(model->index(3, TLogbookModel::ColLength).data().toString(), NoTrackText());
        other.Remove(added);
        QVERIFY(Tick(window, "tmrWatch", WatchIntervalMs));
        QTRY_COMPARE(window->Table()->model()->rowCount(), 3);
        delete window;
    }

    // A flight added through the window's dialog, then taken back.
    void addDialog_flightWithoutTrack_undone() {
        struct TFillingDialogs : testing::TRecordingDialogs {
            void Exec(QDialog* dialog) override {
                ++executed;
                dialog->findChild<QDateEdit*>(QStringLiteral("dteDate"))
                    ->setDate(QDate(2024, 7, 1));
                dialog->findChild<QTimeEdit*>(QStringLiteral("tmeTakeoff"))->setTime(QTime(13, 5));
                dialog->findChild<QTimeEdit*>(QStringLiteral("tmeDuration"))->setTime(QTime(2, 15));
                dialog->findChild<QLineEdit*>(QStringLiteral("edtSite"))
                    ->setText(QStringLiteral("Юца"));
                dialog->accept();
            }
        } filling;
        TLogbookWindow* window = ThreeFlights(QStringLiteral("added"));
        QVERIFY(window);
        device::SetDialogs(&filling);
        ButtonOf(window, "btnAdd")->click();
        device::SetDialogs(&dialogs_);
        QTRY_COMPARE(window->Table()->model()->rowCount(), 4);
        const TFlightEntry e =
            TLogbook(dir_.filePath(QStringLiteral("added.sqlite"))).Flights().front();
        QVERIFY(e.Manual());
        QCOMPARE(e.durationSeconds, std::int64_t(8100));
        QCOMPARE(device::DateText(e.LocalTakeoff()), QStringLiteral("2024-07-01"));
        QCOMPARE(device::TimeOfDayText(e.LocalTakeoff()), QStringLiteral("13:05:00"));
        ButtonOf(window, "btnUndo")->click();
        QTRY_COMPARE(window->Table()->model()->rowCount(), 3);
        delete window;
    }

    // The edit dialog moves the take-off and names the site; the flights
    // from the same take-off are listed in the question and named too.
    void editDialog_takeoffMovedSiteNamedNearbyAsked() {
        struct TEditingDialogs : testing::TRecordingDialogs {
            void Exec(QDialog* dialog) override {
                ++executed;
                dialog->findChild<QDateEdit*>(QStringLiteral("dteDate"))
                    ->setDate(QDate(2024, 5, 30));
                dialog->findChild<QLineEdit*>(QStringLiteral("edtSite"))
                    ->setText(QStringLiteral("Юца"));
                dialog->accept();
            }
        } editing;
        editing.answer = true;
        TLogbookWindow* window = ThreeFlights(QStringLiteral("edited"));
        QVERIFY(window);
        SelectRows(window, {0});  // the newest, 2024-06-03
        device::SetDialogs(&editing);
        ButtonOf(window, "btnEdit")->click();
        device::SetDialogs(&dialogs_);
        QCOMPARE(editing.questions.size(), std::size_t(1));
        QVERIFY2(editing.questions.back().text.contains(
                     QStringLiteral("(2 полёта)?\n  № 2  2024-06-02")),
                 qPrintable(editing.questions.back().text));
        QTRY_COMPARE(window->Table()->model()->index(2, TLogbookModel::ColDate).data().toString(),
                     QStringLiteral("2024-05-30"));
        for (const TFlightEntry& e :
             TLogbook(dir_.filePath(QStringLiteral("edited.sqlite"))).Flights())
            QCOMPARE(e.site, QStringLiteral("Юца"));
        delete window;
    }

    // At the main window's default size the logbook fits its area: every
    // control and every column heading lies inside what is shown.
    void layout_defaultMainWindowSize_everythingVisible() {
        app::TMainForm form;
        form.show();
        // Only the layout matters here, not the exposure, which some
        // platforms' offscreen windows never report (Windows under Wine).
        QCoreApplication::sendPostedEvents();
        const QString db = dir_.filePath(QStringLiteral("layout.sqlite"));
        {
            TLogbook book(db);
            book.AddManual({QDate(2024, 5, 1),
                            QTime(10, 0),
                            3600,
                            QStringLiteral("Юца, северный склон"),
                            QStringLiteral("Rush 6"),
                            {}});
        }
        TLogbookWindow* window =
            OpenLogbookWindow(form.mdiArea, db, [] { return track::TPilotProfile{}; });
        QVERIFY(window);
        auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
        QVERIFY(frame);
        QTRY_VERIFY(window->isVisible());
        const QRect area = form.mdiArea->viewport()->rect();
        QVERIFY2(area.contains(frame->geometry()), "the window runs past the main window's area");
        const QRect shown = window->rect();
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window) || w->inherits("QScrollBar")) continue;
            // Parts of a scrolled view may lie beyond its viewport.
            bool scrolled = false;
            for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
                if (p->inherits("QAbstractScrollArea")) scrolled = true;
            if (scrolled) continue;
            const QRect at(w->mapTo(window, QPoint(0, 0)), w->size());
            QVERIFY2(shown.contains(at),
                     qPrintable(w->objectName() + QLatin1Char(' ') + w->metaObject()->className()));
        }
        QHeaderView* header = window->Table()->horizontalHeader();
        for (int column = 0; column < TLogbookModel::ColCount; ++column) {
            QVERIFY2(!header->isSectionHidden(column), qPrintable(QString::number(column)));
            QVERIFY(header->sectionViewportPosition(column) >= 0);
            QVERIFY2(header->sectionViewportPosition(column) + header->sectionSize(column) <=
                         header->viewport()->width(),
                     qPrintable(QString::number(column)));
            QVERIFY(header->sectionSize(column) >= 20);
        }
        frame->close();
    }
};

TOLMARIK_GUI_TEST_MAIN(TestLogbookWindow)
#include "tst_logbookwindow.moc"
