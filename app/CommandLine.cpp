#include "app/CommandLine.h"

#include <cstdio>

#include "app/BuildInfo.h"
#include "app/ExitCodes.h"

namespace app {

namespace {
// The toolkit's own options that take the next argument as their value.
bool ToolkitOptionTakesValue(const QString& option) {
    static const QStringList kWithValue{
        "-platform",    "-platformpluginpath", "-platformtheme", "-plugin",  "-qwindowgeometry",
        "-qwindowicon", "-qwindowtitle",       "-session",       "-display", "-geometry",
        "-style",       "-stylesheet",         "-title",         "-name"};
    return kWithValue.contains(option);
}

TCommandLine Refused(const QString& error) {
    TCommandLine line;
    line.action = TCommandLine::Refuse;
    line.error = error;
    return line;
}
}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments) {
    TCommandLine line;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            line.action = TCommandLine::ShowHelp;
            return line;
        }
        if (a == QLatin1String("-v") || a == QLatin1String("--version")) {
            line.action = TCommandLine::ShowVersion;
            return line;
        }
    }
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--port")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
                return Refused(QStringLiteral("--port wants a port name or path"));
            line.port = arguments[++i];
        } else if (a.startsWith(QLatin1String("--port="))) {
            line.port = a.mid(7);
            if (line.port.isEmpty())
                return Refused(QStringLiteral("--port wants a port name or path"));
        } else if (a.startsWith(QLatin1String("--"))) {
            return Refused(QStringLiteral("unknown option %1").arg(a));
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            if (ToolkitOptionTakesValue(a)) ++i;
        } else {
            return Refused(QStringLiteral("no arguments expected, got %1").arg(a));
        }
    }
    return line;
}

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QString CommandLineHelp() {
    return QStringLiteral(
        "Usage: " TOLMARIK_PRODUCT_NAME
        " [--port PORT]\n"
        "Configures Tolmarik GPS flight instruments: reads and writes their settings,\n"
        "shows flight statistics, downloads tracks, updates the firmware.\n"
        "\n"
        "Options:\n"
        "  -h, --help       Show this help and exit.\n"
        "  -v, --version    Show the version and exit.\n"
        "  --port PORT      Use PORT for this run without storing it\n"
        "                   (a name such as ttyUSB0 or a path such as /dev/pts/3).\n"
        "\n"
        "Options of the Qt toolkit (e.g. -platform, -style) are passed on to it.\n");
}

int AnswerCommandLine(const TCommandLine& line) {
    switch (line.action) {
        case TCommandLine::ShowHelp:
            std::fputs(CommandLineHelp().toLocal8Bit().constData(), stdout);
            return EC_OK;
        case TCommandLine::ShowVersion:
            std::printf("%s %s\n", TOLMARIK_PRODUCT_NAME, qPrintable(ProgramVersion()));
            return EC_OK;
        case TCommandLine::Refuse:
            std::fprintf(stderr, "%s: %s; see --help\n", TOLMARIK_PRODUCT_NAME,
                         qPrintable(line.error));
            return EC_USAGE;
        case TCommandLine::Run:
            break;
    }
    return EC_OK;
}

}  // namespace app
