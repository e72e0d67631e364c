// tolmarik-cli: the instrument from a terminal, on the same worker, buffers
// and status codes as the program's windows.
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "app/BuildInfo.h"
#include "app/CommandLine.h"
#include "app/Console.h"
#include "app/DownloadRecording.h"
#include "app/Language.h"
#include "app/Runtime.h"
#include "app/SetupAPI.h"
#include "app/cli/ChangeCommands.h"
#include "app/cli/CliPlatform.h"
#include "app/cli/CliSession.h"
#include "app/cli/FlightCommands.h"
#include "app/cli/ScoreCommands.h"
#include "app/cli/TrackCommands.h"
#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/UserTexts.h"
#include "flow/DeviceChain.h"
#include "flow/ExitCodes.h"
#include "flow/Outcome.h"
#include "track/FlightPlot.h"

namespace {
using cli::UsageError;
using flow::TOutcome;

// The options of every command. Made once to find the command before the
// application object exists and once for the real parse, so that both skip
// the same option values.
struct TOptions {
    QCommandLineOption previous{QStringLiteral("previous"),
                                QCoreApplication::translate("cli", "Взять полёт перед последним.")};
    QCommandLineOption pages{
        QStringLiteral("pages"),
        QCoreApplication::translate("cli", "Скачивать по страницам, а не по секторам.")};
    QCommandLineOption dir{
        QStringLiteral("dir"),
        QCoreApplication::translate("cli", "Папка для файлов трека (по умолчанию текущая)."),
        QStringLiteral("DIR")};
    QCommandLineOption noIgc{QStringLiteral("no-igc"),
                             QCoreApplication::translate("cli", "Не записывать файл IGC.")};
    QCommandLineOption keepPartial{
        QStringLiteral("keep-partial"),
        QCoreApplication::translate(
            "cli",
            "Если скачивание остановилось до конца трека, всё равно записать прочитанное (код "
            "завершения остаётся кодом ошибки).")};
    QCommandLineOption size{
        QStringLiteral("size"),
        QCoreApplication::translate("cli", "Размер рисунка (по умолчанию %1x%2).")
            .arg(track::DefaultFlightPlotSize.width())
            .arg(track::DefaultFlightPlotSize.height()),
        QStringLiteral("WxH")};
    QCommandLineOption transcript{
        QStringLiteral("transcript"),
        QCoreApplication::translate(
            "cli", "Дописывать в FILE каждый посланный и полученный байт со временем."),
        QStringLiteral("FILE")};
    QCommandLineOption backupDir{
        QStringLiteral("backup-dir"),
        QCoreApplication::translate(
            "cli", "Папка для настроек, сохраняемых перед обновлением прошивки (по умолчанию %1).")
            .arg(models::DefaultBackupFolder()),
        QStringLiteral("DIR")};
    QCommandLineOption noBackup{
        QStringLiteral("no-backup"),
        QCoreApplication::translate(
            "cli", "Обновить прошивку, даже если настройки не удаётся сначала сохранить.")};
    QCommandLineOption yes{QStringLiteral("yes"),
                           QCoreApplication::translate(
                               "cli",
                               "Ответить \"да\" на вопрос перед изменением в приборе (write, "
                               "set-timezone, firmware); без него для вопроса нужен терминал.")};

    void AddTo(QCommandLineParser& parser) const {
        parser.addOptions(
            {previous, pages, dir, noIgc, keepPartial, size, transcript, backupDir, noBackup, yes});
    }
};

// The command is the first argument that is neither an option nor the value
// of one; for "plot" it is the first, before the PORT of the others.
bool IsPlotCommand(int argc, char** argv) {
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    TOptions().AddTo(parser);
    // A refused line is reported by the real parse, which needs no picture.
    if (!parser.parse(cli::WithTimeZoneHoursKept(app::ArgumentsOf(argc, argv)))) return false;
    const QStringList positional = parser.positionalArguments();
    return !positional.isEmpty() && positional[0] == QLatin1String("plot");
}

// "logbook" takes the words after it as its own, options too ("totals --by
// month"): the program's options go before it.
bool IsLogbookCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    TOptions().AddTo(parser);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(arguments)) return false;
    const QStringList positional = parser.positionalArguments();
    return !positional.isEmpty() && positional[0] == QLatin1String("logbook");
}

