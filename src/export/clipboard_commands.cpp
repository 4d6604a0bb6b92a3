#include "export/clipboard_commands.h"

#include "browser/library_reference.h"
#include "catalog/bin_search.h"
#include "catalog/catalogs.h"
#include "text/error.h"
#include "text/text_order.h"
#include "tli/member_list.h"
#include "tli/tli_application.h"

#include <QFileInfo>

namespace vantor {

namespace {

// The hourglass while a long list is copied, also when the copy fails.
class Busy {
public:
    explicit Busy(ClipboardFrame& frame) : frame_(frame) { frame_.setBusy(true); }
    ~Busy() { frame_.setBusy(false); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    ClipboardFrame& frame_;
};

} // namespace

void ClipboardCommands::run(const std::function<void()>& body) {
    try {
        body();
    } catch (const Error&) {
        // The library could not be read: the command ends without a word.
    }
}

void ClipboardCommands::copy(const snippets::Snippet& snippet) {
    frame_.setClipboardText(snippet.text);
    frame_.flashStatus(snippet.status);
}

std::optional<tli::TypeInfoView> ClipboardCommands::selectedType() const {
    const std::optional<tli::ListRow> row = frame_.typeInfoRow();
    const tli::TypeLibInfo* library = frame_.library();
    if (!row || !library || tli::isGlobalsSearchData(row->itemData))
        return std::nullopt;
    return library->typeInfoOfSearchData(row->itemData);
}

quint32 ClipboardCommands::localeOf(const QString& path) const {
    const tli::TypeLibInfo* library = frame_.library();
    if (library && library->isOpen() && equalsText(library->containingFile(), path))
        return library->lcid();
    return app_.typeLibInfoFromFile(path)->lcid();
}

void ClipboardCommands::copyMemberLine() {
    const QString line = frame_.memberLine();
    if (frame_.typeInfoRow() && !frame_.memberLines().isEmpty() && !line.isEmpty())
        copy(snippets::memberLine(line));
}

void ClipboardCommands::copyCreation(snippets::CreationForm form) {
    run([&] {
        const std::optional<tli::ListRow> row = frame_.typeInfoRow();
        const std::optional<tli::TypeInfoView> type = selectedType();
        if (!type)
            return;
        const QString progId =
            frame_.progIdOf(frame_.library()->name(), row->text,
                            snippets::creatableClassId(row->text, type->guidText()));
        if (progId.isEmpty())
            frame_.flashStatus(snippets::kNotCreatable);
        else
            copy(snippets::creation(form, progId));
    });
}

void ClipboardCommands::reference(bool vb, const QString& recordLine, const QString& path) {
    if (recordLine.isEmpty()) {
        frame_.message(snippets::kChooseTypeLib);
        return;
    }
    const TypeLibRecord record = TypeLibRecord::parse(recordLine);
    run([&] {
        copy(vb ? snippets::vbReference(record, localeOf(path), path)
                : snippets::wshReference(record));
    });
}

QString ClipboardCommands::entryRecord(qint32 pathBoxEntry) const {
    if (!catalogs_ || pathBoxEntry < 0 || pathBoxEntry >= catalogs_->pathBox().size())
        return QString();
    return catalogs_->TLDefs().value(catalogs_->pathBox()[pathBoxEntry].itemData);
}

void ClipboardCommands::copyReference(bool vb) {
    const QString path = frame_.pathText();
    reference(vb, path.isEmpty() ? QString() : entryRecord(frame_.selectedPathEntry()), path);
}

void ClipboardCommands::copyListRowReference(bool vb, qint32 pathBoxEntry, const QString& guid,
                                             const QString& version) {
    QString line = entryRecord(pathBoxEntry);
    qint32 index = 0;
    if (pathBoxEntry < 0 && catalogs_ &&
        BinSearch(catalogs_->TLDefs(), catalogKey({guid, version, QString()}), index) == 1)
        line = catalogs_->TLDefs()[index];
    reference(vb, line, TypeLibRecord::parse(line).path);
}

void ClipboardCommands::copyAllMembers() {
    if (!frame_.typeInfoRow())
        return;
    const Busy busy(frame_);
    copy(snippets::allMembers(frame_.memberLines()));
}

void ClipboardCommands::copyConstants() {
    run([&] {
        const std::optional<tli::TypeInfoView> type = selectedType();
        if (!type)
            return;
        const Busy busy(frame_);
        const tli::TypeLibInfo& library = *frame_.library();
        QList<tli::Constant> members;
        for (const tli::MemberView& m :
             tli::listedMembers(*type, {library.functionFilter(), library.variableFilter()}))
            members.push_back({m.name(), m.constantValue().value_or(tli::Value{})});
        copy(snippets::constantsAsCode(members, frame_.memberLines().size()));
    });
}

void ClipboardCommands::copyObjectTag() {
    run([&] {
        const std::optional<tli::TypeInfoView> type = selectedType();
        copy(snippets::objectTag(type ? type->guidText() : QString()));
    });
}

void ClipboardCommands::copyTypeInfo(snippets::TypeInfoForm form) {
    run([&] {
        const std::optional<tli::TypeInfoView> type = selectedType();
        if (!type)
            return;
        const tli::TypeLibInfo& library = *frame_.library();
        copy(snippets::typeInfo(form, type->guidText(), library.guidText(), library.majorVersion(),
                                library.minorVersion(), frame_.typeInfoRow()->text));
    });
}

void ClipboardCommands::showDefinitionDetails() {
    if (!catalogs_)
        return;
    const QFileInfo progIds(catalogs_->progIdFile());
    if (!progIds.exists())
        return;
    frame_.showPaneText(snippets::definitionDetails(
        catalogs_->PIDDefs().size(), catalogs_->TLDefs().size(), progIds.lastModified()));
}

} // namespace vantor
