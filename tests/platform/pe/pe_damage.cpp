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

QMap<QString, QList<quint16>> indexedTypelibs() {
    QMap<QString, QList<quint16>> index;
    QFile f(QStringLiteral(VANTOR_TESTDATA_DIR "/oracle/INDEX.tsv"));
    if (f.open(QIODevice::ReadOnly) && !f.readLine().isEmpty()) {
        while (!f.atEnd()) {
            const QList<QByteArray> cols = f.readLine().trimmed().split('\t');
            if (cols.size() > 2)
                index[QString::fromUtf8(cols[0])].append(cols[1].toUShort());
        }
    }
    for (auto& ids : index)
        std::sort(ids.begin(), ids.end());
    return index;
}

QStringList damageSample() {
    QStringList files;
    for (const QString& name : indexedTypelibs().keys())
        files.append(kWineDir + u'/' + name);
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
