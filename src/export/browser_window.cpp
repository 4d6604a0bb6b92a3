#include "export/browser_window.h"

#include "text/error.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>

namespace vantor {

namespace {

constexpr int kStartLimitMs = 20000;
constexpr int kConnectLimitMs = 5000;
// The page's text goes over in parts of this many characters.
constexpr qsizetype kPartChars = 512 * 1024;

// The profile's small records; a file grown larger is not one of them.
QString readFileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.read(4096)) : QString();
}

// DevToolsActivePort: the port on its first line, the browser's endpoint path on its second.
QUrl endpointUrl(const QString& fileText) {
    const QStringList lines = fileText.split(u'\n', Qt::SkipEmptyParts);
    bool ok = false;
    const int port = lines.value(0).trimmed().toInt(&ok);
    const QString path = lines.value(1).trimmed();
    if (!ok || port <= 0 || port > 65535 || !path.startsWith(u'/'))
        return {};
    return QUrl(QStringLiteral("ws://127.0.0.1:%1%2").arg(port).arg(path));
}

[[noreturn]] void scriptFailed(const QJsonObject& result) {
    const QJsonObject details = result.value(QLatin1String("exceptionDetails")).toObject();
    const QString text = details.value(QLatin1String("exception"))
                             .toObject()
                             .value(QLatin1String("description"))
                             .toString();
    throw Error(Error::ObjectMissing, QStringLiteral("DevTools"),
                text.isEmpty() ? details.value(QLatin1String("text")).toString() : text);
}

} // namespace

QString browserProgram(const QString& chosen, const QString& pathVariable) {
    const QStringList folders = pathVariable.split(u':', Qt::SkipEmptyParts);
    const auto find = [&](const QString& name) {
        return folders.isEmpty() ? QString() : QStandardPaths::findExecutable(name, folders);
    };
    if (!chosen.isEmpty())
        return chosen.contains(u'/') ? chosen : find(chosen);
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"})
        if (const QString found = find(QString::fromLatin1(name)); !found.isEmpty())
            return found;
    return {};
}

QStringList browserArguments(const QString& profileFolder, const QString& extraArguments,
                             bool asRoot) {
    QStringList args{QStringLiteral("--user-data-dir=") + profileFolder,
                     QStringLiteral("--remote-debugging-port=0"), QStringLiteral("--no-first-run"),
                     QStringLiteral("--no-default-browser-check")};
    if (asRoot)
        args << QStringLiteral("--no-sandbox");
    args << QProcess::splitCommand(extraArguments) << QStringLiteral("about:blank");
    return args;
}

BrowserWindow::BrowserWindow(QString profileFolder) : profileFolder_(std::move(profileFolder)) {}

QString BrowserWindow::endpointFile() const {
    return profileFolder_ + QStringLiteral("/DevToolsActivePort");
}

QString BrowserWindow::pageFile() const {
    return profileFolder_ + QStringLiteral("/VantorPage");
}

bool BrowserWindow::connectToBrowser() {
    sessionId_.clear(); // sessions end with their connection
    const QUrl endpoint = endpointUrl(readFileText(endpointFile()));
    return endpoint.isValid() && devTools_.open(endpoint, kConnectLimitMs);
}

bool BrowserWindow::attach() {
    try {
        if (devTools_.isOpen() && !targetId_.isEmpty() && usePage(targetId_))
            return true;
        return connectToBrowser() && usePage(readFileText(pageFile()).trimmed());
    } catch (const Error&) {
        return false;
    }
}

bool BrowserWindow::create(const QString& program, const QStringList& arguments) {
    targetId_.clear();
    sessionId_.clear();
    // The endpoint of an earlier browser is stale now; the new one writes its own.
    if (QFile::exists(endpointFile()) && !QFile::remove(endpointFile()))
        return false;
    if (program.isEmpty())
        return false;
    // The browser outlives the export and Vantor; its messages are not Vantor's to show.
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        return false;
    startedProcess_ = pid;
    // A launcher may hand over to the browser and end: only the endpoint tells.
    if (!waitWithoutInput(kStartLimitMs,
                          [&] { return endpointUrl(readFileText(endpointFile())).isValid(); }))
        return false;
    try {
        if (!connectToBrowser())
            return false;
        // The tab the browser opened with.
        return usePage(pageTargets().value(0));
    } catch (const Error&) {
        return false;
    }
}

