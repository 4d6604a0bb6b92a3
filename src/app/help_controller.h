#pragma once

#include "app/help_viewer.h"
#include "help/help_resolver.h"

#include <QObject>
#include <memory>

namespace vantor {

class IniFile;
class MainWindow;

// Help of the main window: the help configuration read at start-up, the help lookup of each
// selected type, F1 over any of its windows and menus and the "Help [F1]" button, carried out
// with the help viewers; the viewers close with the main window.
class HelpController : public QObject {
    Q_OBJECT
public:
    // `programHelpFile`: the program's own Vantor.chm (a host path).
    HelpController(MainWindow& window, IniFile& ini, const help::HelpMachine& machine,
                   const QString& programFolder, const QString& programHelpFile,
                   QString readerProgram = QString());
    ~HelpController() override;

    // F1 over `widget` (a window request) or while `menu` is open (a menu request).
    int helpFor(QWidget* widget);
    help::HelpResolver& resolver() { return resolver_; }
    HelpViewers& viewers() { return viewers_; }

    // The program's own help file: in the program folder, else in the installed data folder.
    static QString programHelpFile(const QString& programFolder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool lookup(qint32 typeInfoNumber);
    help::HelpRequest requestFor(QWidget* widget) const;
    help::HelpSelection selection() const;
    void status(const QString& text);

    MainWindow& window_;
    IniFile& ini_;
    const help::HelpMachine& machine_;
    help::HelpResolver resolver_;
    HelpViewers viewers_;
};

} // namespace vantor
