#include "cli/library_argument.h"

#include "catalog/type_lib_record.h"
#include "cli/cli_machine.h"
#include "text/error.h"
#include "text/text_order.h"
#include "tli/type_lib_file.h"
#include "tli/type_lib_info.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <functional>

namespace vantor::cli {

namespace {

using Records = QList<qint32>;
using Match = std::function<bool(const TypeLibRecord&)>;

Records matching(const QStringList& defs, const Match& match) {
    Records found;
    for (qint32 i = 0; i + 1 < defs.size(); ++i)
        if (match(TypeLibRecord::parse(defs[i])))
            found.append(i);
    return found;
}

// The file part of a catalog path: its last component, with the resource number kept
// ("vbscript.dll\3").
QString fileName(const QString& path) {
    const QString file = tli::splitLibraryPath(path).file;
    const QString name = file.mid(file.lastIndexOf(u'\\') + 1);
    return name + path.mid(file.size());
}

QString canonicalFile(const QString& host) {
    return QFileInfo(tli::splitLibraryPath(host).file).canonicalFilePath();
}

Records byPath(CliMachine& machine, const QStringList& defs, const QString& argument) {
    Records found =
        matching(defs, [&](const TypeLibRecord& r) { return equalsText(r.path, argument); });
    if (!found.isEmpty())
        return found;
    const QString host = machine.hostPath(argument);
    const QString canonical = host.isEmpty() ? QString() : canonicalFile(host);
    if (!canonical.isEmpty()) {
        // A resource number given names that resource; without one, every resource of the file.
        const QString resource = host.mid(tli::splitLibraryPath(host).file.size());
        found = matching(defs, [&](const TypeLibRecord& r) {
            const QString recordHost = machine.hostPath(r.path);
            return !recordHost.isEmpty() && canonicalFile(recordHost) == canonical &&
                   (resource.isEmpty() || recordHost.endsWith(resource));
        });
        if (!found.isEmpty())
            return found;
    }
    return matching(defs,
                    [&](const TypeLibRecord& r) { return equalsText(fileName(r.path), argument); });
}

// Catalogs name a library only when they were built with library names; otherwise each
// library is asked.
Records byName(CliMachine& machine, const QStringList& defs, const QString& argument) {
    Records found =
        matching(defs, [&](const TypeLibRecord& r) { return equalsText(r.libName, argument); });
    if (!found.isEmpty())
        return found;
    return matching(defs, [&](const TypeLibRecord& r) {
        try {
            return equalsText(machine.application().typeLibInfoFromFile(r.path)->name(), argument);
        } catch (const Error&) {
            return false; // a library that cannot be read names nothing
        }
    });
}

} // namespace

qint32 catalogRecord(CliMachine& machine, const QString& argument) {
    const QStringList& defs = machine.catalogs().TLDefs();
    static const QRegularExpression guidForm(
        QStringLiteral("^(\\{[0-9A-Fa-f-]{36}\\})(?::(\\d+\\.\\d+))?$"));
    Records found;
    if (const QRegularExpressionMatch m = guidForm.match(argument); m.hasMatch()) {
        found = matching(defs, [&](const TypeLibRecord& r) {
            return equalsText(r.guid, m.captured(1)) &&
                   (m.captured(2).isEmpty() || r.version == m.captured(2));
        });
    } else if (!argument.isEmpty()) {
        found = byPath(machine, defs, argument);
        if (found.isEmpty())
            found = byName(machine, defs, argument);
    }
    if (found.isEmpty())
        throw Error(Error::FileNotFound, QStringLiteral("vantor-cli"),
                    QStringLiteral("no library of the catalog is named ") + argument);
    if (found.size() > 1) {
        QString list = argument + QStringLiteral(" names several libraries; name one:");
        for (qint32 i : found) {
            const TypeLibRecord r = TypeLibRecord::parse(defs[i]);
            list +=
                QStringLiteral("\n  ") + r.guid + u':' + r.version + QStringLiteral("  ") + r.path;
        }
        throw Error(Error::InvalidCall, QStringLiteral("vantor-cli"), list);
    }
    return found.first();
}

QString libraryFile(CliMachine& machine, const QString& argument) {
    const QString host = machine.hostPath(argument);
    if (!host.isEmpty() && QFileInfo(tli::splitLibraryPath(host).file).isFile())
        return argument;
    if (argument.startsWith(u'/'))
        throw Error(Error::FileNotFound, QStringLiteral("vantor-cli"),
                    QStringLiteral("no such file: ") + argument);
    return TypeLibRecord::parse(machine.catalogs().TLDefs()[catalogRecord(machine, argument)]).path;
}

} // namespace vantor::cli
