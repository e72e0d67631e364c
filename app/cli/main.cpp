// tolmarik-cli: the instrument from a terminal, on the same worker, buffers
// and status codes as the program's windows.
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <cstdio>

#include "device/AppError.h"
#include "app/cli/CliSession.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolmarik-cli"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Talks to one instrument on a serial port.\n\n"
        "Commands:\n"
        "  PORT identify                 model, firmware version and settings\n"
        "  PORT stats [--previous]       statistics of the last (or previous) flight\n"
        "  PORT download [--previous] [--pages] [--dir DIR]\n"
        "                                download that flight into Track<N>.gpx/.enx\n"
        "  PORT page N                   dump memory page N\n"
        "  PORT save FILE.bcf            save the instrument's settings to a file\n"
        "  PORT write FILE.bcf           write a configuration file's settings\n"
        "  PORT firmware FILE.enc        update the firmware\n"
        "  bcf FILE.bcf                  show a configuration file\n\n"
        "PORT is a name such as ttyUSB0 or a path such as /dev/pts/3."));
    parser.addHelpOption();
    const QCommandLineOption previous(QStringLiteral("previous"),
                                      QStringLiteral("Use the flight before the last one."));
    const QCommandLineOption pages(QStringLiteral("pages"),
                                   QStringLiteral("Download page by page instead of by sector."));
    const QCommandLineOption dir(QStringLiteral("dir"),
                                 QStringLiteral("Folder for the track files (default: current)."),
                                 QStringLiteral("DIR"));
    parser.addOptions({previous, pages, dir});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("See above."));
    parser.process(application);

    const QStringList args = parser.positionalArguments();
    cli::TCliSession session(isatty(fileno(stdout)) != 0);
    try {
        if (args.size() == 2 && args[0] == QLatin1String("bcf"))
            return session.ShowConfigFile(args[1]);
        if (args.size() < 2) parser.showHelp(2);
        if (!session.SetPort(args[0])) return 2;
        const QString& command = args[1];
        const std::uint8_t flightIndex = parser.isSet(previous) ? 1 : 0;
        if (command == QLatin1String("identify") && args.size() == 2) return session.Identify();
        if (command == QLatin1String("stats") && args.size() == 2)
            return session.Stats(flightIndex, true);
        if (command == QLatin1String("download") && args.size() == 2)
            return session.Download(flightIndex, !parser.isSet(pages),
                                    parser.isSet(dir) ? parser.value(dir) : QDir::currentPath());
        if (command == QLatin1String("page") && args.size() == 3) {
            bool ok = false;
            const int page = args[2].toInt(&ok);
            if (!ok || page < 0) parser.showHelp(2);
            return session.Page(page);
        }
        if (command == QLatin1String("write") && args.size() == 3)
            return session.WriteConfig(args[2]);
        if (command == QLatin1String("save") && args.size() == 3)
            return session.SaveConfig(args[2]);
        if (command == QLatin1String("firmware") && args.size() == 3)
            return session.Firmware(args[2]);
    } catch (const device::TAppError& error) {
        session.Fail(error.Text());
        return 1;
    }
    parser.showHelp(2);
}
