// The ProgID catalog of a full machine as a browser page: building it, sending it to a headless
// Chromium that an earlier export started, and the same page opened by that browser alone.
#include "catalog/catalog_frame.h"
#include "catalog/catalogs.h"
#include "catalog/registry_catalog_builders.h"
#include "export/catalog_page.h"
#include "export/send_defs_to_browser.h"
#include "hive_generator.h"
#include "platform/registry/store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace vantor;
using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class QuietFrame : public BrowserExportFrame {
public:
    void status(const QString&) override {}
    void setBusy(bool) override {}
    void message(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    BrowserChoice browserChoice() const override { return {{}, QStringLiteral("--headless=new")}; }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QFile hive(QStringLiteral(VANTOR_TESTDATA_DIR "/wine-prefix/system.reg"));
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("prefix"));
    const QString program = dir.filePath(QStringLiteral("program"));
    QDir().mkpath(prefix);
    QDir().mkpath(program);
    QFile system(prefix + QStringLiteral("/system.reg"));
    QFile user(prefix + QStringLiteral("/user.reg"));
    if (!hive.open(QIODevice::ReadOnly) || !system.open(QIODevice::WriteOnly) ||
        !user.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot make the generated machine\n");
        return 1;
    }
    system.write(bench::generateClassesHive(hive.readAll()).text);
    user.write("WINE REGISTRY Version 2\n");
    system.close();
    user.close();
    registry::Store store(registry::Machine{registry::Machine::Kind::Prefix, prefix, {}}, program);
    RegistryCatalogBuilders builders(store, program, nullptr, nullptr);
    CatalogFrame loadFrame;
    builders.EnumPID(loadFrame);
    Catalogs catalogs(program, loadFrame);
    catalogs.LoadPIDDefs(catalogs.progIdFile());
    const QStringList& defs = catalogs.PIDDefs();

    double build = 1e9;
    CatalogPage page;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        page = buildCatalogPage(defs, QStringLiteral("PID"));
        build = std::min(build, ms(Clock::now() - start));
    }
    std::printf("FIGURE browser_export_records %d records\n", page.records);
    std::printf("FIGURE browser_export_page_chars %lld chars\n", (long long)page.html.size());
    std::printf("FIGURE page_build_ms %.1f ms\n", build);

    BrowserWindow browser(dir.filePath(QStringLiteral("browser-profile")));
    QuietFrame frame;
    int status = 0;
    // The first export starts the browser; the timed ones find it running.
    if (SendDefsToBrowser(defs, QStringLiteral("PID"), browser, frame).result != 1) {
        std::fprintf(stderr, "cannot start the browser\n");
        status = 1;
    }
    double send = 1e9;
    for (int run = 0; run < 5 && status == 0; ++run) {
        const auto start = Clock::now();
        const SendDefsResult sent = SendDefsToBrowser(defs, QStringLiteral("PID"), browser, frame);
        // Laid out: the page's height is known only then.
        browser.evaluate(QStringLiteral("document.body.offsetHeight"));
        send = std::min(send, ms(Clock::now() - start));
        if (sent.result != 1 || browser.evaluate(QStringLiteral("document.querySelectorAll('tr')"
                                                                ".length"))
                                        .toInt() != sent.rows + 1) {
            std::fprintf(stderr, "the page did not arrive whole\n");
            status = 1;
        }
    }
    if (status == 0)
        std::printf("FIGURE send_to_browser_ms %.0f ms\n", send);

    // For comparison, what the browser alone takes for the same page: opened as a file, from
    // the exported page as above, until it answers again.
    QFile pageFile(dir.filePath(QStringLiteral("page.html")));
    if (status == 0 && pageFile.open(QIODevice::WriteOnly)) {
        pageFile.write(page.html.toUtf8());
        pageFile.close();
        double alone = 1e9;
        for (int run = 0; run < 5; ++run) {
            SendDefsToBrowser(defs, QStringLiteral("PID"), browser, frame);
            browser.evaluate(QStringLiteral("document.body.offsetHeight"));
            const auto start = Clock::now();
            browser.navigate(QUrl::fromLocalFile(pageFile.fileName()).toString());
            browser.waitForLoad(60000);
            browser.evaluate(QStringLiteral("document.body.offsetHeight"));
            alone = std::min(alone, ms(Clock::now() - start));
        }
        std::printf("FIGURE browser_alone_ms %.0f ms\n", alone);
    }
    if (const pid_t pid = static_cast<pid_t>(browser.startedProcess()); pid > 0) {
        const pid_t group = ::getpgid(pid);
        ::kill(group > 0 && group != ::getpgrp() ? -group : pid, SIGKILL);
    }
    return status;
}