// "WxH" within the sizes the picture allows.
bool ParseSize(const QString& text, QSize& size) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) return false;
    size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    return size == size.expandedTo(track::MinFlightPlotSize).boundedTo(track::MaxFlightPlotSize);
}

QString ExitStatusHelp() {
    QString text = QCoreApplication::translate("cli", "Коды завершения:\n");
    for (const flow::TExitCodeText& row : flow::kExitCodeTexts)
        text += QStringLiteral("  %1  %2\n")
                    .arg(int(row.code))
                    .arg(QCoreApplication::translate("flow", row.meaning));
    return text;
}

// The bytes of the last value of option `name` as the command line holds
// them: a folder name need not be text, and its conversion may lose bytes.
QByteArray RawOptionValue(int argc, char** argv, const char* name) {
    const QByteArray option = QByteArray("--") + name;
    QByteArray value;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--") break;
        if (argument == option && i + 1 < argc)
            value = argv[++i];
        else if (argument.startsWith(option + '='))
            value = argument.mid(option.size() + 1);
    }
    return value;
}

// The arguments, each name whose bytes are not text (a cp1251 name from an
// unzipped Windows archive) taken as the command line holds it, so that it
// leads to its file (see device::DecodeName).
QStringList WithSystemNames(QStringList args, int argc, char** argv) {
    for (QString& arg : args) {
        if (!arg.contains(QChar::ReplacementCharacter)) continue;
        for (int i = 1; i < argc; ++i)
            if (QFile::decodeName(argv[i]) == arg) {
                arg = device::DecodeName(argv[i]);
                break;
            }
    }
    return args;
}

// The track folder: as given when it can be reached so, else entered by
// its bytes and then named relatively (a folder whose name is not text,
// or whose path is longer than the system takes at once). Empty when it
// cannot be reached at all.
QString TrackFolder(const QString& given, const QByteArray& raw) {
    if (QDir(given).exists() && QFile::encodeName(given) == raw) return given;
    return cli::EnterFolder(raw) ? QStringLiteral(".") : QString();
}

// The highest page a 32-bit byte address reaches.
constexpr unsigned kLastPage = 0xFFFFFFu;

// The outputs' failures the command did not see: a standard output that
// could not be written and a transcript cut short. The command's own
// failure is kept.
TOutcome CheckOutputs(const cli::TCliSession& session, TOutcome outcome) {
    errno = 0;
    const bool printed = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    // An earlier failed write may have left nothing to flush, and no reason.
    const QString printReason =
        errno != 0 ? cli::LastSystemReason() : QCoreApplication::translate("cli", "ошибка записи");
    if (!printed) {
        std::fprintf(stderr, "%s\n",
                     QCoreApplication::translate(
                         "cli", "Не удалось вывести результат на стандартный вывод: %1")
                         .arg(printReason)
                         .toUtf8()
                         .constData());
        if (flow::Entry(outcome).good) outcome = TOutcome::OutputIncomplete;
    }
    const serial::TTranscript& transcript = session.Transcript();
    if (transcript.Incomplete()) {
        std::fprintf(stderr, "%s\n",
                     QCoreApplication::translate(
                         "cli", "Протокол обмена записан не полностью, файл \"%1\": %2")
                         .arg(QDir::toNativeSeparators(transcript.FileName()), transcript.Error())
                         .toUtf8()
                         .constData());
        if (flow::Entry(outcome).good) outcome = TOutcome::OutputIncomplete;
    }
    return outcome;
}
}  // namespace

