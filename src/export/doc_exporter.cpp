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

void DocExporter::run(const std::function<void(const DocSource&, const DocOptions&)>& body) {
    const DocSource source = frame_.docSource();
    if (!source.library || !source.library->isOpen())
        return;
    frame_.setBusy(true);
    try {
        body(source, frame_.docOptions());
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

void DocExporter::finish(DocOutput output, const QString& libraryName, QByteArrayView bytes,
                         const DocOptions& options, const QString& writtenStatus) {
    if (!options.writeToTree)
        return;
    const QString path = write(output, libraryName, bytes);
    if (path.isEmpty())
        return;
    frame_.flashStatus(writtenStatus);
    if (options.openInDefaultApplication)
        frame_.openFile(path);
}

void DocExporter::exportMemberNames() {
    run([this](const DocSource& source, const DocOptions& options) {
        frame_.setDocMode(docmode::MemberNames);
        DocLines lines = BuildDocLines(source, docmode::MemberNames, options.groupByKind, *this);
        const QString n = QString::number(lines.lines.size());
        const QString names = distinctNames(lines.lines, lines.total);
        if (options.copyToClipboard) {
            frame_.setClipboardText(names);
            frame_.flashStatus(QStringLiteral("Copied ") + n + QStringLiteral(" Names OK"));
        }
        finish(DocOutput::MemberNames, source.library->name(), win1252::encode(names), options,
               QStringLiteral("Writing ") + n + QStringLiteral(" Names OK"));
    });
}

void DocExporter::exportConstants(ScriptDialect dialect) {
    run([this, dialect](const DocSource& source, const DocOptions& options) {
        const QList<tli::ConstantGroup> groups = source.library->constantGroups();
        if (groups.isEmpty())
            return;
        const ConstantsCode code = constantsCode(groups, dialect);
        const QString n = QString::number(code.count);
        if (options.copyToClipboard) {
            frame_.setClipboardText(code.text);
            frame_.flashStatus(QStringLiteral("Copied ") + n + QStringLiteral(" items as code"));
        }
        // The writer's line end follows the last line: the file ends with an empty line.
        finish(dialect == ScriptDialect::JScript ? DocOutput::JScript : DocOutput::VBScript,
               source.library->name(), win1252::encode(code.text + QStringLiteral("\r\n")), options,
               QStringLiteral("Writing ") + n + QStringLiteral(" Names OK"));
    });
}

void DocExporter::exportDocument(Format format) {
    run([this, format](const DocSource& source, const DocOptions& options) {
        DocHead head = frame_.docHead();
        head.helpFile = helpFile_ ? helpFile_() : QString();
        QString text;
        QByteArray bytes;
        qint32 n = 0;
        DocOutput output = DocOutput::RichText;
        QString kind;
        switch (format) {
        case Format::RichText: {
            frame_.setDocMode(docmode::RtfDocument);
            const DocLines lines =
                BuildDocLines(source, docmode::RtfDocument, options.groupByKind, *this);
            n = qint32(lines.lines.size());
            text = rtfDocument(frame_.rtfPrefix(), head, lines);
            bytes = win1252::encode(text);
            kind = QStringLiteral("RichText");
            break;
        }
        case Format::Html: {
            frame_.setDocMode(docmode::HtmlDocument);
            HtmlDocument html = htmlDocument(source, head, options.groupByKind, *this);
            n = html.lines;
            text = std::move(html.text);
            bytes = text.toUtf8();
            output = DocOutput::Html;
            kind = QStringLiteral("HTML");
            break;
        }
        case Format::Xml:
            frame_.setDocMode(docmode::XmlDocument);
            n = docLineCount(source, options.groupByKind);
            text = xmlDocument(source, head, options.groupByKind);
            bytes = text.toUtf8();
            output = DocOutput::Xml;
            kind = QStringLiteral("XML");
            break;
        }
        if (options.copyToClipboard) {
            frame_.setClipboardText(text);
            frame_.flashStatus(QStringLiteral("Copied ") + QString::number(n) +
                               QStringLiteral(" Names OK"));
        }
        finish(output, source.library->name(), bytes, options,
               QStringLiteral("Writing ") + QString::number(n) + u' ' + kind +
                   QStringLiteral(" OK"));
    });
}

} // namespace vantor
