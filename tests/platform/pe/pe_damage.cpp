#include "pe_damage.h"

#include "pe_test_support.h"

#include <QFile>
#include <algorithm>
#include <random>

namespace vantor::pe::testing {

namespace {

struct Region {
    qsizetype from, to;
};

// The bytes a resource reader reads: the headers, the resource tree, the resources' own bytes.
QList<Region> readRegions(const QByteArray& bytes) {
    QList<Region> regions{{0, std::min<qsizetype>(bytes.size(), 1024)}};
    PeResources pe(bytes);
    const qsizetype tree = pe.resourceDirectoryOffset();
    qsizetype firstData = bytes.size();
    for (const ResourceEntry& e : pe.entries()) {
        const qsizetype at = e.data.data() - bytes.data();
        firstData = std::min(firstData, at);
        const bool wanted = e.type.matches(QStringLiteral("TYPELIB")) ||
                            e.type.matches(RtVersion) || e.type.matches(RtGroupIcon);
        if (wanted && !e.data.isEmpty())
            regions.append({at, at + std::min<qsizetype>(e.data.size(), 4096)});
    }
    if (tree >= 0 && firstData > tree)
        regions.append({tree, firstData});
    return regions;
}

void record(const QString& error, const QString& what, DamageReport& report) {
    ++report.reads;
    if (error.isEmpty())
        return;
    ++report.errors;
    if (!error.startsWith(u"sample: "))
        report.unclearErrors.append(what + QStringLiteral(": ") + error);
}

} // namespace

QStringList damageSample() {
    QStringList files;
    QFile index(QStringLiteral(VANTOR_TESTDATA_DIR "/oracle/INDEX.tsv"));
    if (index.open(QIODevice::ReadOnly)) {
        index.readLine();
        while (!index.atEnd()) {
            const QString file =
                kWineDir + u'/' + QString::fromUtf8(index.readLine().split('\t')[0]);
            if (!files.contains(file))
                files.append(file);
        }
    }
    files << kWineDir + QStringLiteral("/winemine.exe") << kWineDir + QStringLiteral("/notepad.exe")
          << kWine32Dir + QStringLiteral("/zlib1.dll");
    return files;
}

DamageReport damageFile(const QString& path, int truncations, int corruptions, quint32 seed) {
    DamageReport report;
    QByteArray bytes = readFile(path);
    const QString intact = bytes.isEmpty() ? QStringLiteral("unreadable") : readEverything(bytes);
    if (!intact.isEmpty()) {
        report.unclearErrors.append(path + QStringLiteral(" intact: ") + intact);
        return report;
    }
    for (int step = 0; step < truncations; ++step) {
        const qsizetype length = bytes.size() * step / truncations;
        record(readEverything(QByteArrayView(bytes).first(length)),
               path + QStringLiteral(" cut at %1").arg(length), report);
    }
    std::mt19937 random(seed);
    const QList<Region> regions = readRegions(bytes);
    for (int n = 0; n < corruptions; ++n) {
        const Region r = regions[random() % regions.size()];
        const qsizetype at = r.from + qsizetype(random() % quint64(r.to - r.from));
        const char original = bytes[at];
        bytes[at] = char(original ^ char(1 + random() % 255));
        record(readEverything(bytes), path + QStringLiteral(" byte %1").arg(at), report);
        bytes[at] = original;
    }
    return report;
}

} // namespace vantor::pe::testing