QStringList BrowserWindow::pageTargets() {
    QStringList pages;
    const QJsonArray targets = devTools_.call(QStringLiteral("Target.getTargets"))
                                   .value(QLatin1String("targetInfos"))
                                   .toArray();
    for (const QJsonValue& t : targets)
        if (t.toObject().value(QLatin1String("type")).toString() == QLatin1String("page"))
            pages << t.toObject().value(QLatin1String("targetId")).toString();
    return pages;
}

bool BrowserWindow::usePage(const QString& targetId) {
    const bool found = !targetId.isEmpty() && pageTargets().contains(targetId);
    if (found && targetId == targetId_ && !sessionId_.isEmpty())
        return true;
    targetId_ = found ? targetId
                      : devTools_
                            .call(QStringLiteral("Target.createTarget"),
                                  {{QStringLiteral("url"), QStringLiteral("about:blank")}})
                            .value(QLatin1String("targetId"))
                            .toString();
    sessionId_ =
        devTools_
            .call(QStringLiteral("Target.attachToTarget"),
                  {{QStringLiteral("targetId"), targetId_}, {QStringLiteral("flatten"), true}})
            .value(QLatin1String("sessionId"))
            .toString();
    QFile file(pageFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(targetId_.toUtf8());
    if (targetId_.isEmpty() || sessionId_.isEmpty())
        return false;
    // The page's load events, for waitForLoad().
    devTools_.call(QStringLiteral("Page.enable"), {}, sessionId_);
    return true;
}

void BrowserWindow::navigate(const QString& url) {
    loadsBeforeNavigate_ = devTools_.eventCount(QStringLiteral("Page.loadEventFired"));
    devTools_.call(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), url}}, sessionId_);
}

bool BrowserWindow::waitForLoad(int ms) {
    return waitWithoutInput(ms, [&] {
        return devTools_.eventCount(QStringLiteral("Page.loadEventFired")) > loadsBeforeNavigate_;
    });
}

QJsonValue BrowserWindow::evaluate(const QString& expression) {
    const QJsonObject result = devTools_.call(
        QStringLiteral("Runtime.evaluate"),
        {{QStringLiteral("expression"), expression}, {QStringLiteral("returnByValue"), true}},
        sessionId_);
    if (result.contains(QLatin1String("exceptionDetails")))
        scriptFailed(result);
    return result.value(QLatin1String("result")).toObject().value(QLatin1String("value"));
}

void BrowserWindow::show() {
    devTools_.call(QStringLiteral("Target.activateTarget"),
                   {{QStringLiteral("targetId"), targetId_}});
}

void BrowserWindow::writeDocument(const QString& html) {
    const QString call = QStringLiteral("Runtime.callFunctionOn");
    const auto check = [](const QJsonObject& result) {
        if (result.contains(QLatin1String("exceptionDetails")))
            scriptFailed(result);
        return result;
    };
    // An array in the page collects the text: sent in parts back to back, one part is turned
    // into a string by the page while the browser decodes the next.
    const QString parts =
        check(devTools_.call(QStringLiteral("Runtime.evaluate"),
                             {{QStringLiteral("expression"), QStringLiteral("[]")}}, sessionId_))
            .value(QLatin1String("result"))
            .toObject()
            .value(QLatin1String("objectId"))
            .toString();
    QList<qint64> sent;
    for (qsizetype from = 0; from < html.size();) {
        qsizetype size = std::min(kPartChars, html.size() - from);
        if (from + size < html.size() && html[from + size - 1].isHighSurrogate())
            --size; // a pair stays in one part
        sent << devTools_.send(
            call,
            {{QStringLiteral("functionDeclaration"),
              QStringLiteral("function (part) { this.push(part); }")},
             {QStringLiteral("objectId"), parts},
             {QStringLiteral("arguments"),
              QJsonArray{QJsonObject{{QStringLiteral("value"), html.mid(from, size)}}}}},
            sessionId_);
        from += size;
    }
    for (const qint64 id : sent)
        check(devTools_.answer(id, call));
    check(devTools_.call(call,
                         {{QStringLiteral("functionDeclaration"),
                           QStringLiteral("function () { document.open(); "
                                          "document.writeln(this.join('')); document.close(); }")},
                          {QStringLiteral("objectId"), parts}},
                         sessionId_));
}

} // namespace vantor
