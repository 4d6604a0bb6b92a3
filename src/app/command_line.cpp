#include "app/command_line.h"

namespace vantor {

namespace {

const char* const kUsage =
    "Usage: vantor [MACHINE OPTIONS] [LIBRARY | PROGID | progid4:URL | /progidurl:URL]\n"
    "\n"
    "Browses the COM type libraries and ProgIDs registered on a Windows machine: a Wine\n"
    "prefix or registry export files. Nothing of the machine is run or written.\n"
    "\n"
    "Arguments:\n"
    "  {GUID}:major.minor.TypeInfo   opens that library and selects the type info\n"
    "  PROGID                        opens the library of a ProgID\n"
    "  progid4:URL, /progidurl:URL   a reference copied by Vantor\n"
    "  (none)                        opens the library open at the last close\n"
    "\n"
    "Machine options:\n"
    "  --prefix DIR         the Wine prefix to read (system.reg, user.reg, dosdevices/)\n"
    "  --registry FILE.reg  a registry export to read; may be given several times\n"
    "  Without them: vantor.ini [Platform] Registry, else $WINEPREFIX, else ~/.wine.\n"
    "\n"
    "Other options:\n"
    "  --help               shows this text\n"
    "  --version            shows the version\n"
    "\n"
    "Files in the program folder (beside the program in a build tree, else\n"
    "$XDG_DATA_HOME/vantor, by default ~/.local/share/vantor):\n"
    "  vantor.ini           settings and the recently used libraries\n"
    "  dbTypes.dat          the type library catalog, built from the registry\n"
    "  dbPID.dat            the ProgID catalog\n"
    "  TLError.log          problems met while building the catalogs\n"
    "  overlay/ID.reg       the machine's registrations written by Vantor\n"
    "  LibDocs/             exported documentation\n"
    "\n"
    "Environment:\n"
    "  WINEPREFIX           the prefix when no option or setting names one\n"
    "  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM   the display to use\n"
    "                       (QT_QPA_PLATFORM=offscreen runs without one)\n"
    "  XDG_DATA_HOME        where the program folder is when not beside the program\n";

// Machine options take a value ("--prefix DIR" or "--prefix=DIR").
const char* const kValueOptions[] = {"--prefix", "--registry"};

// Qt's own options, which QGuiApplication and QApplication take off the arguments (with one dash
// or two): these with a value, and the two flags after them.
const char* const kQtValueOptions[] = {"platform",
                                       "platformpluginpath",
                                       "platformtheme",
                                       "plugin",
                                       "qwindowgeometry",
                                       "qwindowicon",
                                       "qwindowtitle",
                                       "display",
                                       "style",
                                       "stylesheet",
                                       "session",
                                       "name",
                                       "title"};
const char* const kQtFlags[] = {"reverse", "widgetcount"};

bool canRun(const QString& platform, const QProcessEnvironment& env) {
    const QString name = platform.section(u':', 0, 0).trimmed();
    if (name.startsWith(QLatin1String("xcb")))
        return !env.value(QStringLiteral("DISPLAY")).isEmpty();
    if (name.startsWith(QLatin1String("wayland")))
        return !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    return !name.isEmpty(); // offscreen, minimal, vnc, eglfs, ...: no display server needed
}

} // namespace

bool displayAvailable(const QStringList& args, const QProcessEnvironment& env) {
    for (qsizetype i = 0; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("-platform") || args[i] == QLatin1String("--platform"))
            return canRun(args[i + 1], env);
    const QString chosen = env.value(QStringLiteral("QT_QPA_PLATFORM"));
    if (!chosen.isEmpty()) {
        for (const QString& platform : chosen.split(u';', Qt::SkipEmptyParts))
            if (canRun(platform, env))
                return true;
        return false;
    }
    return !env.value(QStringLiteral("DISPLAY")).isEmpty() ||
           !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
}

std::optional<int> handleEarlyCommandLine(const QStringList& allArgs, const QString& version,
                                          QTextStream& out, QTextStream& err) {
    const QStringList args = withoutQtOptions(allArgs);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help")) {
            out << kUsage;
            return 0;
        }
        if (a == QLatin1String("--version")) {
            out << "vantor " << version << "\n";
            return 0;
        }
        if (!a.startsWith(QLatin1String("--")))
            continue;
        bool known = false;
        for (const char* option : kValueOptions) {
            const QLatin1String name(option);
            if (a == name && i + 1 < args.size()) {
                known = true;
                ++i;
            } else if (a.startsWith(QString(name) + u'=')) {
                known = true;
            }
        }
        if (!known) {
            err << "vantor: unknown option " << a << "\n\n" << kUsage;
            return 2;
        }
    }
    return std::nullopt;
}

std::optional<int> refuseWithoutDisplay(const QStringList& args, const QProcessEnvironment& env,
                                        QTextStream& err) {
    if (!displayAvailable(args, env)) {
        err << "vantor: no display to show the window on: set DISPLAY (for example "
               "DISPLAY=:0), or run with QT_QPA_PLATFORM=offscreen\n";
        return 2;
    }
    return std::nullopt;
}

QStringList withoutQtOptions(const QStringList& args) {
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const QString name = a.startsWith(QLatin1String("--")) ? a.mid(2)
                             : a.startsWith(u'-')              ? a.mid(1)
                                                               : QString();
        bool taken = false;
        for (const char* option : kQtValueOptions) {
            if (name == QLatin1String(option)) {
                taken = true;
                ++i; // its value
            } else if (name.startsWith(QLatin1String(option) + u'=')) {
                taken = true;
            }
        }
        for (const char* flag : kQtFlags)
            taken = taken || name == QLatin1String(flag);
        if (!taken)
            rest << a;
    }
    return rest;
}

} // namespace vantor
