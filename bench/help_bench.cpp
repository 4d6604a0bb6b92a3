// bench-help: a compiled help file of about 2,000 pages and 10,000 index keywords, built here
// with chmcmd, read through the reader process: opening it with its index and map, a keyword
// list lookup, and showing a page with an image in the viewer on Qt's offscreen platform.

#include "app/help_viewer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vantor;

namespace {

constexpr int kPages = 2000;
constexpr int kKeywordsPerPage = 5;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double elapsedMs(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray sitemapEntry(const QByteArray& name, const QByteArray& local) {
    return "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
           "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>\n";
}

// The help project: pages p0.htm ... with a shared image, contents, index and a context map.
QString buildChm(const QString& dir) {
    QDir().mkpath(dir + QStringLiteral("/pages"));
    QByteArray files, toc = "<HTML><BODY><UL>\n", index = "<HTML><BODY><UL>\n", alias, map;
    const QByteArray png =
        QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAABAAAAAQCAIAAACQkWg2AAAAFklEQVR42mNQSDhAEmI"
                               "Y1TCqYfhqAAB/t0AQzUKeVwAAAABJRU5ErkJggg==");
    write(dir + QStringLiteral("/pages/image.png"), png);
    files += "pages/image.png\n";
    for (int i = 0; i < kPages; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray page = "pages/p" + n + ".htm";
        QByteArray body = "<html><head><title>Topic " + n + "</title></head><body><h1>Topic " + n +
                          "</h1><img src=\"image.png\">";
        for (int k = 0; k < 20; ++k)
            body += "<p>Paragraph " + QByteArray::number(k) + " of topic " + n +
                    ", see <a href=\"p" + QByteArray::number((i + 1) % kPages) +
                    ".htm\">the next topic</a>.</p>";
        write(dir + u'/' + QString::fromLatin1(page), body + "</body></html>");
        files += page + '\n';
        toc += sitemapEntry("Topic " + n, page);
        for (int k = 0; k < kKeywordsPerPage; ++k)
            index += sitemapEntry("Keyword " + n + '.' + QByteArray::number(k), page);
        alias += "IDH_" + n + '=' + page + '\n';
        map += "#define IDH_" + n + ' ' + QByteArray::number(1000 + i) + '\n';
    }
    write(dir + QStringLiteral("/toc.hhc"), toc + "</UL></BODY></HTML>\n");
    write(dir + QStringLiteral("/index.hhk"), index + "</UL></BODY></HTML>\n");
    write(dir + QStringLiteral("/big.hhp"),
          "[OPTIONS]\nCompiled file=big.chm\nContents file=toc.hhc\nIndex file=index.hhk\n"
          "Default topic=pages/p0.htm\nLanguage=0x409 English (United States)\nTitle=Big\n\n"
          "[FILES]\n" +
              files + "\n[ALIAS]\n" + alias + "\n[MAP]\n" + map);
    QProcess chmcmd;
    chmcmd.setWorkingDirectory(dir);
    chmcmd.start(QStringLiteral("chmcmd"), {QStringLiteral("big.hhp")});
    chmcmd.waitForFinished(600000);
    return dir + QStringLiteral("/big.chm");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = buildChm(dir.path());
    if (!QFile::exists(file)) {
        std::fprintf(stderr, "chmcmd did not build the help file\n");
        return 1;
    }

    std::vector<double> opens;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        help::HelpBook book(file);
        const bool ok = book.open();
        opens.push_back(elapsedMs(t));
        if (!ok || book.index().size() != kPages * kKeywordsPerPage) {
            std::fprintf(stderr, "the help file was not read whole\n");
            return 1;
        }
    }

    auto book = std::make_unique<help::HelpBook>(file);
    book->open();
    std::vector<double> lookups;
    for (int i = 0; i < 200; ++i) {
        const QString keywords = QStringLiteral("Missing %1;Other %1;Keyword %1.3").arg(i * 9);
        QElapsedTimer t;
        t.start();
        const auto hit = book->findKeyword(keywords);
        lookups.push_back(elapsedMs(t));
        if (!hit)
            return 1;
    }

    HelpViewer viewer(std::move(book), [](const QString&) {});
    viewer.resize(900, 640);
    viewer.show();
    std::vector<double> shows;
    for (int i = 1; i <= 50; ++i) {
        QElapsedTimer t;
        t.start();
        viewer.showPage(QStringLiteral("/pages/p%1.htm").arg(i * 37));
        viewer.page()->viewport()->repaint();
        shows.push_back(elapsedMs(t));
    }

    std::printf("FIGURE chm_open_ms %.2f ms\n", median(opens));
    std::printf("FIGURE keyword_lookup_ms %.4f ms\n", median(lookups));
    std::printf("FIGURE page_show_ms %.2f ms\n", median(shows));
    return 0;
}
