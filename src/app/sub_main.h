#pragma once

#include "app/ini_file.h"
#include "app/second_start.h"

#include <QProcessEnvironment>
#include <QStringList>
#include <functional>
#include <memory>

namespace vantor {

class Catalogs;
class HelpController;
class MainWindow;

struct StartOptions {
    QStringList args; // the process arguments without the program
    QString programFolder;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A message box titled "Vantor"; tests record instead of showing one.
    std::function<void(const QString&)> message;
    // The catalog wait: passes of this length, at least 7, until the catalog load has finished.
    int passMilliseconds = 300;
    int waitBoundSeconds = 60;
    // The first copy's claim on the instance tag; null: the window takes no hand-overs.
    std::shared_ptr<InstanceClaim> instance;
};

// Everything a running Vantor holds: the settings file, the machine's registry, the catalogs and
// the main window.
class Session {
public:
    ~Session();
    MainWindow& window();
    Catalogs& catalogs();
    IniFile& ini();
    HelpController& help();
    // Passes the catalog wait took.
    int waitPasses() const;

    struct Parts;
    std::unique_ptr<Parts> parts;
};

// Sub Main: refuses the start when NormalOp is 0 (nothing is returned), else opens the machine,
// shows the main window, lets Timer1 load the catalogs, waits for them, fills the library list
// and opens the argument's library or the remembered one.
std::unique_ptr<Session> SubMain(StartOptions options);

} // namespace vantor
