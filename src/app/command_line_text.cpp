#include "app/command_line_text.h"

namespace vantor {

namespace {

const QLatin1String kSwitch("/progidurl:");
const QLatin1String kScheme("progid4:");

} // namespace

QString rewriteCommandLine(const QString& argument) {
    const QString text =
        argument.startsWith(kScheme, Qt::CaseInsensitive) ? kSwitch + argument : argument;
    const qsizetype at = text.indexOf(kSwitch, 0, Qt::CaseInsensitive);
    if (at < 0)
        return text;
    return text.left(at) + text.mid(at + kSwitch.size() + kScheme.size());
}

std::optional<GuidArgument> guidArgument(const QString& commandLine) {
    if (!commandLine.startsWith(u'{'))
        return std::nullopt;
    const qsizetype dot = commandLine.lastIndexOf(u'.');
    if (dot < 0)
        return std::nullopt;
    QString key = commandLine.left(dot);
    key.replace(u':', QLatin1String(", "));
    return GuidArgument{key, commandLine.mid(dot + 1)};
}

} // namespace vantor
