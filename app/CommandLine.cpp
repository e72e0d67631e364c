#include "app/CommandLine.h"

#include <cstdio>

#include "app/BuildInfo.h"
#include "flow/ExitCodes.h"

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

// "--NAME VALUE" or "--NAME=VALUE" at `i`: true when it is that option, with
// `i` moved past its value; a missing or empty value leaves `value` empty.
bool OptionWithValue(const QStringList& arguments, int& i, const QString& name, QString& value) {
    const QString& a = arguments[i];
    if (a == name) {
        value = i + 1 < arguments.size() ? arguments[++i] : QString();
        return true;
    }
    if (a.startsWith(name + QLatin1Char('='))) {
        value = a.mid(name.size() + 1);
        return true;
    }
    return false;
}

TCommandLine::FileKind KindOfFile(const QString& name) {
    if (name.endsWith(QLatin1String(".bcf"), Qt::CaseInsensitive))
        return TCommandLine::SettingsFile;
    if (name.endsWith(QLatin1String(".igc"), Qt::CaseInsensitive) ||
        name.endsWith(QLatin1String(".gpx"), Qt::CaseInsensitive))
        return TCommandLine::FlightFile;
    return TCommandLine::NoFile;
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
        // A value is never an option: "--port -h" names a port.
        if (a == QLatin1String("--port") || a == QLatin1String("--transcript") ||
            ToolkitOptionTakesValue(a)) {
            ++i;
            continue;
        }
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
        if (OptionWithValue(arguments, i, QStringLiteral("--port"), line.port)) {
            if (line.port.isEmpty())
                return Refused(QStringLiteral("--port wants a port name or path"));
        } else if (OptionWithValue(arguments, i, QStringLiteral("--transcript"), line.transcript)) {
            if (line.transcript.isEmpty())
                return Refused(QStringLiteral("--transcript wants a file name"));
        } else if (a.startsWith(QLatin1String("--"))) {
            return Refused(QStringLiteral("unknown option %1").arg(a));
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            if (ToolkitOptionTakesValue(a)) ++i;
        } else if (!line.file.isEmpty()) {
            return Refused(QStringLiteral("one file at a time, got %1 and %2").arg(line.file, a));
        } else if (const TCommandLine::FileKind kind = KindOfFile(a);
                   kind != TCommandLine::NoFile) {
            line.file = a;
            line.fileKind = kind;
        } else {
            return Refused(
                QStringLiteral("%1 is no settings file (.bcf) or flight (.igc, .gpx)").arg(a));
        }
    }
    return line;
}

QString CommandLineHelp() {
    return QStringLiteral(
        "Usage: " TOLMARIK_PRODUCT_NAME
        " [--port PORT] [FILE]\n"
        "Configures Tolmarik GPS flight instruments: reads and writes their settings,\n"
        "shows flight statistics, downloads tracks, updates the firmware.\n"
        "\n"
        "FILE: a settings file (.bcf) to open as the File menu opens one, or a\n"
        "flight (.igc, .gpx) to take into the logbook and show there.\n"
        "\n"
        "Options:\n"
        "  -h, --help       Show this help and exit.\n"
        "  -v, --version    Show the version and exit.\n"
        "  --port PORT      Use PORT for this run without storing it\n"
        "                   (a name such as ttyUSB0 or a path such as /dev/pts/3).\n"
        "  --transcript FILE  Append every byte sent to and received from the\n"
        "                   instrument, with times, to FILE (for a bug report).\n"
        "\n"
        "Options of the Qt toolkit (e.g. -platform, -style) are passed on to it.\n");
}

int AnswerCommandLine(const TCommandLine& line) {
    switch (line.action) {
        case TCommandLine::ShowHelp:
            std::fputs(CommandLineHelp().toLocal8Bit().constData(), stdout);
            return flow::EC_OK;
        case TCommandLine::ShowVersion:
            std::printf("%s %s\n", TOLMARIK_PRODUCT_NAME, qPrintable(ProgramVersion()));
            return flow::EC_OK;
        case TCommandLine::Refuse:
            std::fprintf(stderr, "%s: %s; see --help\n", TOLMARIK_PRODUCT_NAME,
                         qPrintable(line.error));
            return flow::EC_USAGE;
        case TCommandLine::Run:
            break;
    }
    return flow::EC_OK;
}

}  // namespace app
