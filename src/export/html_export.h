#pragma once

#include "export/doc_head.h"
#include "export/doc_source.h"

namespace vantor {

class ProtoMemberFrame;

struct HtmlDocument {
    QString text;
    qint32 lines = 0; // the lines the RTF document of the same rows has
};

// One self-contained HTML5 page: the library's head, a table of contents by kind, and a
// section per visited row with every member's declaration in the document form. Type names of
// the page link to their sections, types of other libraries are "progid4:" links.
HtmlDocument htmlDocument(const DocSource& source, const DocHead& head, bool groupByKind,
                          ProtoMemberFrame& frame);

} // namespace vantor
