#pragma once

#include "browser/proto_member.h"
#include "export/constants_code.h"
#include "export/doc_files.h"
#include "export/doc_head.h"
#include "export/doc_source.h"

#include <QByteArrayView>
#include <functional>

namespace vantor {

// The "&LibDocs" options, read when a document is made.
struct DocOptions {
    bool writeToTree = true;
    bool copyToClipboard = false;
    bool openInDefaultApplication = true;
    bool groupByKind = true;
};

// What the documents need of the window.
class DocFrame {
public:
    virtual ~DocFrame() = default;
    virtual DocOptions docOptions() const = 0;
    // The loaded library with its list rows; a null library when none is loaded.
    virtual DocSource docSource() const = 0;
    // The head without the help file (DocExporter adds that).
    virtual DocHead docHead() const = 0;
    // The RTF document prefix: the pane's header with its font and colour tables.
    virtual QString rtfPrefix() const = 0;
    virtual void setDocMode(qint32 mode) = 0;
    virtual void setBusy(bool busy) = 0;
    // A status message that the status timer later replaces.
    virtual void flashStatus(const QString& text) = 0;
    virtual void setClipboardText(const QString& text) = 0;
    // Opens a written file with the desktop's default application.
    virtual void openFile(const QString& path) = 0;
};

// The documentation export of the loaded library: member names, constants as script code, and
// the library document as RTF, HTML or XML, to the clipboard and to the LibDocs folders of the
// program folder.
class DocExporter : private ProtoMemberFrame {
public:
    // Writes a whole file or nothing; false with the reason when it fails.
    using FileWriter = std::function<bool(const QString& path, QByteArrayView bytes, QString*)>;
    enum class Format { RichText, Html, Xml };

    DocExporter(DocFrame& frame, QString programFolder, const tli::TLIApplication* app);
    ~DocExporter() override;

    // The current help file (mbrHelpFile); without one the documents name none.
    void setHelpFile(std::function<QString()> helpFile) { helpFile_ = std::move(helpFile); }
    void setFileWriter(FileWriter writer) { writer_ = std::move(writer); }

    void exportMemberNames();
    void exportConstants(ScriptDialect dialect);
    void exportDocument(Format format);

private:
    // ProtoMemberFrame: the documents leave the window's help context alone.
    void setHelpContextID(qint32) override {}
    const tli::TLIApplication* application() const override { return app_; }

    // Runs an export with the busy pointer; a failure is reported on the status line.
    void run(const std::function<void(const DocSource&, const DocOptions&)>& body);
    // Writes the file of an output when its folder exists; its full path, or empty when skipped.
    QString write(DocOutput output, const QString& libraryName, QByteArrayView bytes);
    void finish(DocOutput output, const QString& libraryName, QByteArrayView bytes,
                const DocOptions& options, const QString& writtenStatus);

    DocFrame& frame_;
    QString programFolder_;
    const tli::TLIApplication* app_;
    std::function<QString()> helpFile_;
    FileWriter writer_;
};

} // namespace vantor
