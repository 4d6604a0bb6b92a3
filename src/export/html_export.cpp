#include "export/html_export.h"

#include "browser/proto_member.h"
#include "browser/rtf_content.h"
#include "export/doc_lines.h"
#include "export/markup_text.h"

#include <QHash>

namespace vantor {

namespace {

const char* const kStyle =
    "body{font-family:Arial,Helvetica,sans-serif;font-size:10pt;margin:1.5em;color:#000;"
    "background:#fff}\n"
    "h1{font-size:16pt;margin:0 0 .3em}h2{font-size:12pt;margin:1.4em 0 .2em;"
    "border-bottom:1px solid #ccc}h3{font-size:10pt;margin:.8em 0 .2em}\n"
    ".kind{font-weight:normal;color:#555}.help{margin:.2em 0 .6em 2em;font-size:9pt}\n"
    ".member{margin:.5em 0 .5em 1em;page-break-inside:avoid}.line{white-space:pre-wrap}\n"
    ".tab{display:inline-block;width:2em}.b{font-weight:bold}.i{font-style:italic}\n"
    ".c1{color:#000}.c2{color:#c800c8}.c3{color:#c8c800}.c4{color:#dc2828}\n"
    "a{color:inherit}nav ul{margin:0;padding-left:2em}\n"
    "@media print{nav{display:none}h2{page-break-after:avoid}a{text-decoration:none}}\n";

// Where the type names of the declarations lead.
class Linker {
public:
    Linker(const tli::TypeLibInfo& library, const QHash<QString, QString>& anchors)
        : library_(library), anchors_(anchors) {}

