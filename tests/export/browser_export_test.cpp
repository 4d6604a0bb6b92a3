// The catalog page and its way into a headless Chromium over the test prefix's catalogs.
#include "browser/browsing_machine.h"
#include "export/catalog_page.h"
#include "export/send_defs_to_browser.h"

#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vantor;

namespace {

// A catalog of `n` records whose help strings are `help`.
QStringList catalog(int n, const QString& help) {
    QStringList defs;
    for (int i = 0; i < n; ++i)
        defs
            << QStringLiteral("{%1}, 1.0, %2, c:\\x.dll, Lib").arg(i, 8, 10, QChar(u'0')).arg(help);
    return defs << QString();
}

TEST(CatalogPage, BufferRowsAndEscaping) {
    EXPECT_EQ(catalogPageBufferSize(1550), 350000);
    EXPECT_EQ(catalogPageBufferSize(1551), 1551 * 220 + 50000);
    const CatalogPage small = buildCatalogPage(catalog(1, QStringLiteral("\"a <b> & c\"")), "TL");
    EXPECT_TRUE(small.complete());
    EXPECT_TRUE(small.html.endsWith(
        "</tr><tr><td nowrap>{00000000}</td><td nowrap>1.0</td><td nowrap>\"a &lt;b&gt; &amp; "
        "c\"</td><td nowrap>c:\\x.dll</td><td nowrap>Lib</td></tr></table></div></body></html>"));
    EXPECT_EQ(buildCatalogPage({"A, , b, , ", ""}, "PID").html.count("<td nowrap>&nbsp;</td>"), 3);
    EXPECT_TRUE(buildCatalogPage({"A, , b, , ", ""}, "PID").html.contains("<big>ServerPath</big>"));
    // Rows of 1,000 escaped characters overflow the rule's 220 per record: the table is cut
    // where the buffer ends, tail kept.
    const CatalogPage cut = buildCatalogPage(catalog(2000, QString(200, u'<')), "TL");
    EXPECT_EQ(cut.records, 2000);
    EXPECT_GT(cut.rows, 400);
    EXPECT_LT(cut.rows, 2000);
    EXPECT_LE(cut.html.size(), catalogPageBufferSize(2000));
    EXPECT_TRUE(cut.html.endsWith("</tr></table></div></body></html>"));
    const CatalogPage damaged = buildCatalogPage({"A, b, c, d, e", " ", ""}, "PID");
    EXPECT_EQ(damaged.failedAt, 1);
}

class Recorder : public BrowserExportFrame {
public:
    void status(const QString& text) override { statuses << text; }
    void setBusy(bool) override {}
    void message(const QString& text) override { messages << text; }
    BrowserChoice browserChoice() const override { return choice; }
    BrowserChoice choice{QString(), QStringLiteral("--headless=new")};
    QStringList statuses, messages;
};

// Ends the browsers the windows started, and every process those started, however a test ends.
struct Ender {
    QList<const BrowserWindow*> windows;
    ~Ender() {
        for (const BrowserWindow* w : windows) {
            const pid_t pid = static_cast<pid_t>(w->startedProcess());
            const pid_t group = pid > 0 ? ::getpgid(pid) : -1;
            if (group > 0 && group != ::getpgrp())
                ::kill(-group, SIGKILL);
            else if (pid > 0)
                ::kill(pid, SIGKILL);
        }
    }
};

TEST(BrowserExport, CatalogsReachHeadlessChromium) {
    test::BrowsingMachine machine;
    ASSERT_TRUE(machine.built());
    RecordingFrame loadFrame;
    Catalogs catalogs(machine.programFolder(), loadFrame);
    ASSERT_EQ(catalogs.LoadDefs(1), 0);
    QTemporaryDir profile;
    BrowserWindow browser(profile.filePath("browser-profile"));
    BrowserWindow again(browser.profileFolder());
    const Ender ender{{&browser, &again}};
    Recorder frame;
    const auto rows = [&] { return browser.evaluate("document.querySelectorAll('tr').length"); };
    ExportDefsToBrowser(catalogs.TLDefs(), "TL", browser, frame);
    const qsizetype pageSize = buildCatalogPage(catalogs.TLDefs(), "TL").html.size();
    EXPECT_EQ(frame.statuses,
              QStringList({"Sending TypeLib Defs to IE ...", " attaching to IE ...",
                           QString("Writing %1 bytes into IE").arg(pageSize), "Success ..."}));
    EXPECT_EQ(rows().toInt(), catalogs.TLDefs().size());
    // Another object over the same profile, as a later Vantor would have: attaches, same page.
    frame.statuses.clear();
    ExportDefsToBrowser(catalogs.PIDDefs(), "PID", again, frame);
    EXPECT_EQ(frame.statuses.mid(1, 2),
              QStringList({" attaching to IE ...", "found existing oIE"}));
    EXPECT_EQ(frame.statuses.last(), "Success ...");
    EXPECT_EQ(rows().toInt(), catalogs.PIDDefs().size());
    // Registry text stays text; an empty field keeps its cell.
    ExportDefsToBrowser({"{1}, 1.0, <b>x</b> & <script>y()</script>, , Lib", ""}, "TL", again,
                        frame);
    EXPECT_EQ(browser.evaluate("document.querySelectorAll('td')[7].textContent").toString(),
              "<b>x</b> & <script>y()</script>");
    EXPECT_EQ(browser.evaluate("document.querySelectorAll('b, script').length").toInt(), 0);
    EXPECT_EQ(browser.evaluate("document.querySelectorAll('td')[8].innerHTML").toString(),
              "&nbsp;");
    // A page larger than one message's part arrives whole, a pair of surrogates in every row.
    const QString help = QString::fromUtf8("\"h\xF0\x9F\x98\x80\"");
    ExportDefsToBrowser(catalog(6000, help), "TL", again, frame);
    EXPECT_EQ(rows().toInt(), 6001);
    const QString whole = QStringLiteral(
        "Array.from(document.querySelectorAll('tr')).slice(1).filter((r, i) => r.cells.length == 5 "
        "&& r.cells[0].textContent == '{' + String(i).padStart(8, '0') + '}' && "
        "r.cells[2].textContent == '%1' && r.cells[4].textContent == 'Lib').length");
    EXPECT_EQ(browser.evaluate(whole.arg(help)).toInt(), 6000);
    EXPECT_TRUE(frame.messages.isEmpty());
}

TEST(BrowserExport, MissingBrowser) {
    QTemporaryDir profile;
    BrowserWindow browser(profile.filePath("browser-profile"));
    Recorder frame;
    frame.choice.program = profile.filePath("no-such-browser");
    ExportDefsToBrowser(catalog(1, "x"), "TL", browser, frame);
    EXPECT_EQ(frame.statuses.mid(2),
              QStringList({"failed to create IE object ...", "Failed to send TypeLib Defs to IE"}));
}

} // namespace
