#pragma once

#include "export/doc_source.h"

#include <QStringList>

namespace vantor {

class ProtoMemberFrame;

// A document's lines, without line ends, and the sum over them of each line's length + 2 (the
// CR LF that follows it).
struct DocLines {
    QStringList lines;
    qint32 total = 0;
};

// The lines of the visited rows: in docmode::MemberNames each member's name; otherwise each
// member's prototype in the document form, after two header lines for a row that designates a
// type info (its kind keyword and caption, its help string).
DocLines BuildDocLines(const DocSource& source, qint32 mode, bool groupByKind,
                       ProtoMemberFrame& frame);

// The number of lines BuildDocLines makes of the rows in a document form.
qint32 docLineCount(const DocSource& source, bool groupByKind);

// A type's help string as the documents show it: up to its first NUL character.
QString documentHelpString(const tli::TypeInfoView& info);

} // namespace vantor
