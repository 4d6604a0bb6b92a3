// bench-browsing: browsing mshtml.tlb (the largest library) through the real window on Qt's
// offscreen platform, over the test prefix and the catalogs its registry gives: the library
// load with both lists filled, a click on its largest interface, and a click on each of that
// interface's members (the prototype formatted and rendered into the pane).

#include "app/ini_file.h"
#include "app/main_window.h"
#include "browser/browsing_machine.h"
#include "catalog/get_token.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vantor;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double elapsedMs(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    test::BrowsingMachine machine;
    if (!machine.built()) {
        std::fprintf(stderr, "the test prefix's catalogs could not be built\n");
        return 1;
    }
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("vantor.ini")));
    MainWindow::Services services;
    services.application = &machine.app();
    MainWindow window(ini, services);
    Catalogs catalogs(machine.programFolder(), window);
    window.setCatalogs(&catalogs, [&](qint32 always) { return catalogs.LoadDefs(always); });
    window.RunLoadDefs(1);
    window.resize(1024, 768);
    window.show();
    QCoreApplication::processEvents();

    const qint32 line =
        test::catalogLine(catalogs, QStringLiteral("{3050F1C5-98B5-11CF-BB82-00AA00BDCE0B}, 4.0"));
    if (line < 0) {
        std::fprintf(stderr, "mshtml.tlb is not in the catalog\n");
        return 1;
    }
    const QString path = GetToken(4, catalogs.TLDefs()[line]);
    LibraryBrowser& browser = window.browser();

    // The first load reads the file; the later ones find it open (as a reload does).
    std::vector<double> loads;
    for (int i = 0; i < 11; ++i) {
        window.pathBox()->setEditText(path);
        QElapsedTimer t;
        t.start();
        if (browser.nGetTypInfos() <= 0) {
            std::fprintf(stderr, "mshtml.tlb did not load\n");
            return 1;
        }
        loads.push_back(elapsedMs(t));
    }
    const double firstLoad = loads.front();
    loads.erase(loads.begin());

    // The interface with the most member rows.
    int largest = -1;
    qsizetype most = -1;
    const QList<tli::ListRow>& rows = browser.typeInfoRows();
    for (int row = 0; row < rows.size(); ++row) {
        if (browser.categoryCodes()[row] != 12)
            continue;
        const qsizetype n = browser.library().memberRows(rows[row].itemData).size();
        if (n > most) {
            most = n;
            largest = row;
        }
    }
    std::vector<double> typeClicks;
    for (int i = 0; i < 21; ++i) {
        window.list1()->setCurrentRow(largest);
        QElapsedTimer t;
        t.start();
        browser.TypeInfoClicked(largest);
        typeClicks.push_back(elapsedMs(t));
    }

    std::vector<double> memberClicks;
    QElapsedTimer all;
    all.start();
    for (int m = 0; m < window.list2()->count(); ++m) {
        window.list2()->setCurrentRow(m);
        QElapsedTimer t;
        t.start();
        browser.MemberClicked(m);
        memberClicks.push_back(elapsedMs(t));
    }
    const double allMs = elapsedMs(all);

    std::printf("# %s: %d type-info rows; largest interface %s with %d members\n", qPrintable(path),
                int(rows.size()), qPrintable(rows[largest].text), int(memberClicks.size()));
    std::printf("FIGURE mshtml_load_ms %.2f ms\n", firstLoad);
    std::printf("FIGURE mshtml_reload_ms %.2f ms\n", median(loads));
    std::printf("FIGURE type_click_ms %.2f ms\n", median(typeClicks));
    std::printf("FIGURE member_click_ms %.3f ms\n", median(memberClicks));
    std::printf("FIGURE member_click_max_ms %.3f ms\n",
                *std::max_element(memberClicks.begin(), memberClicks.end()));
    std::printf("FIGURE member_clicks_total_ms %.1f ms\n", allMs);
    return 0;
}
