#pragma once

#include <QString>
#include <QStringList>

namespace vantor {

// A definitions catalog as one HTML table page, built in one buffer of a size fixed before the
// page is built.
struct CatalogPage {
    QString html;
    qint32 rows = 0;    // record rows in the table
    qint32 records = 0; // records of the catalog
    // A record whose fields cannot be read stops the page: the error's text and the index of the
    // row being written.
    QString failure;
    qint32 failedAt = -1;
    bool complete() const { return failure.isEmpty() && rows == records; }
};

// The buffer for a catalog whose records end at `upperBound` (its trailing empty element).
qsizetype catalogPageBufferSize(qsizetype upperBound);

// `defs`: TLDefs or PIDDefs (records, then one empty element); `kind` "TL" names the type
// library columns, anything else the ProgID columns. Values are HTML-escaped (&, <, >) so that
// registry text cannot add markup or script; empty ones become "&nbsp;". Rows that would not fit
// the buffer are left out.
CatalogPage buildCatalogPage(const QStringList& defs, const QString& kind);

} // namespace vantor