int main(int argc, char** argv) {
    app::SetUpRuntime();
    cli::IgnoreBrokenPipe();
    app::SetUpConsole();
    // The picture needs fonts, hence a GUI application; never a display.
    std::unique_ptr<QCoreApplication> application;
    if (IsPlotCommand(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("tolmarik-cli"));
    QCoreApplication::setApplicationVersion(app::ProgramVersion());
    app::InstallTranslations(*application, app::ChosenLanguage());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate(
            "cli",
            "Работает с одним прибором на последовательном порту.\n"
            "\n"
            "Команды:\n"
            "  PORT identify                 модель, версия прошивки и настройки\n"
            "  PORT stats [--previous]       статистика последнего (или предыдущего) полёта\n"
            "  PORT download [--previous] [--pages] [--dir DIR] [--no-igc] [--keep-partial]\n"
            "                                скачать этот полёт в Track<N>.gpx/.enx/.igc\n"
            "  PORT page N                   вывести страницу памяти N\n") +
        cli::FlightCommandsHelp() +
        QCoreApplication::translate(
            "cli",
            "  PORT save FILE.bcf            сохранить настройки прибора в файл\n"
            "  PORT write FILE.bcf [--yes]   записать в прибор настройки из файла\n"
            "  PORT set-timezone H [--yes]   задать часовой пояс, целые часы от -12 до +14\n"
            "  PORT firmware FILE.enc [--backup-dir DIR] [--no-backup] [--yes]\n"
            "                                сохранить настройки, обновить прошивку\n"
            "  bcf FILE.bcf                  показать файл конфигурации\n"
            "  plot FILE OUT.png [--size WxH]\n"
            "                                нарисовать полёт из файла IGC или GPX\n"
            "  kml FILE OUT.kml              полёт из файла IGC или GPX для Google Earth\n"
            "  logbook list|totals           журнал пилота: полёты (местное время места\n"
            "                                взлёта; --utc: UTC), итоги\n"
            "  logbook totals --by year|month|site|glider\n"
            "                                итоги с разбивкой по одному признаку\n"
            "  logbook records               самый долгий, дальний, лучший по баллам, высокий\n"
            "                                полёт и лучший набор высоты\n"
            "  logbook sites                 места взлёта с их полётами и часами\n"
            "  logbook site-radius [METRES]  радиус одного места (запоминается; 500 сначала)\n"
            "  logbook find TEXT             полёты, чьи место, крыло, заметки или пилот\n"
            "                                упоминают TEXT\n"
            "  logbook import PATH...        добавить файлы IGC и GPX (папки целиком)\n"
            "  logbook export-csv FILE|-     все полёты в CSV (\"-\": стандартный вывод)\n"
            "  logbook show N                сведения о полёте N (номера идут по датам)\n"
            "  logbook add --date YYYY-MM-DD --takeoff HH:MM --duration H:MM\n"
            "        [--site S] [--glider G] [--notes T]   полёт без трека\n"
            "  logbook rescore               оценить полёты, ещё не оценённые\n"
            "  logbook merge N M             полёт M - это полёт N с другого прибора\n"
            "  logbook unmerge M             снова считать полёт M отдельно\n"
            "  logbook edit N [--site S] [--glider G] [--notes T] [--date D]\n"
            "        [--takeoff HH:MM] [--yes]   изменить полёт N (--yes: переименовать\n"
            "                                и соседние полёты, не спрашивая)\n"
            "  logbook undo                  отменить последнее изменение\n"
            "  logbook backup FILE           журнал и его файлы треков в одном файле\n"
            "  logbook restore FILE          журнал, восстановленный из копии\n") +
        cli::ScoreCommandsHelp() +
        QCoreApplication::translate(
            "cli",
            "  ports                         список последовательных портов: порт, описание,\n"
            "                                USB vendor:product id, метка адаптера\n"
            "\n"
            "PORT - имя, например ttyUSB0, путь, например /dev/pts/3, или \"auto\":\n"
            "первый порт известного адаптера USB-COM, где отвечает прибор.\n"
            "Порты, которых система не перечисляет (например, псевдотерминалы), можно\n"
            "добавить путями через \":\" в переменной окружения TOLMARIK_EXTRA_PORTS;\n"
            "\"auto\" пробует их после адаптеров.\n"
            "\n"
            "write, set-timezone и firmware сначала показывают, что изменится, и\n"
            "спрашивают в терминале; --yes отвечает за сценарии. В прибор модели, которой\n"
            "программа не знает, ничего не записывается.\n"
            "\n") +
        ExitStatusHelp());
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const TOptions options;
    options.AddTo(parser);
    const cli::TScoreCommandOptions scoreOptions;
    scoreOptions.AddTo(parser);
    const cli::TFlightCommandOptions flightOptions;
    flightOptions.AddTo(parser);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QCoreApplication::translate("cli", "См. выше."));
    const QStringList arguments = cli::WithTimeZoneHoursKept(application->arguments());
    if (IsLogbookCommand(arguments))
        parser.setOptionsAfterPositionalArgumentsMode(
            QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(arguments)) return flow::ExitStatusOf(UsageError(parser.errorText()));
    // Printed here rather than by showHelp() and showVersion(): Qt for Windows
    // shows those in a message box when it sees no console window (a pipe,
    // Wine, a scheduled task).
    if (parser.isSet(help)) {
        std::fputs(parser.helpText().toUtf8().constData(), stdout);
        return flow::ExitStatusOf(TOutcome::Done);
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return flow::ExitStatusOf(TOutcome::Done);
    }

    const QStringList args = WithSystemNames(parser.positionalArguments(), argc, argv);
    cli::TCliSession session(isatty(fileno(stdout)) != 0);
    app::UseSettingsForPilotProfile();
    // What follows a download (its KML file, the logbook) is told after the
    // download's own lines.
    std::vector<std::pair<QString, app::TAfterDownload>> afterDownload;
    app::RecordEveryDownload(
        nullptr,
        [&afterDownload](const QString& text, app::TAfterDownload kind) {
            afterDownload.emplace_back(text, kind);
        },
        false);
    const auto run = [&]() -> TOutcome {
        if (const std::optional<TOutcome> done = cli::RunTrackCommand(args)) return *done;
        if (const std::optional<TOutcome> done = cli::RunScoreCommand(args, parser, scoreOptions))
            return *done;
        if (!args.isEmpty() &&
            (args[0] == QLatin1String("bcf") || args[0] == QLatin1String("plot") ||
             args[0] == QLatin1String("ports"))) {
            if (args.size() == 2 && args[0] == QLatin1String("bcf"))
                return session.ShowConfigFile(args[1]);
            if (args.size() == 3 && args[0] == QLatin1String("plot")) {
                QSize picture = track::DefaultFlightPlotSize;
                if (parser.isSet(options.size) && !ParseSize(parser.value(options.size), picture)) {
                    session.Fail(
                        QCoreApplication::translate("cli", "Размер рисунка: от %1x%2 до %3x%4")
                            .arg(track::MinFlightPlotSize.width())
                            .arg(track::MinFlightPlotSize.height())
                            .arg(track::MaxFlightPlotSize.width())
                            .arg(track::MaxFlightPlotSize.height()));
                    return TOutcome::BadUsage;
                }
                return session.Plot(args[1], args[2], picture);
            }
            if (args.size() == 1 && args[0] == QLatin1String("ports")) return session.ListPorts();
            // Not a port either: these names are commands.
            return UsageError(
                QCoreApplication::translate("cli", "Неверное число аргументов команды %1.")
                    .arg(args[0]));
        }
        if (args.isEmpty()) {
            std::fputs(parser.helpText().toUtf8().constData(), stdout);
            return TOutcome::BadUsage;
        }
        if (args.size() < 2)
            return UsageError(QCoreApplication::translate("cli", "Не указана команда."));
        if (const std::optional<TOutcome> refused = cli::CheckChangeCommand(args)) return *refused;
        if (parser.isSet(options.transcript)) {
            const QString transcript = parser.value(options.transcript);
            try {
                device::CheckWritable(transcript);
            } catch (const device::TAppError& error) {
                session.Fail(error.Text());
                return TOutcome::FileNotWritten;
            }
            if (!session.RecordTranscript(transcript)) return TOutcome::FileNotWritten;
        }
        if (args[0] == QLatin1String("auto")) {
            if (const std::optional<TOutcome> failed = session.FindInstrumentPort()) return *failed;
        } else if (!session.SetPort(args[0])) {
            return TOutcome::BadUsage;
        }
        const bool yes = parser.isSet(options.yes);
        if (const std::optional<TOutcome> done = cli::RunChangeCommand(session, args, yes))
            return *done;
        const QString& command = args[1];
        const std::uint8_t flightIndex = parser.isSet(options.previous) ? 1 : 0;
        if (command == QLatin1String("identify") && args.size() == 2) return session.Identify();
        if (command == QLatin1String("stats") && args.size() == 2)
            return session.Stats(flightIndex, true);
        if (command == QLatin1String("flights") && args.size() == 2)
            return session.ListFlights(parser.isSet(flightOptions.rescan));
        if (command == QLatin1String("download") && args.size() == 2) {
            QString folder = QDir::currentPath();
            if (parser.isSet(options.dir)) {
                folder = TrackFolder(parser.value(options.dir), RawOptionValue(argc, argv, "dir"));
                if (folder.isEmpty()) {
                    session.Fail(
                        device::NoFolderText(parser.value(options.dir), cli::LastSystemReason()));
                    return TOutcome::BadUsage;
                }
            }
            if (flightOptions.ChoosesFlights(parser)) {
                std::optional<int> number;
                if (parser.isSet(flightOptions.flight)) {
                    number = cli::FlightNumberOption(parser, flightOptions);
                    if (!number) return TOutcome::BadUsage;
                }
                return session.DownloadListed(number, parser.isSet(flightOptions.rescan),
                                              !parser.isSet(options.pages), folder,
                                              !parser.isSet(options.noIgc));
            }
            return session.Download(flightIndex, !parser.isSet(options.pages), folder,
                                    !parser.isSet(options.noIgc),
                                    parser.isSet(options.keepPartial));
        }
        if (command == QLatin1String("page") && args.size() == 3) {
            bool ok = false;
            const unsigned page = args[2].toUInt(&ok);
            if (!ok || page > kLastPage)
                return UsageError(
                    QCoreApplication::translate("cli", "Номер страницы: число от 0 до %1.")
                        .arg(kLastPage));
            return session.Page(int(page));
        }
        if (command == QLatin1String("write") && args.size() == 3)
            return session.WriteConfig(args[2], yes);
        if (command == QLatin1String("save") && args.size() == 3) {
            if (args[2].isEmpty())
                return UsageError(QCoreApplication::translate("cli", "Пустое имя файла."));
            // A device or a folder by that name is no place for the settings,
            // with or without the extension added.
            if (const QFileInfo given(args[2]); given.exists() && !given.isFile()) {
                try {
                    device::CheckWritable(args[2]);
                } catch (const device::TAppError& error) {
                    session.Fail(error.Text());
                    return TOutcome::FileNotWritten;
                }
            }
            return session.SaveConfig(args[2]);
        }
        if (command == QLatin1String("firmware") && args.size() == 3)
            return session.Firmware(args[2],
                                    parser.isSet(options.backupDir)
                                        ? parser.value(options.backupDir)
                                        : models::DefaultBackupFolder(),
                                    parser.isSet(options.noBackup), yes);
        return UsageError(QCoreApplication::translate(
            "cli", "Неизвестная команда или неверное число аргументов."));
    };
    TOutcome outcome = TOutcome::Done;
    try {
        outcome = run();
    } catch (const device::TAppError& error) {
        session.Fail(error.Text());
        outcome = TOutcome::Failed;
    }
    for (const auto& [text, kind] : afterDownload) {
        if (kind == app::TAfterDownload::Good) {
            session.Print(text);
            continue;
        }
        session.Fail(text);
        // The download's files are kept, but a flight missing from the
        // logbook would be downloaded again by --all-new.
        if (kind == app::TAfterDownload::LogbookFailed && flow::Entry(outcome).good)
            outcome = TOutcome::LogbookUnavailable;
    }
    return flow::ExitStatusOf(CheckOutputs(session, outcome));
}
