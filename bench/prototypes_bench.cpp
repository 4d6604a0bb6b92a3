// bench-prototypes: formats every member of mshtml.tlb (the largest library) in the screen form,
// as a member click does (member lookup included; and once more with each member already found,
// the formatting alone), and renders each fragment with the pane header into a rich-text
// document. The library is opened through a Wine prefix made of the test hives, so that
// its references into stdole resolve through the registry as in the program.

#include "app/settings_keys.h"
#include "browser/proto_member.h"
#include "browser/rtf_document.h"
#include "browser/rtf_text.h"
#include "platform/registry/store.h"
#include "platform/winpath/win_path.h"
#include "text/error.h"
#include "tli/tli_application.h"
#include "tli/type_lib_info.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vantor;

namespace {

const QString kWineDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");
const QString kHives = QStringLiteral(VANTOR_TESTDATA_DIR "/wine-prefix");

// prefix/{system,user,userdef}.reg -> the test hives; drive C's Windows/System32 -> Wine's
// binaries.
bool makePrefix(const QString& root) {
    QDir dir(root);
    bool ok = dir.mkpath(QStringLiteral("prefix/dosdevices")) &&
              dir.mkpath(QStringLiteral("drive_c/windows")) &&
              dir.mkpath(QStringLiteral("program"));
    for (const char* hive : {"system.reg", "user.reg", "userdef.reg"})
        ok = ok && QFile::link(kHives + u'/' + QLatin1String(hive),
                               root + QStringLiteral("/prefix/") + QLatin1String(hive));
    return ok &&
           QFile::link(root + QStringLiteral("/drive_c"),
                       root + QStringLiteral("/prefix/dosdevices/c:")) &&
           QFile::link(kWineDir, root + QStringLiteral("/drive_c/windows/system32"));
}

class Frame : public ProtoMemberFrame {
public:
    explicit Frame(const tli::TLIApplication& app) : app_(app) {}
    void setHelpContextID(qint32) override {}
    const tli::TLIApplication* application() const override { return &app_; }

private:
    const tli::TLIApplication& app_;
};

struct Row {
    qint32 searchData;
    qint32 invokeKinds;
    QString name;
    tli::MemberView member;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication gui(argc, argv);
    QTemporaryDir tmp;
    if (!tmp.isValid() || !makePrefix(tmp.path())) {
        std::fprintf(stderr, "cannot make the test prefix\n");
        return 1;
    }
    try {
        registry::Store store(
            registry::Machine{registry::Machine::Kind::Prefix, tmp.path() + "/prefix", {}},
            tmp.path() + QStringLiteral("/program"));
        const winpath::PrefixPaths paths(tmp.path() + QStringLiteral("/prefix"),
                                         store.systemRoot());
        const tli::TLIApplication app(&store, &paths);
        const auto lib =
            app.typeLibInfoFromFile(QStringLiteral("C:\\windows\\system32\\mshtml.tlb"));
        lib->setTypeFilter(0, true, true);
        lib->setMemberFilters(0, 0);

        QList<Row> rows;
        for (const tli::ListRow& type : lib->typeInfoRows())
            for (const tli::ListRow& member : lib->memberRows(type.itemData))
                rows.append({type.itemData, member.itemData, member.text,
                             lib->member(type.itemData, member.itemData, -1, member.text)});
        Frame frame(app);
        QList<QString> fragments;
        fragments.reserve(rows.size());
        for (const Row& r : rows) // also the one-time bounds calibration
            fragments.append(ProtoMember(*lib, r.searchData, r.invokeKinds, -1, r.name, 1, frame));

        double bestFormat = 1e300;
        qsizetype chars = 0;
        for (int rep = 0; rep < 5; ++rep) {
            QElapsedTimer t;
            t.start();
            for (const Row& r : rows)
                chars +=
                    ProtoMember(*lib, r.searchData, r.invokeKinds, -1, r.name, 1, frame).size();
            bestFormat = std::min(bestFormat, double(t.nsecsElapsed()) / 1e9);
        }
        // The formatting alone, each member already looked up.
        double bestOf = 1e300;
        for (int rep = 0; rep < 5; ++rep) {
            QElapsedTimer t;
            t.start();
            for (const Row& r : rows)
                chars +=
                    ProtoMemberOf(*lib, r.member, r.searchData, r.invokeKinds, 1, frame).size();
            bestOf = std::min(bestOf, double(t.nsecsElapsed()) / 1e9);
        }

        const QString header = paneRtfHeader(QString::fromLatin1(settings::ClrTbl.defaultValue));
        // Each fragment rendered on its own, with the pane header, as a member click shows it.
        QTextDocument doc;
        std::vector<double> renderUs;
        renderUs.reserve(size_t(fragments.size()));
        renderRtf(header + fragments.front(), doc); // the font database is set up once
        for (const QString& f : fragments) {
            QElapsedTimer t;
            t.start();
            renderRtf(header + f, doc);
            renderUs.push_back(double(t.nsecsElapsed()) / 1e3);
        }
        double totalUs = 0;
        for (double us : renderUs)
            totalUs += us;
        std::sort(renderUs.begin(), renderUs.end());
        const double p99Us = renderUs[renderUs.size() * 99 / 100];

        std::printf("members of mshtml.tlb: %lld (%lld characters per pass)\n", qint64(rows.size()),
                    qint64(chars / 10));
        std::printf("FIGURE proto_members_per_s %.0f members/s\n",
                    double(rows.size()) / bestFormat);
        std::printf("FIGURE proto_format_only_members_per_s %.0f members/s\n",
                    double(rows.size()) / bestOf);
        std::printf("FIGURE render_fragment_us %.1f us\n", totalUs / double(renderUs.size()));
        std::printf("FIGURE render_fragment_p99_us %.1f us\n", p99Us);
        std::printf("FIGURE render_fragment_max_us %.1f us\n", renderUs.back());
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