    // The href for a type name as the document form shows it; empty when it leads nowhere.
    QString href(const QString& name) const {
        if (const auto a = anchors_.constFind(name); a != anchors_.constEnd())
            return u'#' + *a;
        const qsizetype dot = name.indexOf(u'.');
        if (dot <= 0)
            return QString();
        const QString libraryName = name.left(dot);
        const QString typeName = name.mid(dot + 1);
        const std::shared_ptr<const tli::TypeLib> lib = library_.library().library();
        for (const tli::ImportedLibrary& import : lib->imports()) {
            const tli::TypeLib* other = import.library.get();
            if (!other || other->name() != libraryName)
                continue;
            for (const tli::TypeInfo& info : other->typeInfos())
                if (info.name == typeName || info.name == u'_' + typeName)
                    return QStringLiteral("progid4:") + other->guid().toString() + u':' +
                           QString::number(other->major()) + u'.' +
                           QString::number(other->minor()) + u'.' + typeName;
        }
        return QString();
    }

private:
    const tli::TypeLibInfo& library_;
    const QHash<QString, QString>& anchors_;
};

// Text of a run: tabs as fixed-width spans, since HTML collapses them.
void appendRunText(QString& out, QStringView text) {
    for (qsizetype tab; (tab = text.indexOf(u'\t')) >= 0; text = text.sliced(tab + 1)) {
        appendMarkupText(out, text.first(tab));
        out += QLatin1String("<span class=\"tab\"></span>");
    }
    appendMarkupText(out, text);
}

void appendClasses(QString& out, const RtfCharFormat& f) {
    const qsizetype start = out.size();
    const auto add = [&](QLatin1String c) {
        if (out.size() > start)
            out += u' ';
        out += c;
    };
    if (f.bold)
        add(QLatin1String("b"));
    if (f.italic)
        add(QLatin1String("i"));
    if (f.colour >= 1 && f.colour <= 4) {
        add(QLatin1String("c"));
        out += QChar(u'0' + f.colour);
    }
}

bool hasClasses(const RtfCharFormat& f) {
    return f.bold || f.italic || (f.colour >= 1 && f.colour <= 4);
}

// A declaration's RTF fragment as lines of HTML; a line with nothing visible is left out.
void appendFragment(QString& out, const QString& fragment, const Linker& linker) {
    const RtfContent content = parseRtf(fragment);
    for (const RtfParagraph& p : content.paragraphs) {
        const qsizetype lineStart = out.size();
        out += QLatin1String("<div class=\"line\">");
        const qsizetype textStart = out.size();
        for (qsizetype i = 0; i < p.runs.size(); ++i) {
            const RtfRun& run = p.runs[i];
            if (run.format.hidden)
                continue;
            if (run.format.underline) {
                // A type name: the underlined runs that follow each other.
                QString name = run.text;
                while (i + 1 < p.runs.size() && p.runs[i + 1].format.underline)
                    name += p.runs[++i].text;
                const QString trimmed = name.trimmed();
                const QString href = linker.href(trimmed);
                out += QLatin1String("<span class=\"");
                appendClasses(out, run.format);
                out += QLatin1String("\">");
                if (!href.isEmpty()) {
                    out += QLatin1String("<a href=\"");
                    appendMarkupText(out, href, true);
                    out += QLatin1String("\">");
                }
                appendRunText(out, trimmed);
                if (!href.isEmpty())
                    out += QLatin1String("</a>");
                out += QLatin1String("</span> ");
                continue;
            }
            if (!hasClasses(run.format)) {
                appendRunText(out, run.text);
                continue;
            }
            out += QLatin1String("<span class=\"");
            appendClasses(out, run.format);
            out += QLatin1String("\">");
            appendRunText(out, run.text);
            out += QLatin1String("</span>");
        }
        if (!QStringView(out).sliced(textStart).trimmed().isEmpty())
            out += QLatin1String("</div>\n");
        else
            out.truncate(lineStart);
    }
}

QString anchorOf(const std::optional<tli::TypeInfoView>& info) {
    return info ? QStringLiteral("t") + QString::number(info->number()) : QStringLiteral("globals");
}

} // namespace

HtmlDocument htmlDocument(const DocSource& source, const DocHead& head, bool groupByKind,
                          ProtoMemberFrame& frame) {
    const tli::TypeLibInfo& library = *source.library;
    const QList<qint32> rows = visitedRows(source, groupByKind);

    // The contents: kinds in the order they first appear, each with its rows.
    QHash<QString, QString> anchors;
    QStringList kinds;
    QHash<QString, QString> contents;
    for (const qint32 row : rows) {
        const std::optional<tli::TypeInfoView> info = rowTypeInfo(source, row);
        const QString kind = info ? info->kindKeyword() : QStringLiteral("globals");
        if (info)
            anchors.insert(info->name(), anchorOf(info));
        if (!contents.contains(kind))
            kinds.append(kind);
        contents[kind] += QStringLiteral("<li><a href=\"#") + anchorOf(info) +
                          QStringLiteral("\">") + markupText(source.rows[row].text) +
                          QStringLiteral("</a></li>\n");
    }

    const QString name = head.libraryName.isEmpty() ? library.name() : head.libraryName;
    HtmlDocument doc;
    QString& out = doc.text;
    out = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                         "<title>") +
          markupText(name) + QStringLiteral("</title>\n<style>\n") + QLatin1String(kStyle) +
          QStringLiteral("</style>\n</head>\n<body>\n<header>\n<h1>") + markupText(name) +
          QStringLiteral("</h1>\n<p>") + markupText(head.path) +
          QStringLiteral("</p>\n<p>Description: ") + markupText(head.description) +
          QStringLiteral("</p>\n");
    if (!head.helpFile.isEmpty())
        out +=
            QStringLiteral("<p>HelpFile: ") + markupText(head.helpFile) + QStringLiteral("</p>\n");
    out +=
        QStringLiteral("<p>(Autogenerated by Vantor)</p>\n</header>\n<nav>\n<h2>Contents</h2>\n");
    for (const QString& kind : kinds)
        out += QStringLiteral("<h3>") + markupText(kind) + QStringLiteral("</h3>\n<ul>\n") +
               contents[kind] + QStringLiteral("</ul>\n");
    out += QStringLiteral("</nav>\n<main>\n");

    const Linker linker(library, anchors);
    for (const qint32 row : rows) {
        const qint32 searchData = source.rows[row].itemData;
        const std::optional<tli::TypeInfoView> info = rowTypeInfo(source, row);
        out += QStringLiteral("<section id=\"") + anchorOf(info) + QStringLiteral("\">\n<h2>");
        if (info) {
            out += QStringLiteral("<span class=\"kind\">") + markupText(info->kindKeyword()) +
                   QStringLiteral("</span> ");
            doc.lines += 2;
        }
        out += markupText(source.rows[row].text) + QStringLiteral("</h2>\n");
        if (info)
            if (const QString help = documentHelpString(*info); !help.isEmpty())
                out += QStringLiteral("<p class=\"help\">") + markupText(help) +
                       QStringLiteral("</p>\n");
        for (const tli::MemberView& member : library.members(searchData)) {
            out += QStringLiteral("<div class=\"member\">\n");
            appendFragment(out,
                           ProtoMemberOf(library, member, searchData, member.invokeKind(),
                                         docmode::HtmlDocument, frame),
                           linker);
            out += QStringLiteral("</div>\n");
            ++doc.lines;
        }
        out += QStringLiteral("</section>\n");
    }
    out += QStringLiteral("</main>\n</body>\n</html>\n");
    return doc;
}

} // namespace vantor
