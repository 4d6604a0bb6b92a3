#pragma once

#include "browser/proto_member.h"
#include "export/constants_code.h"
#include "export/doc_files.h"
#include "export/doc_head.h"
#include "export/doc_source.h"

#include <QByteArrayView>
#include <functional>
#include <optional>

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

    // A document of the loaded library as the window's options and head make it.
    struct Document {
        QString text;     // as the clipboard gets it
        QByteArray bytes; // as its file holds it
        qint32 count = 0; // the count its status messages give
    };
    // Makes a document without delivering it: nullopt when no library is loaded, or for the
    // constants when the library has none. Throws Error when the library cannot be read.
    std::optional<Document> document(DocOutput output);

private:
    // ProtoMemberFrame: the documents leave the window's help context alone.
    void setHelpContextID(qint32) override {}
    const tli::TLIApplication* application() const override { return app_; }

    DocHead head() const;
    std::optional<Document> make(DocOutput output, const DocSource& source,
                                 const DocOptions& options);
    // Makes and delivers a document with the busy pointer; a failure is reported on the status
    // line. `copied` and `written` follow the count in the status messages.
    void run(DocOutput output, const QString& copied, const QString& written);
    // Writes the file of an output when its folder exists; its full path, or empty when skipped.
    QString write(DocOutput output, const QString& libraryName, QByteArrayView bytes);

    DocFrame& frame_;
    QString programFolder_;
    const tli::TLIApplication* app_;
    std::function<QString()> helpFile_;
    FileWriter writer_;
};

} // namespace vantor
