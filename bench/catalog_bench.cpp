// Catalog load, sort and lookup at the largest size a catalog has on a real machine.
#include "catalog/bin_search.h"
#include "catalog/catalog_lines.h"
#include "catalog/catalogs.h"
#include "catalog/sort_strings.h"
#include "text/text_order.h"
#include "text/win1252.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

using namespace vantor;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRecords = 32766;
constexpr int kRuns = 5;

std::mt19937 rng(42);

QString guid() {
    return QStringLiteral("{%1-%2-%3-%4-%5%6}")
        .arg(rng(), 8, 16, QLatin1Char('0'))
        .arg(rng() & 0xFFFF, 4, 16, QLatin1Char('0'))
        .arg(rng() & 0xFFFF, 4, 16, QLatin1Char('0'))
        .arg(rng() & 0xFFFF, 4, 16, QLatin1Char('0'))
        .arg(rng() & 0xFFFF, 4, 16, QLatin1Char('0'))
        .arg(rng(), 8, 16, QLatin1Char('0'))
        .toUpper();
}

QString word() {
    static const char* words[] = {"Microsoft", "Object", "Library", "Type", "Control",
                                  "Runtime",   "Shell",  "Script",  "Data", "Access",
                                  "Windows",   "Media",  "Player",  "Web",  "Services"};
    return QString::fromLatin1(words[rng() % std::size(words)]);
}

// 20 to 80 characters; one in eight has a comma and is written quoted.
QString helpString() {
    QString text = word();
    const int target = 20 + int(rng() % 61);
    const bool comma = rng() % 8 == 0;
    while (text.size() < target)
        text += (comma && text.size() > 10 && !text.contains(u',') ? QStringLiteral(", ")
                                                                   : QStringLiteral(" ")) +
                word();
    text.truncate(target);
    return text.contains(u',') ? u'"' + text + u'"' : text;
}

QString windowsPath() {
    return QStringLiteral("C:\\Windows\\System32\\%1%2.%3")
        .arg(word().toLower())
        .arg(rng() % 1000)
        .arg(rng() % 3 ? QStringLiteral("dll") : QStringLiteral("ocx"));
}

QByteArray catalogFile(const char* header, QStringList records) {
    std::sort(records.begin(), records.end(),
              [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
    QString text = QString::fromLatin1(header) + QStringLiteral("\r\n");
    for (const QString& r : records)
        text += r + QStringLiteral("\r\n");
    return win1252::encode(text);
}

QStringList typeLibRecords() {
    QStringList out;
    while (out.size() < kRecords) {
        const QString g = guid();
        const int versions = 1 + int(rng() % 3);
        for (int v = 0; v < versions && out.size() < kRecords; ++v)
            out.append(QStringLiteral("%1, %2.%3, %4, %5, LibName")
                           .arg(g)
                           .arg(1 + v)
                           .arg(rng() % 17)
                           .arg(helpString(), windowsPath()));
    }
    return out;
}

QStringList progIdRecords() {
    QStringList out;
    while (out.size() < kRecords) {
        const QString vendor = word() + word();
        const QString clsid = guid();
        out.append(QStringLiteral("%1.%2.%3, %4, %5, %6, %7")
                       .arg(vendor, word())
                       .arg(out.size())
                       .arg(clsid, helpString(), windowsPath(), guid()));
    }
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main() {
    QTemporaryDir dir;
    writeFile(dir.filePath("dbTypes.dat"), catalogFile(kTypeLibHeader, typeLibRecords()));
    writeFile(dir.filePath("dbPID.dat"), catalogFile(kProgIdHeader, progIdRecords()));

    CatalogFrame frame;
    double loadMs = 1e9;
    QStringList defs;
    for (int run = 0; run < kRuns; ++run) {
        Catalogs catalogs(dir.path(), frame);
        const auto start = Clock::now();
        catalogs.LoadDefs(1);
        loadMs = std::min(loadMs, ms(Clock::now() - start));
        if (catalogs.TLDefs().size() != kRecords + 1 || catalogs.PIDDefs().size() != kRecords + 1) {
            std::fprintf(stderr, "catalog load lost records\n");
            return 1;
        }
        defs = catalogs.TLDefs();
    }

    // Registry key names as the builders sort them: GUIDs and ProgIDs, shuffled.
    QStringList keys;
    for (int i = 0; i < kRecords; ++i)
        keys.append(i % 2 ? guid() : word() + u'.' + word() + QString::number(i));
    double sortMs = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        QStringList work = keys;
        std::shuffle(work.begin(), work.end(), rng);
        const auto start = Clock::now();
        SortStrings(work);
        sortMs = std::min(sortMs, ms(Clock::now() - start));
    }

    constexpr int kLookups = 100000;
    QStringList probes;
    for (int i = 0; i < kLookups; ++i) {
        const QString& record = defs[rng() % kRecords];
        probes.append(i % 4 ? record.left(38).toLower() : record.left(38 + 5));
    }
    int found = 0;
    const auto start = Clock::now();
    for (const QString& key : probes) {
        qint32 index = 0;
        found += BinSearch(defs, key, index);
    }
    const double lookupNs = ms(Clock::now() - start) * 1e6 / kLookups;
    if (found != kLookups) {
        std::fprintf(stderr, "lookups missed: %d of %d found\n", found, kLookups);
        return 1;
    }

    std::printf("FIGURE catalog_load_ms %.2f ms\n", loadMs);
    std::printf("FIGURE sortstrings_ms %.2f ms\n", sortMs);
    std::printf("FIGURE binsearch_ns %.1f ns\n", lookupNs);
    return 0;
}
