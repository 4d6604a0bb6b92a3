// vantor-cli: what the window shows and exports, for terminals and scripts, over the machine
// vantor reads (--prefix DIR, --registry FILE.reg, vantor.ini [Platform] Registry, $WINEPREFIX
// or ~/.wine) and its program folder.
#include "app/program_folder.h"
#include "cli/cli_command.h"
#include "cli/cli_machine.h"
#include "text/error.h"

#include <QCoreApplication>
#include <cstdio>
#include <optional>

using namespace vantor;
using namespace vantor::cli;

namespace {

void print(FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
}

QString usage() {
    QString text = QStringLiteral(
        "Usage: vantor-cli [MACHINE OPTIONS] COMMAND [ARGUMENTS] [--json]\n"
        "\n"
        "What the Vantor window shows and exports, for terminals and scripts. Nothing of the\n"
        "machine is run; the window's catalogs are not rewritten for another machine.\n"
        "\n"
        "Commands:\n");
    for (const Command* c : commands())
        text += QStringLiteral("  %1\n      %2\n")
                    .arg(QLatin1String(c->synopsis), QLatin1String(c->summary));
    text += QStringLiteral(
        "\n"
        "A LIBRARY is \"{GUID}\" or \"{GUID}:major.minor\", a library path as the catalog names "
        "it,\n"
        "a host file of the machine, a file name (mshtml.tlb, vbscript.dll\\3), or a library "
        "name.\n"
        "\n"
        "Machine options (as vantor's):\n"
        "  --prefix DIR         the Wine prefix to read\n"
        "  --registry FILE.reg  a registry export to read; may be given several times\n"
        "  Without them: vantor.ini [Platform] Registry, else $WINEPREFIX, else ~/.wine.\n"
        "\n"
        "Other options:\n"
        "  --json               one JSON document instead of text (not for export and dump)\n"
        "  --help               this text; COMMAND --help: the command's\n"
        "  --version            the version\n"
        "\n"
        "Exit status: 0 done, 1 nothing found or different, 2 bad usage or unreadable input.\n"
        "Errors go to standard error.\n");
    return text;
}

// Takes the machine options off the arguments, wherever they stand.
QStringList takeMachineOptions(QStringList& args) {
    QStringList taken;
    for (qsizetype i = 0; i < args.size();) {
        const QString& a = args[i];
        const bool joined =
            a.startsWith(QLatin1String("--prefix=")) || a.startsWith(QLatin1String("--registry="));
        const bool separate = a == QLatin1String("--prefix") || a == QLatin1String("--registry");
        if (joined) {
            taken << args.takeAt(i);
        } else if (separate) {
            if (i + 1 >= args.size())
                throw UsageError(a + QStringLiteral(" needs a value"));
            taken << args.takeAt(i) << args.takeAt(i);
        } else {
            ++i;
        }
    }
    return taken;
}

int run(QStringList args) {
    const QStringList machineArgs = takeMachineOptions(args);
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    const bool help = args.removeAll(QStringLiteral("--help")) > 0;
    const qsizetype at = args.indexOf(QStringLiteral("--version"));
    const Command* command = args.isEmpty() ? nullptr : findCommand(args.first());
    if (!command) {
        if (at >= 0 && args.size() == 1) {
            print(stdout, QStringLiteral("vantor-cli " VANTOR_VERSION "\n"));
            return Done;
        }
        if (help && args.isEmpty()) {
            print(stdout, usage());
            return Done;
        }
        print(stderr, (args.isEmpty() ? QStringLiteral("vantor-cli: no command\n\n")
                                      : QStringLiteral("vantor-cli: unknown command ") +
                                            args.first() + QStringLiteral("\n\n")) +
                          usage());
        return BadUsage;
    }
    const QString name = QString::fromLatin1(command->name);
    if (help) {
        print(stdout, QStringLiteral("Usage: vantor-cli [MACHINE OPTIONS] ") +
                          QLatin1String(command->synopsis) +
                          (command->json ? QStringLiteral(" [--json]") : QString()) +
                          QStringLiteral("\n\n") + QLatin1String(command->help));
        return Done;
    }
    try {
        if (json && !command->json)
            throw UsageError(QStringLiteral("--json is not available for ") + name);
        std::optional<CliMachine> machine;
        CliContext context(CliArgs(args.mid(1)), json, [&]() -> CliMachine& {
            if (!machine)
                machine.emplace(machineArgs, ProgramFolder(),
                                QProcessEnvironment::systemEnvironment());
            return *machine;
        });
        const int status = command->run(context);
        std::fflush(stdout);
        return status;
    } catch (const UsageError& e) {
        print(stderr, QStringLiteral("vantor-cli ") + name + QStringLiteral(": ") + e.message() +
                          QStringLiteral("\nTry 'vantor-cli ") + name +
                          QStringLiteral(" --help'.\n"));
    } catch (const Error& e) {
        print(stderr, QStringLiteral("vantor-cli ") + name + QStringLiteral(": ") +
                          e.description() + u'\n');
    }
    return BadUsage;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantor-cli"));
    try {
        return run(QCoreApplication::arguments().mid(1));
    } catch (const UsageError& e) {
        print(stderr, QStringLiteral("vantor-cli: ") + e.message() + u'\n');
    } catch (const std::exception& e) {
        print(stderr, QStringLiteral("vantor-cli: ") + QString::fromLocal8Bit(e.what()) + u'\n');
    }
    return BadUsage;
}
