#pragma once

#include <QString>
#include <optional>

namespace vantor {

// CommandLine as the window keeps it: a bare "progid4:" URL (a desktop's "vantor %u") stands for
// "/progidurl:" + the URL, and the "/progidurl:" switch, found in any letter case, is replaced by
// the URL's body: the text before the switch, then everything after the switch and the 8
// characters behind it.
QString rewriteCommandLine(const QString& argument);

// A GUID argument ("{" first) as the catalog key and the type info to select: the text before
// the last "." with every ":" made ", ", and the text after it. nullopt when the argument is not
// a GUID argument or has no ".".
struct GuidArgument {
    QString key;
    QString typeInfo;
};
std::optional<GuidArgument> guidArgument(const QString& commandLine);

} // namespace vantor
