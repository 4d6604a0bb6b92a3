#include "export/doc_lines.h"

#include "browser/proto_member.h"
#include "browser/rtf_text.h"

namespace vantor {

QString documentHelpString(const tli::TypeInfoView& info) {
    QString help = info.helpString(0);
    if (const qsizetype nul = help.indexOf(QChar(u'\0')); nul >= 0)
        help.truncate(nul);
    return help;
}

qint32 docLineCount(const DocSource& source, bool groupByKind) {
    qint32 count = 0;
    for (const qint32 row : visitedRows(source, groupByKind))
        count += qint32(source.library->members(source.rows[row].itemData).size()) +
                 (rowTypeInfo(source, row) ? 2 : 0);
    return count;
}

DocLines BuildDocLines(const DocSource& source, qint32 mode, bool groupByKind,
                       ProtoMemberFrame& frame) {
    DocLines out;
    const auto add = [&out](QString line) {
        out.total += qint32(line.size()) + 2;
        out.lines.append(std::move(line));
    };
    const tli::TypeLibInfo& library = *source.library;
    for (const qint32 row : visitedRows(source, groupByKind)) {
        const qint32 searchData = source.rows[row].itemData;
        const QList<tli::MemberView> members = library.members(searchData);
        if (mode != docmode::MemberNames) {
            if (const std::optional<tli::TypeInfoView> info = rowTypeInfo(source, row)) {
                // Escaped, unlike the captions the window shows: a brace in a help string would
                // otherwise unbalance the whole document.
                add(QStringLiteral("\\par\\f3\\fs22 ") + info->kindKeyword() +
                    QStringLiteral(" \\b ") + RtfEscape(source.rows[row].text) +
                    QStringLiteral("\\b0\\par"));
                add(QStringLiteral("\\f0\\fs16\\tab ") + RtfEscape(documentHelpString(*info)) +
                    QStringLiteral("\\par\\f0\\fs18"));
            }
        }
        for (const tli::MemberView& member : members) {
            if (mode == docmode::MemberNames)
                add(member.name());
            else
                add(ProtoMemberOf(library, member, searchData, member.invokeKind(), mode, frame));
        }
    }
    return out;
}

} // namespace vantor
