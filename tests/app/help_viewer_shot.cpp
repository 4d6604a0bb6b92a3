// Shows the help viewer on a help file at a keyword and saves the screen as a PNG, for
// tests/app/help_screenshot.sh. Usage: help-viewer-shot FILE.chm KEYWORDS OUT.png
#include "app/help_viewer.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4)
        return 2;
    vantor::HelpViewers viewers([](const QString& text) { qWarning("%s", qPrintable(text)); });
    vantor::HelpViewer* viewer =
        viewers.ShowHtmlHelp(QString::fromLocal8Bit(argv[1]), -99, QString::fromLocal8Bit(argv[2]));
    if (!viewer)
        return 1;
    viewer->setGeometry(40, 30, 940, 700);
    int status = 1;
    QTimer::singleShot(1500, [&] {
        status =
            QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[3]))
                ? 0
                : 1;
        app.quit();
    });
    app.exec();
    return status;
}
