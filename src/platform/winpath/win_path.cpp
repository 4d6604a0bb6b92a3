#include "platform/winpath/win_path.h"

#include "text/text_order.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace vantor::winpath {

namespace {

QStringView stripped(QStringView path) {
    path = path.trimmed();
    if (path.size() >= 2 && path.front() == u'"' && path.back() == u'"')
        path = path.sliced(1, path.size() - 2).trimmed();
    if (path.startsWith(u"\\\\?\\"))
        path = path.sliced(4);
    return path;
}

bool isSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

// The entry of `dir` called `name`: the exact spelling when it exists, else any entry whose
// name matches ignoring case, else `name` itself.
QString matchEntry(const QString& dir, const QString& name) {
    if (QFileInfo::exists(dir + u'/' + name))
        return name;
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (equalsText(entry, name))
            return entry;
    }
    return name;
}

} // namespace

ResourcePath splitResource(QStringView path) {
    path = stripped(path);
    qsizetype i = path.size();
    while (i > 0 && path[i - 1].isDigit() && path[i - 1].unicode() < 0x80)
        --i;
    if (i < path.size() && i > 1 && path[i - 1] == u'\\' && path.size() - i <= 9)
        return {path.first(i - 1).toString(), path.sliced(i).toInt()};
    return {path.toString(), 0};
}

PrefixPaths::PrefixPaths(QString prefix, QString systemRoot)
    : prefix_(std::move(prefix)), systemRoot_(std::move(systemRoot)) {}

QString PrefixPaths::toHost(QStringView windowsPath) const {
    const QStringView path = stripped(windowsPath);
    if (path.startsWith(u'/'))
        return QDir::cleanPath(path.toString());
    if (path.size() < 2 || path[1] != u':' || !path[0].isLetter() || prefix_.isEmpty())
        return {};
    const QString link = prefix_ + QStringLiteral("/dosdevices/") + path[0].toLower() + u':';
    QString dir = QFileInfo(link).canonicalFilePath();
    if (dir.isEmpty())
        return {};
    QStringList parts;
    qsizetype start = 2;
    while (start <= path.size()) {
        qsizetype end = start;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        const QStringView part = path.sliced(start, end - start);
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (!part.isEmpty() && part != u".") {
            parts << part.toString();
        }
        start = end + 1;
    }
    for (const QString& part : parts) {
        const QString entry = matchEntry(dir, part);
        dir = dir == u'/' ? u'/' + entry : dir + u'/' + entry;
    }
    return dir;
}

QString PrefixPaths::toWindows(const QString& hostPath) const {
    const QFileInfo file(hostPath);
    // The folder is followed through links, the file is not: a link in system32 stays there.
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return {};
    QString drive;
    QString root;
    const QDir devices(prefix_ + QStringLiteral("/dosdevices"));
    for (const QString& name : devices.entryList(QDir::AllEntries | QDir::System)) {
        if (name.size() != 2 || name[1] != u':' || !name[0].isLetter())
            continue;
        const QString target = QFileInfo(devices.filePath(name)).canonicalFilePath();
        const bool inside = folder == target || target == u'/' || folder.startsWith(target + u'/');
        if (!target.isEmpty() && inside && target.size() > root.size()) {
            drive = name.toUpper();
            root = target;
        }
    }
    if (drive.isEmpty())
        return {};
    QString rest = (folder + u'/' + file.fileName()).mid(root == u'/' ? 0 : root.size());
    rest.replace(u'/', u'\\');
    return drive + rest;
}

} // namespace vantor::winpath
