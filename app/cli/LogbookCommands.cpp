#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include "app/SetupAPI.h"
#include "app/cli/ChangeCommands.h"
#include "app/cli/CliSession.h"
#include "app/cli/TrackCommands.h"
#include "device/AppError.h"
#include "device/TimeTexts.h"
#include "device/UserTexts.h"
#include "logbook/Logbook.h"

namespace cli {

using flow::TOutcome;

namespace {

void Out(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

void Err(const QString& line) {
    std::fputs(line.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

TOutcome Usage() {
    return UsageError(QStringLiteral(
        "logbook list [--utc]|totals [--by year|month|site|glider]|records|"
        "sites|site-radius [METRES]|find TEXT [--utc]|import PATH...|"
        "export-csv FILE|- [--utc]|show N [--utc]|rescore|merge N M|unmerge N|"
        "add --date D --takeoff HH:MM --duration H:MM [--site S] [--glider G] [--notes T]|"
        "edit N [--site S] [--glider G] [--notes T] [--date D] [--takeoff HH:MM] [--yes]|"
        "undo|backup FILE|restore FILE."));
}

// Refuses a value of an option that cannot be read, saying what it takes.
TOutcome BadValue(const QString& text) {
    Err(text);
    return TOutcome::BadUsage;
}

std::optional<QDate> DateOption(const QString& text) {
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid()) return date;
    Err(QCoreApplication::translate("cli", "Дата \"%1\": нужна в виде ГГГГ-ММ-ДД").arg(text));
    return std::nullopt;
}

std::optional<QTime> TimeOption(const QString& text) {
    const QTime time = QTime::fromString(text, QStringLiteral("H:mm"));
    if (time.isValid()) return time;
    Err(QCoreApplication::translate("cli", "Время взлёта \"%1\": нужно в виде ЧЧ:ММ").arg(text));
    return std::nullopt;
}

std::optional<std::int64_t> DurationOption(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):([0-5]\\d)$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (m.hasMatch()) return m.captured(1).toLongLong() * 3600 + m.captured(2).toLongLong() * 60;
    Err(QCoreApplication::translate("cli", "Время полёта \"%1\": нужно в виде Ч:ММ").arg(text));
    return std::nullopt;
}

// Pairs of "--name value" after the command's own words, by name; false
// when an option is not one of `names` or lacks its value.
bool ReadOptions(const QStringList& args, qsizetype from, const QStringList& names,
                 std::map<QString, QString>& values) {
    if ((args.size() - from) % 2 != 0) return false;
    for (qsizetype i = from; i < args.size(); i += 2) {
        if (!names.contains(args[i])) return false;
        values[args[i]] = args[i + 1];
    }
    return true;
}

QString TotalsLine(const QString& label, const logbook::TTotals& t) {
    return QCoreApplication::translate("cli", "%1\t%2\t%3 ч\t%4 км")
        .arg(label, logbook::FlightCountText(t.flights), device::DurationText(t.seconds),
             logbook::KilometresText(t.metres));
}

// The flights of the logbook, or those that mention `text`; the take-off
// in its place's time with the zone beside it, or in UTC.
TOutcome List(logbook::TLogbook& book, bool inUtc, const std::optional<QString>& text = {}) {
    Out(QCoreApplication::translate(
        "cli", "№\tДата\tВзлёт\tВремя\tВысота, м\tТрек, км\tМесто\tКрыло\tXContest, б"));
    logbook::TFlightFilter filter;
    if (text) filter.text = *text;
    for (const logbook::TFlightEntry& e : book.Flights(filter)) {
        const logbook::TShownTime takeoff = logbook::ShownTime(e, e.takeoffUtc, inUtc);
        Out(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9")
                .arg(e.number)
                .arg(device::DateText(takeoff.time),
                     device::TimeOfDayText(takeoff.time) + QLatin1Char(' ') + takeoff.zone,
                     device::DurationText(e.durationSeconds),
                     e.Manual() ? QString() : QString::number(qRound(e.highestAltitude)),
                     e.Manual() ? logbook::NoTrackText()
                                : logbook::KilometresText(e.trackLengthMetres),
                     e.site, e.glider, logbook::ScoreText(e.score, e.scoreKind)) +
            (e.sameFlightAs ? QLatin1Char('\t') + logbook::SameFlightText(
                                                      e.sameFlightNumber.value_or(*e.sameFlightAs))
                            : QString()));
    }
    return TOutcome::Done;
}

// The sites with their flights and hours, most hours first.
TOutcome Sites(logbook::TLogbook& book) {
    Out(QCoreApplication::translate("cli", "Радиус места взлёта: %1 м").arg(book.SiteRadius()));
    for (const logbook::TTotalsRow& row :
         logbook::TLogbook::TotalsBy(book.Store().TotalsRows(), logbook::TTotalsBy::Site))
        Out(TotalsLine(row.key, row.totals));
    return TOutcome::Done;
}

// "site-radius": the radius kept; "site-radius M": keeps another.
TOutcome SiteRadius(logbook::TLogbook& book, const QStringList& args) {
    if (args.size() == 2) {
        bool ok = false;
        const double metres = args[1].toDouble(&ok);
        if (!ok || !logbook::SiteRadiusAllowed(metres))
            return BadValue(logbook::SiteRadiusRangeText());
        book.SetSiteRadius(metres);
    }
    Out(QCoreApplication::translate("cli", "Радиус места взлёта: %1 м").arg(book.SiteRadius()));
    return TOutcome::Done;
}

// Plain "totals": everything, by year, then by glider; "--by" one split.
TOutcome Totals(logbook::TLogbook& book, const QStringList& args) {
    const std::vector<logbook::TFlightEntry> flights = book.Store().TotalsRows();
    const logbook::TLogbookTotals totals = logbook::TLogbook::Totals(flights);
    if (args.size() == 1) {
        Out(TotalsLine(QCoreApplication::translate("cli", "Всего"), totals.all));
        for (const logbook::TTotalsRow& row : totals.byYear) Out(TotalsLine(row.key, row.totals));
        for (const logbook::TTotalsRow& row : totals.byGlider) Out(TotalsLine(row.key, row.totals));
        return TOutcome::Done;
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
    Out(TotalsLine(QCoreApplication::translate("cli", "Всего"), totals.all));
    for (const logbook::TTotalsRow& row : logbook::TLogbook::TotalsBy(flights, split->second))
        Out(TotalsLine(row.key, row.totals));
    return TOutcome::Done;
}

TOutcome Records(logbook::TLogbook& book) {
    for (const logbook::TLogbookRecord& r : logbook::TLogbook::Records(book.Store().TotalsRows()))
        Out(QCoreApplication::translate("cli", "%1\t%2\t№ %3\t%4")
                .arg(r.title, r.value)
                .arg(r.number)
                .arg(device::DateText(r.localTakeoff)));
    return TOutcome::Done;
}

TOutcome Import(logbook::TLogbook& book, const QStringList& paths) {
    const logbook::TImportReport report = book.Import(paths, app::ReadPilotProfile());
    for (const QString& skipped : report.skipped) Err(skipped);
    for (const QString& error : report.errors) Err(error);
    Out(QCoreApplication::translate(
            "cli", "Добавлено: %1, уже в журнале: %2, не прочитано: %3, пропущено: %4")
            .arg(report.added)
            .arg(report.alreadyKept)
            .arg(report.failed)
            .arg(report.skipped.size()));
    if (report.logbookFailed) return TOutcome::LogbookUnavailable;
    return report.failed ? TOutcome::BadFile : TOutcome::Done;
}

TOutcome Rescore(logbook::TLogbook& book) {
    const int scored = book.ScoreUnscored();
    Out(QCoreApplication::translate("cli", "Оценено полётов: %1").arg(scored));
    return TOutcome::Done;
}

std::optional<qint64> Number(const QString& text) {
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    return ok && id > 0 ? std::optional<qint64>(id) : std::nullopt;
}

// The entry of logbook number `number` as listed now; none (said) when
// there is none.
std::optional<logbook::TFlightEntry> Entry(logbook::TLogbook& book, qint64 number) {
    const std::optional<std::int64_t> id = book.Store().IdOfNumber(number);
    std::optional<logbook::TFlightEntry> entry = id ? book.Flight(*id) : std::nullopt;
    if (!entry) Err(logbook::NoSuchFlightText(number));
    return entry;
}

TOutcome Show(logbook::TLogbook& book, const QString& number, bool inUtc) {
    const std::optional<qint64> n = Number(number);
    if (!n) return Usage();
    const std::optional<logbook::TFlightEntry> entry = Entry(book, *n);
    if (!entry) return TOutcome::Failed;
    if (entry->Manual()) {
        Out(logbook::FactsText(*entry, nullptr, inUtc));
        return TOutcome::Done;
    }
    std::optional<track::TCheckedTrack> checked;
    try {
        checked = book.CheckedFlight(*entry);
    } catch (const device::TAppError& error) {
        Err(error.Text());  // the entry's own facts still stand
    }
    Out(logbook::FactsText(*entry, checked ? &*checked : nullptr, inUtc));
    Out(QCoreApplication::translate("cli", "Файл трека: %1")
            .arg(QDir::toNativeSeparators(book.StoredFilePath(*entry))));
    return TOutcome::Done;
}

// "merge N M": M is the same flight as N from another recorder; "unmerge M"
// counts it on its own again.
TOutcome Merge(logbook::TLogbook& book, const QStringList& args) {
    const std::optional<qint64> first = Number(args[1]);
    const std::optional<qint64> second = args.size() > 2 ? Number(args[2]) : std::nullopt;
    if (!first || (args.size() > 2 && (!second || *second == *first))) return Usage();
    const std::optional<logbook::TFlightEntry> kept = Entry(book, *first);
    if (!kept) return TOutcome::Failed;
    if (!second) {
        book.Unmerge(kept->id);
        return TOutcome::Done;
    }
    const std::optional<logbook::TFlightEntry> other = Entry(book, *second);
    if (!other) return TOutcome::Failed;
    book.Merge(kept->id, other->id);
    return TOutcome::Done;
}

// "add --date D --takeoff HH:MM --duration H:MM [--site S] [--glider G]
// [--notes T]": a flight without a track.
TOutcome Add(logbook::TLogbook& book, const QStringList& args) {
    std::map<QString, QString> o;
    if (!ReadOptions(
            args, 1,
            {QStringLiteral("--date"), QStringLiteral("--takeoff"), QStringLiteral("--duration"),
             QStringLiteral("--site"), QStringLiteral("--glider"), QStringLiteral("--notes")},
            o) ||
        !o.count(QStringLiteral("--date")) || !o.count(QStringLiteral("--takeoff")) ||
        !o.count(QStringLiteral("--duration")))
        return Usage();
    const std::optional<QDate> date = DateOption(o[QStringLiteral("--date")]);
    const std::optional<QTime> takeoff = TimeOption(o[QStringLiteral("--takeoff")]);
    const std::optional<std::int64_t> duration = DurationOption(o[QStringLiteral("--duration")]);
    if (!date || !takeoff || !duration) return TOutcome::BadUsage;
    logbook::TManualFlight flight{*date,
                                  *takeoff,
                                  *duration,
                                  o[QStringLiteral("--site")],
                                  o[QStringLiteral("--glider")],
                                  o[QStringLiteral("--notes")]};
    const std::int64_t id = book.AddManual(flight);
    Out(logbook::FactsText(*book.Flight(id)));
    return TOutcome::Done;
}

// "edit N --site S --glider G --notes T --date D --takeoff HH:MM": what is
// not given stays. A new site name offers the flights nearby, asked on the
// terminal or answered by --yes.
TOutcome Edit(logbook::TLogbook& book, const QStringList& args, bool yes) {
    std::map<QString, QString> o;
    const std::optional<qint64> number = args.size() >= 4 ? Number(args[1]) : std::nullopt;
    if (!number || !ReadOptions(args, 2,
                                {QStringLiteral("--site"), QStringLiteral("--glider"),
                                 QStringLiteral("--notes"), QStringLiteral("--date"),
                                 QStringLiteral("--takeoff")},
                                o))
        return Usage();
    const std::optional<logbook::TFlightEntry> entry = Entry(book, *number);
    if (!entry) return TOutcome::Failed;
    const logbook::TShownTime local = logbook::ShownTime(*entry, entry->takeoffUtc, false);
    std::optional<QDate> date = QDate::fromString(device::DateText(local.time), Qt::ISODate);
    std::optional<QTime> takeoff =
        QTime::fromString(device::TimeOfDayText(local.time), Qt::ISODate);
    if (o.count(QStringLiteral("--date")) && !(date = DateOption(o[QStringLiteral("--date")])))
        return TOutcome::BadUsage;
    if (o.count(QStringLiteral("--takeoff")) &&
        !(takeoff = TimeOption(o[QStringLiteral("--takeoff")])))
        return TOutcome::BadUsage;
    const auto given = [&](const char* name) { return o.count(QLatin1String(name)) > 0; };
    if (given("--site") || given("--glider") || given("--notes")) {
        const QString site = given("--site") ? o[QStringLiteral("--site")] : entry->site;
        std::vector<std::int64_t> alsoNamed;
        const std::vector<logbook::TFlightEntry> near = site.trimmed() != entry->site
                                                            ? book.SitesToRename(entry->id, site)
                                                            : std::vector<logbook::TFlightEntry>();
        if (!near.empty() &&
            ConfirmChange(Out, Err,
                          logbook::RenameOthersQuestion(site.trimmed(), book.SiteRadius(), near),
                          yes))
            for (const logbook::TFlightEntry& e : near) alsoNamed.push_back(e.id);
        book.Edit(entry->id, site,
                  given("--glider") ? o[QStringLiteral("--glider")] : entry->glider,
                  given("--notes") ? o[QStringLiteral("--notes")] : entry->notes, alsoNamed);
    }
    if (given("--date") || given("--takeoff")) book.EditTakeoff(entry->id, *date, *takeoff);
    Out(logbook::FactsText(*book.Flight(entry->id)));
    return TOutcome::Done;
}

TOutcome Undo(logbook::TLogbook& book) {
    const std::optional<logbook::TUndone> undone = book.Undo();
    if (!undone) {
        Err(QCoreApplication::translate("cli", "Нечего отменять"));
        return TOutcome::Failed;
    }
    Out(logbook::UndoneText(*undone));
    return TOutcome::Done;
}

TOutcome Backup(logbook::TLogbook& book, const QString& target) {
    const logbook::TBackupSummary summary = book.Backup(target);
    Out(device::FileSavedText + QDir::toNativeSeparators(target));
    Out(logbook::BackupContentsText(book.Store().Count(), summary.trackFiles));
    return TOutcome::Done;
}

// Needs no logbook that opens: bringing back a damaged one is what it is for.
TOutcome Restore(const QString& source) {
    const QString path = logbook::TLogbook::DefaultPath();
    logbook::TBackupSummary summary;
    try {
        summary = logbook::RestoreBackup(path, source);
    } catch (const device::TAppError& error) {
        Err(error.Text());
        return TOutcome::BadFile;
    }
    try {
        logbook::TLogbook book(path);
        Out(logbook::RestoredText(source, book.Store().Count(), summary.trackFiles));
    } catch (const device::TAppError& error) {
        Err(error.Text());
        return TOutcome::LogbookUnavailable;
    }
    return TOutcome::Done;
}

}  // namespace

TOutcome RunLogbookCommand(const QStringList& given) {
    if (given.isEmpty()) return Usage();
    // The flags, wherever they stand after the command; each with the
    // commands that take it.
    QStringList args = given;
    const QString& command = given[0];
    static const QStringList valued{QStringLiteral("--site"),    QStringLiteral("--glider"),
                                    QStringLiteral("--notes"),   QStringLiteral("--date"),
                                    QStringLiteral("--takeoff"), QStringLiteral("--duration"),
                                    QStringLiteral("--by")};
    const auto flag = [&](const char* name, std::initializer_list<const char*> commands) {
        // Not the value of an option: notes may read "--yes".
        qsizetype removed = 0;
        for (qsizetype i = args.size() - 1; i >= 1; --i)
            if (args[i] == QLatin1String(name) && !valued.contains(args[i - 1])) {
                args.removeAt(i);
                ++removed;
            }
        if (removed == 0) return std::optional<bool>(false);
        for (const char* c : commands)
            if (command == QLatin1String(c)) return std::optional<bool>(true);
        return std::optional<bool>();
    };
    const std::optional<bool> inUtc = flag("--utc", {"list", "find", "show", "export-csv"});
    const std::optional<bool> yes = flag("--yes", {"edit"});
    if (!inUtc || !yes) return Usage();
    const bool known =
        (args.size() == 1 &&
         (command == QLatin1String("list") || command == QLatin1String("totals") ||
          command == QLatin1String("records") || command == QLatin1String("rescore") ||
          command == QLatin1String("undo") || command == QLatin1String("sites") ||
          command == QLatin1String("site-radius"))) ||
        (args.size() == 2 && command == QLatin1String("site-radius")) ||
        (args.size() >= 7 && command == QLatin1String("add")) ||
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
        return TOutcome::LogbookUnavailable;
    }
    try {
        if (command == QLatin1String("list")) return List(*book, *inUtc);
        if (command == QLatin1String("find")) return List(*book, *inUtc, args[1]);
        if (command == QLatin1String("sites")) return Sites(*book);
        if (command == QLatin1String("site-radius")) return SiteRadius(*book, args);
        if (command == QLatin1String("add")) return Add(*book, args);
        if (command == QLatin1String("totals")) return Totals(*book, args);
        if (command == QLatin1String("records")) return Records(*book);
        if (command == QLatin1String("rescore")) return Rescore(*book);
        if (command == QLatin1String("import")) return Import(*book, args.mid(1));
        if (command == QLatin1String("show")) return Show(*book, args[1], *inUtc);
        if (command == QLatin1String("merge") || command == QLatin1String("unmerge"))
            return Merge(*book, args);
        if (command == QLatin1String("backup")) return Backup(*book, args[1]);
        if (command == QLatin1String("edit")) return Edit(*book, args, *yes);
        if (command == QLatin1String("undo")) return Undo(*book);
        if (args[1] == QLatin1String("-")) {
            // The standard output, as other tools take "-"; a failed write
            // is found when the output is flushed at the end.
            const QByteArray csv = logbook::TLogbook::CsvText(book->Flights(), *inUtc);
            std::fwrite(csv.constData(), 1, std::size_t(csv.size()), stdout);
            return TOutcome::Done;
        }
        book->ExportCsv(book->Flights(), args[1], *inUtc);
        return TOutcome::Done;
    } catch (const device::TAppError& error) {
        // A file that cannot be written, or the logbook failing mid-way.
        Err(error.Text());
        return command == QLatin1String("export-csv") || command == QLatin1String("backup")
                   ? TOutcome::FileNotWritten
                   : TOutcome::LogbookUnavailable;
    }
}

}  // namespace cli
