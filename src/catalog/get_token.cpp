#include "catalog/get_token.h"

#include "text/error.h"
#include "text/string_helpers.h"

namespace vantor {
namespace {

// 1-based search from position `start`, 0 when absent, like the runtime's InStr.
qsizetype inStr(qsizetype start, QStringView text, QStringView find) {
    if (start > text.size())
        return 0;
    const qsizetype hit = text.indexOf(find, start - 1);
    return hit < 0 ? 0 : hit + 1;
}

// 1-based substring; an empty result past the end.
QStringView mid(QStringView text, qsizetype start, qsizetype length) {
    if (start > text.size())
        return {};
    return text.sliced(start - 1).first(std::min(length, text.size() - start + 1));
}

[[noreturn]] void noSuchField(int nCol) {
    throw Error(Error::InvalidCall, QStringLiteral("GetToken"),
                QStringLiteral("The line has no field %1").arg(nCol));
}

} // namespace

QStringView GetTokenView(int nCol, QStringView sLine) {
    qsizetype s = 1;
    qsizetype e = 1;
    for (int k = 1; k <= nCol; ++k) {
        if (s + 1 <= sLine.size() && sLine[s] == u'"')
            e = inStr(s, sLine, u"\",") + 1;
        else
            e = inStr(s, sLine, u",");
        if (k < nCol)
            s = e + 1;
    }
    if (nCol == 5)
        return mid(sLine, s + 1, sLine.size());
    if (nCol == 1) {
        if (e - s < 0)
            noSuchField(nCol);
        return TrimSpacesView(sLine.first(std::min(e - s, sLine.size())));
    }
    if (e - s - 1 < 0)
        noSuchField(nCol);
    return TrimSpacesView(mid(sLine, s + 1, e - s - 1));
}

QString GetToken(int nCol, QStringView sLine) {
    return GetTokenView(nCol, sLine).toString();
}

QString GetTokenOrEmpty(int nCol, QStringView sLine) {
    try {
        return GetToken(nCol, sLine);
    } catch (const Error&) {
        return QString();
    }
}

} // namespace vantor
