// vantor: the main window over the chosen machine's registry (--prefix DIR, --registry FILE.reg,
// vantor.ini [Platform] Registry, $WINEPREFIX or ~/.wine).
#include "app/program_folder.h"
#include "app/sub_main.h"

#include <QApplication>

int main(int argc, char** argv) {
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
