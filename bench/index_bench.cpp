// The symbol index: building it over every library of the test prefix, updating it after one
// library changed, and searching an index of a million symbols made from the real entries.
#include "browser/browsing_machine.h"
#include "catalog/type_lib_record.h"
#include "search/symbol_index.h"
#include "text/error.h"
#include "tli/type_lib_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace vantor;

namespace {

void figure(const char* name, double value, const char* unit) {
    std::printf("FIGURE %s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// The processor time of this thread: on a machine shared with other work the elapsed times
// grow with the load, this does not.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The median time of 20 runs of a query (after one to warm the cache), and its hit count.
void queryFigure(const SymbolIndex& index, const char* name, const QString& text, int matchKinds) {
    index.query(text, matchKinds);
    std::vector<double> times, cpu;
    qint64 hits = 0;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer t;
        t.start();
        const double c = cpuMs();
        hits = index.query(text, matchKinds).total;
        cpu.push_back(cpuMs() - c);
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + 10, times.end());
    std::nth_element(cpu.begin(), cpu.begin() + 10, cpu.end());
    figure(name, times[10], "ms");
    figure((QByteArray(name).replace("_ms", "_cpu_ms")).constData(), cpu[10], "ms");
    figure((QByteArray(name).replace("_ms", "_hits")).constData(), double(hits), "hits");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    test::BrowsingMachine machine;
    if (!machine.built()) {
        std::fprintf(stderr, "the test prefix could not be made\n");
        return 1;
    }
    CatalogFrame frame;
    Catalogs catalogs(machine.programFolder(), frame);
    catalogs.LoadDefs(1);
    const QStringList records = catalogs.TLDefs();
    const auto hostPath = [&](const QString& w) { return machine.paths().toHost(w); };

    SymbolIndex index;
    const QString folder = machine.programFolder() + QStringLiteral("/index");
    index.open(folder + QStringLiteral("/build.sqlite"));
    QElapsedTimer t;
    t.start();
    double c = cpuMs();
    const IndexUpdate built = index.update(records, hostPath);
    figure("index_build_s", t.nsecsElapsed() / 1e9, "s");
    figure("index_build_cpu_s", (cpuMs() - c) / 1e3, "s");
    figure("index_libraries_read", built.read, "libraries");
    const qint64 symbols = index.symbolCount();
    figure("index_symbols", double(symbols), "symbols");

    // mshtml.tlb changed: the link to Wine's file becomes a copy with a new time.
    const QString mshtml =
        machine.prefix().prefix() + QStringLiteral("/drive_c/Windows/System32/mshtml.tlb");
    const QString original = QFile::symLinkTarget(mshtml);
    QFile::remove(mshtml);
    QFile::copy(original, mshtml);
    t.restart();
    c = cpuMs();
    const IndexUpdate changed = index.update(records, hostPath);
    figure("index_update_ms", t.nsecsElapsed() / 1e6, "ms");
    figure("index_update_cpu_ms", cpuMs() - c, "ms");
    figure("index_update_libraries_read", changed.read, "libraries");

    // A million symbols: the real entries again and again under other records, their names
    // varied at the end or at the start.
    std::vector<std::pair<QString, std::vector<SymbolEntry>>> real;
    for (const QString& r : records) {
        try {
            const auto lib = tli::loadTypeLib(hostPath(TypeLibRecord::parse(r).path), nullptr);
            real.emplace_back(lib->name(), symbolEntries(lib));
        } catch (const Error&) {
        }
    }
    SymbolIndex large;
    large.open(folder + QStringLiteral("/large.sqlite"));
    qint64 total = 0;
    for (int copy = 0; total < 1000000; ++copy) {
        for (const auto& [name, entries] : real) {
            std::vector<SymbolEntry> varied = entries;
            for (SymbolEntry& e : varied) {
                if (copy == 0)
                    break;
                e.name =
                    copy % 2 ? e.name + QString::number(copy) : QChar(u'A' + copy % 26) + e.name;
            }
            const QString record = QStringLiteral("{%1-0000-0000-0000-000000000000}, %2.0, "
                                                  "\"x\", C:\\x%1.tlb, %3")
                                       .arg(total, 8, 16, QChar(u'0'))
                                       .arg(copy % 10)
                                       .arg(name);
            large.store(record, name, copy % 10, 0, varied);
            total += qint64(varied.size());
        }
    }
    figure("query_index_symbols", double(large.symbolCount()), "symbols");
    queryFigure(large, "query_exact_ms", QStringLiteral("IXMLDOMNode"), match::All);
    queryFigure(large, "query_prefix_ms", QStringLiteral("LoadPic"), match::All);
    queryFigure(large, "query_substring_ms", QStringLiteral("DOMNod"), match::All);
    queryFigure(large, "query_help_ms", QStringLiteral("picture"), match::HelpWords);
    t.restart();
    SymbolIndex reopened;
    reopened.open(folder + QStringLiteral("/large.sqlite"));
    figure("index_open_large_ms", t.nsecsElapsed() / 1e6, "ms");
    return 0;
}
