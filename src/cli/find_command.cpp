// find TEXT: every type, member and constant of the machine's libraries whose name or help text
// matches, from the symbol index the window's "Anywhere" search reads.
#include "cli/cli_command.h"
#include "cli/cli_machine.h"
#include "search/symbol_index.h"
#include "text/error.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <algorithm>
#include <cstdio>

namespace vantor::cli {

namespace {

// The most hits listed, as the search window; the full count follows when there are more.
constexpr int kListed = 500;
// An update that runs longer than this shows its progress on stderr, at most this often.
constexpr qint64 kProgressMs = 1000;

const char* kindName(SymbolKind kind) {
    switch (kind) {
    case SymbolKind::Type:
        return "type";
    case SymbolKind::Member:
        return "member";
    case SymbolKind::Constant:
        return "constant";
    }
    return "";
}

const char* matchName(int match) {
    switch (match) {
    case match::Exact:
        return "exact";
    case match::Prefix:
        return "prefix";
    case match::Substring:
        return "substring";
    default:
        return "help-text";
    }
}

int matchKinds(CliArgs& args) {
    const std::pair<const char*, int> options[] = {{"--exact", match::Exact},
                                                   {"--prefix", match::Prefix},
                                                   {"--substring", match::Substring},
                                                   {"--help-text", match::HelpWords}};
    int kinds = 0;
    for (const auto& [option, kind] : options)
        if (args.takeFlag(QLatin1String(option)))
            kinds |= kind;
    return kinds ? kinds : match::All;
}

// "--kind types,constants"; every kind without it.
int entryKinds(CliArgs& args) {
    const QString value = args.takeValue(QStringLiteral("--kind"));
    if (value.isEmpty())
        return kinds::All;
    int filter = 0;
    for (const QString& name : value.split(u',')) {
        if (name == QLatin1String("types"))
            filter |= kinds::Types;
        else if (name == QLatin1String("members"))
            filter |= kinds::Members;
        else if (name == QLatin1String("constants"))
            filter |= kinds::Constants;
        else
            throw UsageError(QStringLiteral("unknown kind ") + name);
    }
    return filter;
}

// The machine's index, brought in line with its catalog; a damaged file is put aside and built
// anew, as the window does.
void openIndex(CliMachine& m, SymbolIndex& index) {
    const QStringList& records = m.catalogs().TLDefs();
    const QString file = m.indexFile();
    if (!QFileInfo::exists(file))
        std::fprintf(stderr, "vantor-cli: building the symbol index of this machine in %s\n",
                     qPrintable(file));
    index.open(file);
    if (!index.putAside().isEmpty())
        std::fprintf(stderr,
                     "vantor-cli: the symbol index was damaged; it is rebuilt (the old "
                     "file is %s)\n",
                     qPrintable(index.putAside()));
    QElapsedTimer clock;
    clock.start();
    qint64 shown = 0;
    const auto progress = [&](int done, int total) {
        if (clock.elapsed() - shown < kProgressMs)
            return;
        shown = clock.elapsed();
        std::fprintf(stderr, "vantor-cli: indexing %d of %d libraries ...\n", done, total);
    };
    const auto hostPath = [&m](const QString& path) { return m.hostPath(path); };
    try {
        index.update(records, hostPath, progress);
    } catch (const Error&) {
        if (!index.damaged())
            throw;
        index.rebuild();
        index.update(records, hostPath, progress);
    }
}

QString version(const SymbolHit& hit) {
    return hit.library + QStringLiteral(" %1.%2").arg(hit.major).arg(hit.minor);
}

// The hits as columns: kind, name, type, library and version, value.
QString columns(const QList<SymbolHit>& hits) {
    QList<QStringList> rows;
    for (const SymbolHit& hit : hits) {
        const SymbolEntry& e = hit.entry;
        rows.append({QLatin1String(kindName(e.kind)), e.name,
                     e.kind == SymbolKind::Type ? QString() : e.typeName, version(hit), e.value});
    }
    qsizetype widths[4] = {};
    for (const QStringList& row : rows)
        for (int c = 0; c < 4; ++c)
            widths[c] = std::max(widths[c], row[c].size());
    QString out;
    for (const QStringList& row : rows) {
        QString line;
        for (int c = 0; c < 4; ++c)
            line += row[c].leftJustified(widths[c] + 2);
        out += (line + row[4]).trimmed() + u'\n';
    }
    return out;
}

int find(CliContext& c) {
    const int matches = matchKinds(c.args);
    const int filter = entryKinds(c.args);
    const bool showHidden = c.args.takeFlag(QStringLiteral("--show-hidden"));
    const QString text = c.args.positional(1, 1).first();
    SymbolIndex index;
    openIndex(c.machine(), index);
    const SymbolResults results = index.query(text, matches, filter, showHidden, kListed);
    if (c.json) {
        QJsonArray list;
        for (const SymbolHit& hit : results.hits)
            list.append(
                QJsonObject{{"kind", kindName(hit.entry.kind)},
                            {"name", hit.entry.name},
                            {"type", hit.entry.typeName},
                            {"library", hit.library},
                            {"version", QStringLiteral("%1.%2").arg(hit.major).arg(hit.minor)},
                            {"value", hit.entry.value},
                            {"help", hit.entry.help},
                            {"match", matchName(hit.match)},
                            {"hidden", hit.entry.hidden},
                            {"path", hit.path}});
        writeJson({{"total", results.total}, {"symbols", list}});
    } else {
        QString out = columns(results.hits);
        if (results.total > results.hits.size())
            out += QString::number(results.total) + QStringLiteral(" Symbols Found, the first ") +
                   QString::number(results.hits.size()) + QStringLiteral(" listed\n");
        writeText(out);
    }
    return results.total == 0 ? NothingOrDifferent : Done;
}

const Command kFind{
    "find",
    "find TEXT [--exact|--prefix|--substring|--help-text] [--kind KINDS] [--show-hidden]",
    "types, members and constants of every library by name",
    "Finds TEXT in the names of every type, member and constant of the machine's libraries\n"
    "(ignoring case), and as words in their help strings: exact names first, then names that\n"
    "start with TEXT, names that contain it, help strings with its words. The match options\n"
    "keep only those kinds of match (several may be given). --kind types, members or constants\n"
    "(or several, separated by commas) keeps only those entries; hidden and restricted ones are\n"
    "listed only with --show-hidden. At most 500 are listed, then the full count.\n"
    "The index is the window's (index/MACHINE.sqlite beside the machine's catalogs), built or\n"
    "brought up to date first.\n"
    "Columns: kind, name, type, library and version, value.\n"
    "JSON: {\"total\": N, \"symbols\": [{kind, name, type, library, version, value, help, match,\n"
    "hidden, path}]}.\n",
    true,
    find};
const CommandRegistration kRegister{kFind};

} // namespace

} // namespace vantor::cli
