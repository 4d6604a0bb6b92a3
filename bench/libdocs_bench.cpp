// bench-libdocs: the documentation export of mshtml.tlb (the largest library), from the command
// to the file written, in every format: the median of five runs each. The library is opened
// through the test prefix, so that its references into stdole resolve as in the program.

#include "export/doc_test_support.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vantor;

namespace {

class Frame : public DocFrame {
public:
    DocSource source;
    DocOptions docOptions() const override { return {true, false, false, true}; }
    DocSource docSource() const override { return source; }
    DocHead docHead() const override { return {}; }
    QString rtfPrefix() const override { return paneRtfHeader(QString()); }
    void setDocMode(qint32) override {}
    void setBusy(bool) override {}
    void flashStatus(const QString& text) override { last = text; }
    void setClipboardText(const QString&) override {}
    void openFile(const QString&) override {}
    QString last;
};

double medianMs(const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main() {
    const prototest::Opened opened = prototest::openLibrary(QStringLiteral("mshtml.tlb"));
    QTemporaryDir folder;
    if (!opened.lib || !createLibDocsFolders(folder.path())) {
        std::fprintf(stderr, "cannot open mshtml.tlb: %s\n", qPrintable(opened.error));
        return 1;
    }
    Frame frame;
    const tli::TypeLibInfo& lib = *opened.lib;
    frame.source = doctest::sourceOf(lib);
    DocExporter exporter(frame, folder.path(), &prototest::machine().app());
    const std::pair<const char*, std::function<void()>> runs[] = {
        {"rtf_export_ms", [&] { exporter.exportDocument(DocExporter::Format::RichText); }},
        {"html_export_ms", [&] { exporter.exportDocument(DocExporter::Format::Html); }},
        {"xml_export_ms", [&] { exporter.exportDocument(DocExporter::Format::Xml); }},
        {"names_export_ms", [&] { exporter.exportMemberNames(); }},
        {"constants_export_ms", [&] { exporter.exportConstants(ScriptDialect::VBScript); }},
    };
    for (const auto& [name, run] : runs) {
        const double ms = medianMs(run);
        if (!frame.last.startsWith(QStringLiteral("Writing "))) {
            std::fprintf(stderr, "%s: %s\n", name, qPrintable(frame.last));
            return 1;
        }
        std::printf("FIGURE %s %.1f ms\n", name, ms);
    }
    return 0;
}
