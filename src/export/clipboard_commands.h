#pragma once

#include "export/snippets.h"

#include <functional>
#include <optional>

namespace vantor {

class Catalogs;

// What the context menu's copy commands read from the window and do to it.
class ClipboardFrame {
public:
    virtual ~ClipboardFrame() = default;
    // The selected type-info row (caption and search data); nullopt when none is selected.
    virtual std::optional<tli::ListRow> typeInfoRow() const = 0;
    virtual QStringList memberLines() const = 0;
    // The selected member line; empty when none is selected.
    virtual QString memberLine() const = 0;
    // The window's open library; null when none is open.
    virtual const tli::TypeLibInfo* library() const = 0;
    virtual QString pathText() const = 0;
    // The path box's selected entry; -1 when none is.
    virtual int selectedPathEntry() const = 0;
    // GetPID: the ProgID of a class (library name, class name, class id), or "".
    virtual QString progIdOf(const QString& library, const QString& className,
                             const QString& classId) const = 0;
    virtual void setClipboardText(const QString& text) = 0;
    // A status message that the status timer later replaces.
    virtual void flashStatus(const QString& text) = 0;
    virtual void message(const QString& text) = 0;
    // Replaces the pane's content with plain text.
    virtual void showPaneText(const QString& text) = 0;
    virtual void setBusy(bool busy) = 0;
};

// The context menu's clipboard commands and the library list's two reference commands. A
// command that finds nothing to work on, or whose library cannot be read, ends without a word,
// except the references, which ask for a library.
class ClipboardCommands {
public:
    ClipboardCommands(ClipboardFrame& frame, const tli::TLIApplication& app)
        : frame_(frame), app_(app) {}
    void setCatalogs(const Catalogs* catalogs) { catalogs_ = catalogs; }

    void copyMemberLine();
    void copyCreation(snippets::CreationForm form);
    // From the path box's catalog record and text.
    void copyReference(bool vb);
    // From a library list row: its path box entry (>= 0), else its GUID and version.
    void copyListRowReference(bool vb, qint32 pathBoxEntry, const QString& guid,
                              const QString& version);
    void copyAllMembers();
    void copyConstants();
    void copyObjectTag();
    void copyTypeInfo(snippets::TypeInfoForm form);
    void showDefinitionDetails();

private:
    // Runs a command; a library that cannot be read ends it early.
    void run(const std::function<void()>& body);
    void copy(const snippets::Snippet& snippet);
    void reference(bool vb, const QString& recordLine, const QString& path);
    // The catalog line of a path box entry; empty when there is none.
    QString entryRecord(qint32 pathBoxEntry) const;
    // The selected row's type info; nullopt for no row or the "<globals>" row.
    std::optional<tli::TypeInfoView> selectedType() const;
    // The locale of the library file: the open library's when it is that file.
    quint32 localeOf(const QString& path) const;

    ClipboardFrame& frame_;
    const tli::TLIApplication& app_;
    const Catalogs* catalogs_ = nullptr;
};

} // namespace vantor
