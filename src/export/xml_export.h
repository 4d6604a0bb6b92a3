#pragma once

#include "export/doc_head.h"
#include "export/doc_source.h"

namespace vantor {

// The schema version the documents declare (docs/vantor-library.xsd).
inline constexpr int kLibraryXmlVersion = 1;

// The library as XML in the namespace urn:vantor:library:1: every type info (the visited rows'
// first, in their order, then the rest in library order) with its members as stored, hidden
// and restricted ones included with their flags.
QString xmlDocument(const DocSource& source, const DocHead& head, bool groupByKind);

} // namespace vantor
