#include "export/catalog_page.h"

#include "catalog/catalog_lines.h"
#include "catalog/get_token.h"
#include "text/error.h"
#include "text/string_helpers.h"

namespace vantor {

namespace {

const QLatin1StringView
    kHead("<html><head><meta HTTP-EQUIV='Content-Type' CONTENT='text/html; charset=windows-1252'>"
          "<title>WSH Objects</title><meta NAME='GENERATOR' CONTENT='Vantor'>"
          "<meta NAME='author' CONTENT='Vantor'></head><body><div align='left'>"
          "<table border='1' cellspacing='0' width='90%'><tr>");
const QLatin1StringView kTail("</tr></table></div></body></html>");
// A row is left out when it would leave less than this room behind it.
constexpr qsizetype kRowMargin = 100;

void appendEscaped(QString& out, QStringView text) {
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'&' && c != u'<' && c != u'>')
            continue;
        out += text.sliced(from, i - from);
        out += c == u'&'   ? QLatin1StringView("&amp;")
               : c == u'<' ? QLatin1StringView("&lt;")
                           : QLatin1StringView("&gt;");
        from = i + 1;
    }
    out += text.sliced(from);
}

void appendRow(QString& out, QStringView record) {
    out += QLatin1StringView("</tr><tr>");
    for (int column = 1; column <= 5; ++column) {
        const QStringView value = GetTokenView(column, record);
        out += QLatin1StringView("<td nowrap>");
        if (TrimSpacesView(value).isEmpty())
            out += QLatin1StringView("&nbsp;");
        else
            appendEscaped(out, value);
        out += QLatin1StringView("</td>");
    }
}

} // namespace

qsizetype catalogPageBufferSize(qsizetype upperBound) {
    return upperBound > 1550 ? upperBound * 220 + 50000 : 350000;
}

CatalogPage buildCatalogPage(const QStringList& defs, const QString& kind) {
    CatalogPage page;
    page.records = static_cast<qint32>(std::max<qsizetype>(defs.size() - 1, 0));
    const qsizetype size = catalogPageBufferSize(page.records);
    QString& out = page.html;
    out.reserve(size);
    out += kHead;
    const QString header =
        QString::fromLatin1(kind == QLatin1String("TL") ? kTypeLibHeader : kProgIdHeader);
    for (int column = 1; column <= 5; ++column) {
        out += QLatin1StringView("<td bgcolor='#C0C0C0'><big>");
        out += GetTokenView(column, header);
        out += QLatin1StringView("</big></td>");
    }
    for (qint32 j = 0; j < page.records; ++j) {
        const qsizetype mark = out.size();
        try {
            appendRow(out, defs[j]);
        } catch (const Error& e) {
            out.truncate(mark);
            page.failure = e.description();
            page.failedAt = j;
            break;
        }
        // Escaping can make a row longer than the room the buffer's rule leaves for it: a row
        // that would not fit together with the tail is left out rather than cut.
        if (out.size() + kTail.size() > size) {
            out.truncate(mark);
            break;
        }
        ++page.rows;
        if (out.size() + 1 + kRowMargin > size)
            break;
    }
    out += kTail;
    return page;
}

} // namespace vantor
