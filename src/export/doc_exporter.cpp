#include "export/doc_exporter.h"

#include "export/doc_lines.h"
#include "export/html_export.h"
#include "export/member_names.h"
#include "export/rtf_export.h"
#include "export/xml_export.h"
#include "text/atomic_file.h"
#include "text/error.h"
#include "text/win1252.h"

#include <QDir>
#include <QFileInfo>

namespace vantor {

namespace {

// Raised by a write that failed, so that the export ends with its reason.
class WriteFailed : public std::exception {
public:
    explicit WriteFailed(QString reason) : reason_(std::move(reason)) {}
    const QString& reason() const { return reason_; }

private:
    QString reason_;
};

} // namespace

DocExporter::DocExporter(DocFrame& frame, QString programFolder, const tli::TLIApplication* app)
    : frame_(frame), programFolder_(std::move(programFolder)), app_(app),
      writer_([](const QString& path, QByteArrayView bytes, QString* error) {
          return writeFileAtomically(path, bytes, error);
      }) {}

DocExporter::~DocExporter() = default;

std::optional<DocExporter::Document> DocExporter::document(DocOutput output) {
    const DocSource source = frame_.docSource();
    if (!source.library || !source.library->isOpen())
        return std::nullopt;
    return make(output, source, frame_.docOptions());
}

std::optional<DocExporter::Document> DocExporter::make(DocOutput output, const DocSource& source,
                                                       const DocOptions& options) {
    Document d;
    switch (output) {
    case DocOutput::MemberNames: {
        frame_.setDocMode(docmode::MemberNames);
        DocLines lines = BuildDocLines(source, docmode::MemberNames, options.groupByKind, *this);
        d.count = qint32(lines.lines.size());
        d.text = distinctNames(lines.lines, lines.total);
        d.bytes = win1252::encode(d.text);
        break;
    }
    case DocOutput::VBScript:
    case DocOutput::JScript: {
        const QList<tli::ConstantGroup> groups = source.library->constantGroups();
        if (groups.isEmpty())
            return std::nullopt;
        const ConstantsCode code =
            constantsCode(groups, output == DocOutput::JScript ? ScriptDialect::JScript
                                                               : ScriptDialect::VBScript);
        d.count = code.count;
        d.text = code.text;
        // The writer's line end follows the last line: the file ends with an empty line.
        d.bytes = win1252::encode(code.text + QStringLiteral("\r\n"));
        break;
    }
    case DocOutput::RichText: {
        frame_.setDocMode(docmode::RtfDocument);
        const DocLines lines =
            BuildDocLines(source, docmode::RtfDocument, options.groupByKind, *this);
        d.count = qint32(lines.lines.size());
        d.text = rtfDocument(frame_.rtfPrefix(), head(), lines);
        d.bytes = win1252::encode(d.text);
        break;
    }
    case DocOutput::Html: {
        frame_.setDocMode(docmode::HtmlDocument);
        HtmlDocument html = htmlDocument(source, head(), options.groupByKind, *this);
        d.count = html.lines;
        d.text = std::move(html.text);
        d.bytes = d.text.toUtf8();
        break;
    }
    case DocOutput::Xml:
        frame_.setDocMode(docmode::XmlDocument);
        d.count = docLineCount(source, options.groupByKind);
        d.text = xmlDocument(source, head(), options.groupByKind);
        d.bytes = d.text.toUtf8();
        break;
    }
    return d;
}

DocHead DocExporter::head() const {
    DocHead head = frame_.docHead();
    head.helpFile = helpFile_ ? helpFile_() : QString();
    return head;
}

void DocExporter::run(DocOutput output, const QString& copied, const QString& written) {
    const DocSource source = frame_.docSource();
    if (!source.library || !source.library->isOpen())
        return;
    frame_.setBusy(true);
    try {
        const DocOptions options = frame_.docOptions();
        if (const std::optional<Document> d = make(output, source, options)) {
            const QString n = QString::number(d->count);
            if (options.copyToClipboard) {
                frame_.setClipboardText(d->text);
                frame_.flashStatus(QStringLiteral("Copied ") + n + copied);
            }
            const QString path =
                options.writeToTree ? write(output, source.library->name(), d->bytes) : QString();
            if (!path.isEmpty()) {
                frame_.flashStatus(QStringLiteral("Writing ") + n + written);
                if (options.openInDefaultApplication)
                    frame_.openFile(path);
            }
        }
    } catch (const Error& e) {
        frame_.flashStatus(QStringLiteral("export failed: ") + e.description());
    } catch (const WriteFailed& e) {
        frame_.flashStatus(QStringLiteral("export failed: ") + e.reason());
    } catch (const std::exception& e) {
        frame_.flashStatus(QStringLiteral("export failed: ") + QString::fromLocal8Bit(e.what()));
    }
    frame_.setBusy(false);
}

QString DocExporter::write(DocOutput output, const QString& libraryName, QByteArrayView bytes) {
    const QString folder = QDir(programFolder_).filePath(docFolder(output));
    if (!QFileInfo(folder).isDir())
        return QString();
    const QString path = folder + u'/' + safeFileName(libraryName) + docExtension(output);
    QString error;
    if (!writer_(path, bytes, &error))
        throw WriteFailed(error);
    return path;
}

void DocExporter::exportMemberNames() {
    run(DocOutput::MemberNames, QStringLiteral(" Names OK"), QStringLiteral(" Names OK"));
}

void DocExporter::exportConstants(ScriptDialect dialect) {
    run(dialect == ScriptDialect::JScript ? DocOutput::JScript : DocOutput::VBScript,
        QStringLiteral(" items as code"), QStringLiteral(" Names OK"));
}

void DocExporter::exportDocument(Format format) {
    switch (format) {
    case Format::RichText:
        run(DocOutput::RichText, QStringLiteral(" Names OK"), QStringLiteral(" RichText OK"));
        break;
    case Format::Html:
        run(DocOutput::Html, QStringLiteral(" Names OK"), QStringLiteral(" HTML OK"));
        break;
    case Format::Xml:
        run(DocOutput::Xml, QStringLiteral(" Names OK"), QStringLiteral(" XML OK"));
        break;
    }
}

} // namespace vantor
