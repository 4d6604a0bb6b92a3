#include "help/help_book.h"

#include "help/chm_link.h"
#include "help/chm_text.h"

namespace vantor::help {

HelpBook::HelpBook(QString file, QString readerProgram)
    : reader_(std::move(file), std::move(readerProgram)) {}

QByteArray HelpBook::objectOrEmpty(const QByteArray& name) {
    if (name.isEmpty())
        return {};
    const QString path = normalisePagePath(QString::fromUtf8(name));
    const std::optional<QByteArray> bytes = object(path);
    return bytes ? *bytes : QByteArray();
}

bool HelpBook::open() {
    if (!reader_.open())
        return false;
    const std::optional<QByteArray> system = object(QStringLiteral("/#SYSTEM"));
    if (!system)
        return false;
    if (const std::optional<SystemInfo> info = parseSystem(*system))
        system_ = *info;
    contents_ = parseSitemap(objectOrEmpty(system_.contentsFile), system_.lcid, decodeHelpText);
    index_ = parseSitemap(objectOrEmpty(system_.indexFile), system_.lcid, decodeHelpText);
    for (int i = 0; i < index_.size(); ++i)
        keywords_.insert(index_[i].name.toLower(), i);
    contextMap_ = parseContextMap(objectOrEmpty("#IVB"), objectOrEmpty("#STRINGS"));
    return !reader_.broken();
}

QString HelpBook::defaultPage() const {
    if (!system_.defaultTopic.isEmpty())
        return normalisePagePath(text(system_.defaultTopic));
    for (const SitemapEntry& e : contents_)
        if (!e.locals.isEmpty())
            return normalisePagePath(e.locals.first());
    return {};
}

std::optional<HelpBook::KeywordHit> HelpBook::findKeyword(const QString& keywords) const {
    for (const QString& k : keywords.split(u';', Qt::SkipEmptyParts)) {
        const auto it = keywords_.constFind(k.trimmed().toLower());
        if (it != keywords_.constEnd())
            return KeywordHit{k.trimmed(), *it};
    }
    return std::nullopt;
}

std::optional<QString> HelpBook::contextPage(qint32 context) {
    const auto it = contextMap_.constFind(context);
    if (it == contextMap_.constEnd())
        return std::nullopt;
    // The compiler may have written the topic with the folders it was built in in front of it:
    // the first tail of the path that is a page of the file is the page.
    const QString full = normalisePagePath(text(*it));
    for (qsizetype at = 0; at >= 0 && at < full.size(); at = full.indexOf(u'/', at + 1)) {
        const QString tail = full.mid(at);
        const ChmReader::Answer a = reader_.read(tail);
        if (a.outcome == ChmReader::Outcome::Found)
            return tail;
        if (reader_.broken())
            break;
    }
    return std::nullopt;
}

std::optional<QByteArray> HelpBook::object(const QString& path) {
    const ChmReader::Answer a = reader_.read(path);
    if (a.outcome != ChmReader::Outcome::Found)
        return std::nullopt;
    return a.bytes;
}

QString HelpBook::text(const QByteArray& bytes) const {
    return decodeHelpText(bytes, system_.lcid);
}

} // namespace vantor::help
