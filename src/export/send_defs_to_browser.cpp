#include "export/send_defs_to_browser.h"

#include "export/catalog_page.h"
#include "text/error.h"

#include <QProcessEnvironment>
#include <unistd.h>

namespace vantor {

namespace {

constexpr int kReadyPollMs = 200;
constexpr int kReadyPolls = 21;

bool becameReady(BrowserWindow& browser) {
    for (int sleeps = 0;;) {
        try {
            if (browser.evaluate(QStringLiteral("document.readyState")).toString() ==
                QLatin1String("complete"))
                return true;
        } catch (const Error&) {
            // A page between two documents cannot answer yet.
        }
        // A sleep between two polls ends early when the page reports it has loaded.
        browser.waitForLoad(kReadyPollMs);
        if (++sleeps == kReadyPolls)
            return false;
    }
}

} // namespace

SendDefsResult SendDefsToBrowser(const QStringList& defs, const QString& kind,
                                 BrowserWindow& browser, BrowserExportFrame& frame) {
    SendDefsResult out;
    frame.setBusy(true);
    frame.status(QStringLiteral(" attaching to IE ..."));
    if (browser.attach()) {
        frame.status(QStringLiteral("found existing oIE"));
    } else {
        const BrowserChoice choice = frame.browserChoice();
        const QString program = browserProgram(
            choice.program, QProcessEnvironment::systemEnvironment().value(QStringLiteral("PATH")));
        if (!browser.create(program, browserArguments(browser.profileFolder(), choice.arguments,
                                                      ::geteuid() == 0))) {
            frame.status(QStringLiteral("failed to create IE object ..."));
            frame.setBusy(false);
            return out;
        }
    }
    CatalogPage page;
    try {
        browser.navigate(QStringLiteral("about:blank"));
        if (!becameReady(browser)) {
            frame.setBusy(false);
            return out;
        }
        browser.show();
        page = buildCatalogPage(defs, kind);
        if (!page.failure.isEmpty())
            throw Error(Error::InvalidCall, QStringLiteral("SendDefsToBrowser"), page.failure);
        frame.status(QStringLiteral("Writing %1 bytes into IE").arg(page.html.size()));
        browser.writeDocument(page.html);
    } catch (const Error& e) {
        frame.setBusy(false);
        frame.message(QStringLiteral("err=%1  nJ=%2")
                          .arg(e.description())
                          .arg(page.failure.isEmpty() ? page.rows : page.failedAt));
        return out;
    }
    frame.setBusy(false);
    return {1, page.rows, page.records};
}

void ExportDefsToBrowser(const QStringList& defs, const QString& kind, BrowserWindow& browser,
                         BrowserExportFrame& frame) {
    const bool typeLibs = kind == QLatin1String("TL");
    frame.status(typeLibs ? QStringLiteral("Sending TypeLib Defs to IE ...")
                          : QStringLiteral("Sending PID Defs to IE ..."));
    const SendDefsResult sent = SendDefsToBrowser(defs, kind, browser, frame);
    if (sent.result <= 0)
        frame.status(typeLibs ? QStringLiteral("Failed to send TypeLib Defs to IE")
                              : QStringLiteral("Failed to send ProgID Defs to IE"));
    else if (sent.rows < sent.records)
        frame.status(
            QStringLiteral("Success ... (%1 of %2 rows)").arg(sent.rows).arg(sent.records));
    else
        frame.status(QStringLiteral("Success ..."));
}

} // namespace vantor
