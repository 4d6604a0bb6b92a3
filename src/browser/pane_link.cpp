#include "browser/pane_link.h"

namespace vantor {

PaneLink readPaneLink(const QString& linkText) {
    const QString text = linkText.mid(5).trimmed();
    const qsizetype bar = text.indexOf(u'|');
    if (bar < 0)
        return {};
    const QString tail = text.mid(bar + 1);
    if (tail.startsWith(u'{'))
        return {PaneLink::Kind::External, QStringLiteral("progid4:") + tail, -1};
    bool ok = false;
    const qint32 number = tail.chopped(tail.isEmpty() ? 0 : 1).trimmed().toInt(&ok);
    if (!ok)
        return {};
    return {PaneLink::Kind::InLibrary, QString(), number};
}

std::optional<qint32> rowForTypeInfo(const QList<TypeInfoRow>& rows, qint32 typeInfo) {
    const qint32 first = !rows.isEmpty() && rows[0].number == -1 ? 1 : 0;
    for (qint32 row = first; row < rows.size(); ++row) {
        const TypeInfoRow& r = rows[row];
        if (r.number - 1 == typeInfo || (r.coclass && r.defaultInterface == typeInfo))
            return row;
    }
    return std::nullopt;
}

} // namespace vantor
