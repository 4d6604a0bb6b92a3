#pragma once

#include "export/devtools_connection.h"

#include <QJsonValue>
#include <QString>
#include <QStringList>

namespace vantor {

// The browser program and its extra arguments, as vantor.ini [Platform] names them.
struct BrowserChoice {
    QString program;   // Browser: a path or a name on the path; empty: the first one found
    QString arguments; // BrowserArgs: split as a shell would, quotes kept together
};

// The program to start: the chosen one, else the first of chromium, chromium-browser and
// google-chrome in the folders of `pathVariable`; empty when there is none.
QString browserProgram(const QString& chosen, const QString& pathVariable);

// The command line of a browser started for exports: its own profile, a debugging port of its
// choosing, the extra arguments, then "about:blank". Chromium's sandbox refuses to run as root,
// so `asRoot` adds --no-sandbox.
QStringList browserArguments(const QString& profileFolder, const QString& extraArguments,
                             bool asRoot);

// The browser window of the catalog exports: one page of a Chromium-family browser, driven over
// its DevTools protocol. The browser keeps running between exports and after Vantor ends; its
// profile folder records its endpoint (DevToolsActivePort) and the page the exports use, so
// that a later export, also of another Vantor process, finds both again.
class BrowserWindow {
public:
    explicit BrowserWindow(QString profileFolder);
    const QString& profileFolder() const { return profileFolder_; }

    // Attaches to a browser an earlier export started, and to the page it used (a new page when
    // that one was closed); false when there is none.
    bool attach();
    // Starts `program` with `arguments` and attaches to it once it has recorded its endpoint;
    // false when it cannot start or does not do so within 20 seconds.
    bool create(const QString& program, const QStringList& arguments);
    // The process id of the browser create() started (0: none), for whoever must end it.
    qint64 startedProcess() const { return startedProcess_; }

    // The operations of an export; each throws Error when the browser fails or is gone.
    void navigate(const QString& url);
    // Waits at most `ms` for the page to report that the document navigate() asked for has
    // loaded; true when it has.
    bool waitForLoad(int ms);
    // The value of a script expression in the page.
    QJsonValue evaluate(const QString& expression);
    void show();
    // Replaces the page's document with `html` in one document.open / writeln / close; the text
    // goes to the page as a string argument, never as script text.
    void writeDocument(const QString& html);

private:
    bool connectToBrowser();
    // The ids of the browser's tabs.
    QStringList pageTargets();
    // Attaches to that tab, or to a new one when it is not there.
    bool usePage(const QString& targetId);
    QString endpointFile() const;
    QString pageFile() const;

    QString profileFolder_;
    DevToolsConnection devTools_;
    QString targetId_;
    QString sessionId_;
    qint64 loadsBeforeNavigate_ = 0;
    qint64 startedProcess_ = 0;
};

} // namespace vantor
