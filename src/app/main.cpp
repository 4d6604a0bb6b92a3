// vantor: the main window over the chosen machine's registry (--prefix DIR, --registry FILE.reg,
// vantor.ini [Platform] Registry, $WINEPREFIX or ~/.wine). One window per user, program folder
// and machine: a second start hands its argument to the running copy and ends.
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/program_folder.h"
#include "app/quit_signals.h"
#include "app/second_start.h"
#include "app/sub_main.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    vantor::StartOptions options;
    {
        // Before the window system starts: it aborts the process when there is no display, and
        // a second copy hands over without one.
        QStringList args;
        for (int i = 1; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        QTextStream out(stdout);
        QTextStream err(stderr);
        const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (const std::optional<int> status =
                vantor::handleEarlyCommandLine(args, QStringLiteral(VANTOR_VERSION), out, err))
            return *status;
        options.programFolder = vantor::ProgramFolder();
        vantor::StartKind start = vantor::checkSecondStart(vantor::withoutQtOptions(args), env,
                                                           options.programFolder, err);
        if (start.exitStatus)
            return *start.exitStatus;
        options.instance = std::move(start.claim);
        if (const std::optional<int> status = vantor::refuseWithoutDisplay(args, env, err))
            return *status;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor"));
    QApplication::setApplicationVersion(QStringLiteral(VANTOR_VERSION));
    options.args = QApplication::arguments().mid(1);
    const vantor::QuitSignals quit([] { QApplication::closeAllWindows(); });
    std::unique_ptr<vantor::Session> session = vantor::SubMain(std::move(options));
    // A signal during start-up may have closed the window already.
    if (!session || !session->window().isVisible())
        return 0;
    return QApplication::exec();
}
