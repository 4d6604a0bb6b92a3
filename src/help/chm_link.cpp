#include "help/chm_link.h"

#include <QFileInfo>
#include <QStringList>
#include <QUrl>

namespace vantor::help {

namespace {

constexpr const char* kFilePrefixes[] = {"ms-its:", "mk:@msitstore:", "its:"};
constexpr const char* kExternalSchemes[] = {"http:", "https:", "mailto:", "ftp:", "news:"};

} // namespace

QString normalisePagePath(const QString& path, const QString& base) {
    QString p = path;
    p.replace(u'\\', u'/');
    if (!p.startsWith(u'/')) {
        QString folder = base;
        folder.replace(u'\\', u'/');
        folder.truncate(folder.lastIndexOf(u'/') + 1);
        p = folder + p;
    }
    QStringList parts;
    for (const QString& part : p.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (part != u".") {
            parts.append(part);
        }
    }
    return parts.isEmpty() ? QString() : u'/' + parts.join(u'/');
}

LinkTarget resolveLink(const QString& href, const QString& base, const QString& file) {
    LinkTarget target;
    QString link = href.trimmed();
    for (const char* scheme : kExternalSchemes) {
        if (link.startsWith(QLatin1String(scheme), Qt::CaseInsensitive)) {
            target.kind = LinkTarget::Kind::External;
            target.url = link;
            return target;
        }
    }
    bool namesFile = false;
    for (const char* prefix : kFilePrefixes) {
        if (link.startsWith(QLatin1String(prefix), Qt::CaseInsensitive)) {
            link.remove(0, qsizetype(qstrlen(prefix)));
            namesFile = true;
            break;
        }
    }
    const qsizetype separator = link.indexOf(QLatin1String("::"));
    if (namesFile && separator < 0)
        return target;
    if (separator >= 0) {
        QString named = QUrl::fromPercentEncoding(link.left(separator).toUtf8());
        named.replace(u'\\', u'/');
        if (QFileInfo(named).fileName().compare(QFileInfo(file).fileName(), Qt::CaseInsensitive) !=
            0) {
            target.kind = LinkTarget::Kind::OtherFile;
            target.url = href;
            return target;
        }
        link = link.mid(separator + 2);
    } else if (link.contains(u':')) {
        // Any other scheme (javascript:, file:, a drive letter) is not followed.
        return target;
    }
    const qsizetype hash = link.indexOf(u'#');
    if (hash >= 0) {
        target.anchor = link.mid(hash + 1);
        link.truncate(hash);
    }
    target.path = link.isEmpty()
                      ? normalisePagePath(base)
                      : normalisePagePath(QUrl::fromPercentEncoding(link.toUtf8()), base);
    target.kind = target.path.isEmpty() ? LinkTarget::Kind::None : LinkTarget::Kind::Page;
    return target;
}

} // namespace vantor::help
