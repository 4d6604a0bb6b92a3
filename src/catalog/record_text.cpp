#include "catalog/record_text.h"

#include "text/string_helpers.h"

namespace vantor {

QString cleanPath(QString path) {
    while (path.endsWith(u' '))
        path.chop(1);
    if (path.endsWith(QChar(0)))
        path.chop(1);
    return TrimSpaces(path).isEmpty() ? QString() : path;
}

bool blankControls(QString& text) {
    bool found = false;
    for (QChar& c : text) {
        if (c.unicode() < 32) {
            c = u' ';
            found = true;
        }
    }
    return found;
}

QString quotedIfComma(const QString& text) {
    return text.contains(u',') ? u'"' + text + u'"' : text;
}

void logFault(QString& log, const QString& key, const Error& error) {
    if (error.number() == Error::InvalidCall)
        return;
    log += QStringLiteral("Fault, no recovery: at key=%1 err=%2 desc=%3\r\n")
               .arg(key)
               .arg(error.number())
               .arg(error.description());
}

} // namespace vantor
