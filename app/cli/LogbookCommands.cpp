#include <QDir>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/ExitCodes.h"
#include "app/SetupAPI.h"
#include "app/cli/TrackCommands.h"
#include "device/AppError.h"
#include "device/UserTexts.h"
#include "logbook/Logbook.h"

namespace cli {

namespace {

void Out(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

void Err(const QString& line) {
    std::fputs(line.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

int Usage() {
    Err(
        QStringLiteral("tolmarik-cli: logbook list|totals [--by year|month|site|glider]|records|"
                       "find TEXT|import PATH...|export-csv FILE|-|show N|rescore|"
                       "merge N M|unmerge N|edit N [--site S] [--glider G] [--notes T]|undo|"
                       "backup FILE|restore FILE. See --help."));
    return app::EC_USAGE;
}

QString TotalsLine(const QString& label, const logbook::TTotals& t) {
    return QStringLiteral("%1\t%2\t%3 ч\t%4 км")
        .arg(label, logbook::FlightCountText(t.flights), logbook::DurationText(t.seconds),
             logbook::KilometresText(t.metres));
}

// The flights of the logbook, or those that mention `text`.
int List(logbook::TLogbook& book, const std::optional<QString>& text = {}) {
    Out(QStringLiteral("№\tДата\tВзлёт\tВремя\tВысота, м\tТрек, км\tМесто\tКрыло\tXContest, б"));
    std::vector<logbook::TFlightEntry> flights = book.Flights();
    if (text) std::erase_if(flights, [&](const auto& e) { return !logbook::Mentions(e, *text); });
    for (const logbook::TFlightEntry& e : flights)
        Out(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9")
                .arg(e.id)
                .arg(logbook::DateText(e.LocalTakeoff()), logbook::TimeOfDayText(e.LocalTakeoff()),
                     logbook::DurationText(e.durationSeconds))
                .arg(qRound(e.highestAltitude))
                .arg(logbook::KilometresText(e.trackLengthMetres), e.site, e.glider,
                     logbook::ScoreText(e.score, e.scoreKind)) +
            (e.sameFlightAs ? QLatin1Char('\t') + logbook::SameFlightText(*e.sameFlightAs)
                            : QString()));
    return app::EC_OK;
}

// Plain "totals": everything, by year, then by glider; "--by" one split.
int Totals(logbook::TLogbook& book, const QStringList& args) {
    const std::vector<logbook::TFlightEntry> flights = book.Store().TotalsRows();
    const logbook::TLogbookTotals totals = logbook::TLogbook::Totals(flights);
    if (args.size() == 1) {
        Out(TotalsLine(QStringLiteral("Всего"), totals.all));
        for (const logbook::TTotalsRow& row : totals.byYear) Out(TotalsLine(row.key, row.totals));
        for (const logbook::TTotalsRow& row : totals.byGlider) Out(TotalsLine(row.key, row.totals));
        return app::EC_OK;
    }
    static const std::pair<const char*, logbook::TTotalsBy> kSplits[] = {
        {"year", logbook::TTotalsBy::Year},
        {"month", logbook::TTotalsBy::Month},
        {"site", logbook::TTotalsBy::Site},
        {"glider", logbook::TTotalsBy::Glider}};
    const auto split = std::find_if(std::begin(kSplits), std::end(kSplits), [&](const auto& s) {
        return args[2] == QLatin1String(s.first);
    });
    if (args[1] != QLatin1String("--by") || split == std::end(kSplits)) return Usage();
    Out(TotalsLine(QStringLiteral("Всего"), totals.all));
    for (const logbook::TTotalsRow& row : logbook::TLogbook::TotalsBy(flights, split->second))
        Out(TotalsLine(row.key, row.totals));
    return app::EC_OK;
}

int Records(logbook::TLogbook& book) {
    for (const logbook::TLogbookRecord& r : logbook::TLogbook::Records(book.Store().TotalsRows()))
        Out(QStringLiteral("%1\t%2\t№ %3\t%4")
                .arg(r.title, r.value)
                .arg(r.id)
                .arg(logbook::DateText(r.localTakeoff)));
    return app::EC_OK;
}

int Import(logbook::TLogbook& book, const QStringList& paths) {
    const logbook::TImportReport report = book.Import(paths, app::ReadPilotProfile());
    for (const QString& skipped : report.skipped) Err(skipped);
    for (const QString& error : report.errors) Err(error);
    Out(QStringLiteral("Добавлено: %1, уже в журнале: %2, не прочитано: %3, пропущено: %4")
            .arg(report.added)
            .arg(report.alreadyKept)
            .arg(report.failed)
            .arg(report.skipped.size()));
    if (report.logbookFailed) return app::EC_LOGBOOK;
    return report.failed ? app::EC_BAD_FILE : app::EC_OK;
}

int Rescore(logbook::TLogbook& book) {
    const int scored = book.ScoreUnscored();
    Out(QStringLiteral("Оценено полётов: %1").arg(scored));
    return app::EC_OK;
}

std::optional<qint64> Number(const QString& text) {
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    return ok && id > 0 ? std::optional<qint64>(id) : std::nullopt;
}

int Show(logbook::TLogbook& book, const QString& number) {
    const std::optional<qint64> id = Number(number);
    if (!id) return Usage();
    const std::optional<logbook::TFlightEntry> entry = book.Flight(*id);
    if (!entry) {
        Err(logbook::NoSuchFlightText(*id));
        return app::EC_FAILED;
    }
    std::optional<track::TCheckedTrack> checked;
    try {
        checked = book.CheckedFlight(*entry);
    } catch (const device::TAppError& error) {
        Err(error.Text());  // the entry's own facts still stand
    }
    Out(logbook::FactsText(*entry, checked ? &*checked : nullptr));
    Out(QStringLiteral("Файл трека: %1")
            .arg(QDir::toNativeSeparators(book.StoredFilePath(*entry))));
    return app::EC_OK;
}

// "merge N M": M is the same flight as N from another recorder; "unmerge M"
// counts it on its own again.
int Merge(logbook::TLogbook& book, const QStringList& args) {
    const std::optional<qint64> first = Number(args[1]);
    const std::optional<qint64> second = args.size() > 2 ? Number(args[2]) : std::nullopt;
    if (!first || (args.size() > 2 && (!second || *second == *first))) return Usage();
    if (second)
        book.Merge(*first, *second);
    else
        book.Unmerge(*first);
    return app::EC_OK;
}

// "edit N --site S --glider G --notes T": what is not given stays.
int Edit(logbook::TLogbook& book, const QStringList& args) {
    const std::optional<qint64> id =
        args.size() >= 4 && args.size() % 2 == 0 ? Number(args[1]) : std::nullopt;
    if (!id) return Usage();
    const std::optional<logbook::TFlightEntry> entry = book.Flight(*id);
    if (!entry) {
        Err(logbook::NoSuchFlightText(*id));
        return app::EC_FAILED;
    }
    QString site = entry->site, glider = entry->glider, notes = entry->notes;
    for (qsizetype i = 2; i < args.size(); i += 2) {
        if (args[i] == QLatin1String("--site"))
            site = args[i + 1];
        else if (args[i] == QLatin1String("--glider"))
            glider = args[i + 1];
        else if (args[i] == QLatin1String("--notes"))
            notes = args[i + 1];
        else
            return Usage();
    }
    book.Edit(*id, site, glider, notes);
    Out(logbook::FactsText(*book.Flight(*id)));
    return app::EC_OK;
}

int Undo(logbook::TLogbook& book) {
    const std::optional<logbook::TUndone> undone = book.Undo();
    if (!undone) {
        Err(QStringLiteral("Нечего отменять"));
        return app::EC_FAILED;
    }
    Out(logbook::UndoneText(*undone));
    return app::EC_OK;
}

int Backup(logbook::TLogbook& book, const QString& target) {
    const logbook::TBackupSummary summary = book.Backup(target);
    Out(device::FileSavedText + QDir::toNativeSeparators(target));
    Out(logbook::BackupContentsText(book.Store().Count(), summary.trackFiles));
    return app::EC_OK;
}

// Needs no logbook that opens: bringing back a damaged one is what it is for.
int Restore(const QString& source) {
    const QString path = logbook::TLogbook::DefaultPath();
    logbook::TBackupSummary summary;
    try {
        summary = logbook::RestoreBackup(path, source);
    } catch (const device::TAppError& error) {
        Err(error.Text());
        return app::EC_BAD_FILE;
    }
    try {
        logbook::TLogbook book(path);
        Out(logbook::RestoredText(source, book.Store().Count(), summary.trackFiles));
    } catch (const device::TAppError& error) {
        Err(error.Text());
        return app::EC_LOGBOOK;
    }
    return app::EC_OK;
}

}  // namespace

int RunLogbookCommand(const QStringList& args) {
    if (args.isEmpty()) return Usage();
    const QString& command = args[0];
    const bool known =
        (args.size() == 1 &&
         (command == QLatin1String("list") || command == QLatin1String("totals") ||
          command == QLatin1String("records") || command == QLatin1String("rescore") ||
          command == QLatin1String("undo"))) ||
        (args.size() >= 4 && command == QLatin1String("edit")) ||
        (args.size() == 3 && command == QLatin1String("totals")) ||
        (args.size() >= 2 && command == QLatin1String("import")) ||
        (args.size() == 2 &&
         (command == QLatin1String("export-csv") || command == QLatin1String("find") ||
          command == QLatin1String("show") || command == QLatin1String("unmerge") ||
          command == QLatin1String("backup") || command == QLatin1String("restore"))) ||
        (args.size() == 3 && command == QLatin1String("merge"));
    if (!known) return Usage();
    if (command == QLatin1String("restore")) return Restore(args[1]);
    std::unique_ptr<logbook::TLogbook> book;
    try {
        book = std::make_unique<logbook::TLogbook>();
    } catch (const device::TAppError& error) {
        Err(error.Text());
        return app::EC_LOGBOOK;
    }
    try {
        if (command == QLatin1String("list")) return List(*book);
        if (command == QLatin1String("find")) return List(*book, args[1]);
        if (command == QLatin1String("totals")) return Totals(*book, args);
        if (command == QLatin1String("records")) return Records(*book);
        if (command == QLatin1String("rescore")) return Rescore(*book);
        if (command == QLatin1String("import")) return Import(*book, args.mid(1));
        if (command == QLatin1String("show")) return Show(*book, args[1]);
        if (command == QLatin1String("merge") || command == QLatin1String("unmerge"))
            return Merge(*book, args);
        if (command == QLatin1String("backup")) return Backup(*book, args[1]);
        if (command == QLatin1String("edit")) return Edit(*book, args);
        if (command == QLatin1String("undo")) return Undo(*book);
        if (args[1] == QLatin1String("-")) {
            // The standard output, as other tools take "-"; a failed write
            // is found when the output is flushed at the end.
            const QByteArray csv = logbook::TLogbook::CsvText(book->Flights());
            std::fwrite(csv.constData(), 1, std::size_t(csv.size()), stdout);
            return app::EC_OK;
        }
        book->ExportCsv(book->Flights(), args[1]);
        return app::EC_OK;
    } catch (const device::TAppError& error) {
        // A file that cannot be written, or the logbook failing mid-way.
        Err(error.Text());
        return command == QLatin1String("export-csv") || command == QLatin1String("backup")
                   ? app::EC_WRITE_CHECK
                   : app::EC_LOGBOOK;
    }
}

}  // namespace cli
