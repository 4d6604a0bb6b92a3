// vantor: the main window over the chosen machine's registry (--prefix DIR, --registry FILE.reg,
// vantor.ini [Platform] Registry, $WINEPREFIX or ~/.wine).
#include "app/command_line.h"
#include "app/program_folder.h"
#include "app/sub_main.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    {
        // Before the window system starts: it aborts the process when there is no display.
        QStringList args;
        for (int i = 1; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        QTextStream out(stdout);
        QTextStream err(stderr);
        if (const std::optional<int> status =
                vantor::handleEarlyCommandLine(args, QProcessEnvironment::systemEnvironment(),
                                               QStringLiteral(VANTOR_VERSION), out, err))
            return *status;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor"));
    QApplication::setApplicationVersion(QStringLiteral(VANTOR_VERSION));
    vantor::StartOptions options;
    options.args = QApplication::arguments().mid(1);
    options.programFolder = vantor::ProgramFolder();
    std::unique_ptr<vantor::Session> session = vantor::SubMain(std::move(options));
    if (!session)
        return 0;
    return QApplication::exec();
}
