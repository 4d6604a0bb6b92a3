#include "browser/library_browser.h"

#include "browser/library_reference.h"
#include "browser/path_completion.h"
#include "browser/rtf_text.h"
#include "catalog/bin_search.h"
#include "catalog/catalogs.h"
#include "catalog/get_token.h"
#include "catalog/type_lib_record.h"
#include "text/error.h"
#include "text/text_order.h"
#include "tli/session.h"
#include "tli/tli_application.h"
#include "tli/type_lib_file.h"

#include <algorithm>

namespace vantor {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

LibraryBrowser::LibraryBrowser(BrowserFrame& frame, LibraryListView& listView,
                               const tli::TLIApplication& app)
    : frame_(frame), listView_(listView), app_(app),
      library_(std::make_unique<tli::TypeLibInfo>(app)), history_(*this) {}

LibraryBrowser::~LibraryBrowser() = default;

void LibraryBrowser::clearView() {
    frame_.showPane(QString());
    frame_.setLibraryShown(QString(), QString());
    rows_.clear();
    numbers_.clear();
    codes_.clear();
    linkRows_.clear();
    pairs_.clear();
    memberRows_.clear();
    frame_.setTypeInfoRows({}, {});
    frame_.setMemberRows({});
    frame_.setMemberCaption(QStringLiteral("Members"));
    // The shown coclass is gone with its rows: its buttons would act on a stale type.
    interfaces_.clear();
    interfaceFlags_.clear();
    interfaceIndex_ = 1;
    frame_.setMemberCaptionRed(false);
    frame_.setButtonEnabled(NextInterfaceButton, false);
    frame_.setButtonEnabled(HelpButton, false);
    typeDependentCommands(nullptr);
}

void LibraryBrowser::clear() {
    clearView();
    // Back would restore rows of a library no longer listed.
    history_.clear();
}

bool LibraryBrowser::placeLibrary(bool fromListView) {
    if (!catalogs_)
        return false;
    const QList<PathBoxEntry>& entries = catalogs_->pathBox();
    int entry = -1;
    if (fromListView) {
        entry = frame_.selectedPathEntry();
        if (entry < 0 || entry >= entries.size())
            entry = findPathEntry(entries, frame_.pathText());
        if (entry < 0)
            return false;
        listRow_ = listView_.currentLibraryRow();
        history_.forgetLastKey();
    } else {
        entry = findPathEntry(entries, frame_.pathText());
        if (entry < 0)
            return false;
        frame_.selectPathEntry(entry);
    }
    const qint32 line = entries[entry].itemData;
    history_.setLibrary(line);
    frame_.setButtonEnabled(BackButton, false);
    frame_.setButtonEnabled(ForwardButton, false);
    if (fromListView)
        return true;

    const TypeLibRecord record = TypeLibRecord::parse(
        line >= 0 && line < catalogs_->TLDefs().size() ? catalogs_->TLDefs()[line] : QString());
    listRow_ = listView_.findLibraryRow(record.guid);
    if (listRow_ < 0 ||
        !equalsText(listView_.libraryRowText(listRow_, LibraryListView::Version), record.version))
        listRow_ = listView_.insertLibraryRow(record.helpString, record.guid, record.version, entry,
                                              entries[entry].text);
    listView_.showLibraryRow(listRow_);
    return true;
}

qint32 LibraryBrowser::nGetTypInfos(bool fromListView) {
    clearView();
    const QString typed = frame_.pathText();
    if (!placeLibrary(fromListView)) {
        if (!typed.isEmpty()) {
            frame_.beep();
            frame_.flashStatus(QStringLiteral("cannot open ") + typed +
                               QStringLiteral(": not a library of the catalog"));
        }
        return -1;
    }
    const QString path = frame_.pathText();
    try {
        library_->setContainingFile(path);
    } catch (const Error& e) {
        // The reason names the file as this machine reads it: the path is said once.
        QString reason = e.description();
        const QString host = app_.session()->hostPath(path);
        for (const QString& named : {path, host, tli::splitLibraryPath(host).file})
            if (reason.startsWith(named + QStringLiteral(": "))) {
                reason.remove(0, named.size() + 2);
                break;
            }
        frame_.beep();
        frame_.flashStatus(QStringLiteral("cannot open ") + path + QStringLiteral(": ") + reason);
        return -1;
    }
    library_->setGlobalsLabel(QStringLiteral("<globals>"));
    library_->setMemberFilters(tli::flag::HiddenFuncs, tli::flag::HiddenVars);
    if (frame_.showHidden()) {
        library_->setTypeFilter(0, true, true);
        library_->setMemberFilters(0, 0);
    }
    if (listRow_ >= 0)
        listView_.setLibraryRowText(listRow_, LibraryListView::LibName, library_->name());
    frame_.setTypeInfoToolTip(QString());

    rows_ = library_->typeInfoRows();
    buildTables();
    frame_.setTypeInfoRows(rows_, codes_);
    frame_.setLibraryShown(library_->name(), path);

    const auto column = [this](int c) {
        return listRow_ >= 0 ? listView_.libraryRowText(listRow_, c) : QString();
    };
    frame_.showPane(frame_.paneHeader() + QStringLiteral("Library \\b\\fs20 ") +
                    RtfEscape(column(LibraryListView::LibName)) + QStringLiteral("\\b0 \\par") +
                    kCrLf + QStringLiteral("\\tab ") + RtfEscape(path) + QStringLiteral(" \\par") +
                    kCrLf + QStringLiteral("\\tab ") +
                    RtfEscape(column(LibraryListView::HelpString)) + QStringLiteral(" \\par") +
                    kCrLf);

    if (frame_.groupDocsByTypeKind()) {
        if (!order_)
            order_ = typeKindOrder(frame_.typeKindOrderSetting());
        sortGroupPairs(pairs_, *order_);
    }
    return qint32(rows_.size());
}

void LibraryBrowser::buildTables() {
    numbers_.reserve(rows_.size());
    codes_.reserve(rows_.size());
    linkRows_.reserve(rows_.size());
    for (qsizetype row = 0; row < rows_.size(); ++row) {
        const qint32 data = rows_[row].itemData;
        if (tli::isGlobalsSearchData(data)) {
            numbers_.append(-1);
            codes_.append(5);
            linkRows_.append({-1, false, -1});
            continue;
        }
        const int number = tli::typeInfoNumber(data);
        const tli::TypeInfoView info = library_->typeInfo(number);
        numbers_.append(qint16(number + 1));
        codes_.append(categoryCode(info));
        pairs_.append({qint16(row), qint16(info.kind())});
        TypeInfoRow link{number + 1, info.kind() == tli::TypeKind::Coclass, -1};
        if (link.coclass)
            if (const std::optional<tli::TypeInfoView> def = info.defaultInterface())
                link.defaultInterface = def->number();
        linkRows_.append(link);
    }
}

void LibraryBrowser::BrowseFromListRow(qint32 pathBoxEntry, const QString& guid,
                                       const QString& version) {
    if (!catalogs_)
        return;
    const QList<PathBoxEntry>& entries = catalogs_->pathBox();
    if (pathBoxEntry >= 0) {
        if (pathBoxEntry >= entries.size())
            return;
        frame_.selectPathEntry(pathBoxEntry);
        frame_.setPathText(entries[pathBoxEntry].text);
    } else {
        qint32 index = 0;
        if (BinSearch(catalogs_->TLDefs(), catalogKey({guid, version, QString()}), index) != 1)
            return;
        const QString path = GetToken(4, catalogs_->TLDefs()[index]);
        // Without an exact entry none stays selected: the load then finds the path itself.
        const auto exact = std::find_if(entries.begin(), entries.end(), [&](const PathBoxEntry& e) {
            return equalsText(e.text, path);
        });
        frame_.selectPathEntry(exact == entries.end() ? -1 : int(exact - entries.begin()));
        frame_.setPathText(path);
    }
    nGetTypInfos(true);
}

bool LibraryBrowser::ChooseLib(const QString& text) {
    const LibraryReference reference = parseLibraryReference(text);
    if (!catalogs_ || reference.guid.isEmpty())
        return false;
    qint32 index = 0;
    if (BinSearch(catalogs_->TLDefs(), catalogKey(reference), index) != 1)
        return false;
    return SelTypInfo(index, reference.typeInfo);
}

bool LibraryBrowser::SelTypInfo(qint32 catalogIndex, const QString& typeInfo) {
    if (!catalogs_ || catalogIndex < 0 || catalogIndex >= catalogs_->TLDefs().size())
        return false;
    if (!openPath(TypeLibRecord::parse(catalogs_->TLDefs()[catalogIndex]).path))
        return false;
    selectTypeInfo(typeInfo);
    return true;
}

bool LibraryBrowser::openPath(const QString& path) {
    if (!catalogs_ || path.isEmpty())
        return false;
    frame_.setPathText(path);
    const int entry = findPathEntry(catalogs_->pathBox(), path);
    if (entry >= 0)
        frame_.selectPathEntry(entry);
    return nGetTypInfos() >= 0;
}

bool LibraryBrowser::selectTypeInfo(const QString& typeInfo) {
    for (int row = 0; row < rows_.size(); ++row) {
        if (equalsText(rows_[row].text, typeInfo)) {
            frame_.selectTypeInfoRow(row);
            TypeInfoClicked(row);
            history_.ExpStack(row, -1, 1);
            return true;
        }
    }
    return false;
}

bool LibraryBrowser::selectMember(const QString& name) {
    for (int row = 0; row < memberRows_.size(); ++row) {
        if (equalsText(memberRows_[row].text, name)) {
            frame_.selectMemberRow(row);
            MemberClicked(row);
            return true;
        }
    }
    return false;
}

void LibraryBrowser::TypeInfoClicked(int row) {
    if (row < 0 || row >= rows_.size())
        return;
    // Every type click shows its default members: a list left disabled by "Next Interface"
    // could not be clicked any more.
    clickedOnce_ = true;
    frame_.setMemberListEnabled(true);
    frame_.setMemberCaptionRed(false);
    interfaces_.clear();
    interfaceFlags_.clear();
    interfaceIndex_ = 1;
    frame_.setButtonEnabled(NextInterfaceButton, false);
    frame_.setButtonEnabled(HelpButton, false);
    const QString& text = rows_[row].text;
    frame_.setMemberCaption(QStringLiteral("Members of ") + text);

    QString kind;
    QString help;
    std::optional<tli::TypeInfoView> info;
    if (numbers_[row] == -1) {
        kind = QStringLiteral("    ");
        help = QStringLiteral("Unqualified references");
    } else {
        if (!history_.navigating())
            history_.ExpStack(row, -1, 1);
        info = library_->typeInfo(numbers_[row] - 1);
        kind = info->kindKeyword();
        help = info->helpString(0);
        if (info->kind() == tli::TypeKind::Coclass) {
            if (const std::optional<tli::TypeInfoView> def = info->defaultInterface())
                frame_.setMemberCaption(QStringLiteral("Members of ") + def->name());
            interfaces_ = info->interfaces();
            interfaceFlags_ = info->interfaceFlags();
            if (interfaces_.size() >= 2)
                frame_.setButtonEnabled(NextInterfaceButton, true);
        }
        if (helpLookup_ && helpLookup_(numbers_[row]))
            frame_.setButtonEnabled(HelpButton, true);
    }

    QString pane = frame_.paneHeader() + kind + QStringLiteral(" \\b\\fs20 ") + text +
                   QStringLiteral("\\b0 \\par") + kCrLf;
    if (!help.isEmpty()) {
        if (help.contains(QChar(u'\0'))) {
            help.remove(QChar(u'\0'));
            help.remove(kCrLf);
        }
        pane += QStringLiteral("\\b0\\fs18   ") + RtfEscape(help) + QStringLiteral("} \\par");
    }
    const QString footer = QStringLiteral(" \\b0   \\cf1\\f1\\fs16  member of \\cf0\\f0\\fs18 "
                                          "\\cf2\\b\\f1\\fs18 \\cf2\\ul ") +
                           RtfEscape(library_->name()) + QStringLiteral(" \\cf0\\ulnone");
    frame_.showPane(pane + footer);

    memberRows_ = library_->memberRows(rows_[row].itemData);
    frame_.setMemberRows(memberRows_);
    typeDependentCommands(info ? &*info : nullptr);
}

void LibraryBrowser::typeDependentCommands(const tli::TypeInfoView* info) {
    popup_.setEnabled(PopupCommands::Copy, false);
    popup_.setVisible(PopupCommands::AllConstants, false);
    popup_.setVisible(PopupCommands::HtmlObjectTag, false);
    if (!info) {
        if (rows_.isEmpty())
            for (int c : {PopupCommands::CreatableProgId, PopupCommands::AllMembers,
                          PopupCommands::TypeInfo})
                popup_.setEnabled(c, false);
        return;
    }
    const quint16 flags = info->typeFlags();
    using namespace tli::flag;
    popup_.setEnabled(PopupCommands::CreatableProgId,
                      (flags & (TypeCanCreate | TypeControl | TypeDispatchable)) != 0);
    if (flags & TypeControl) {
        popup_.setVisible(PopupCommands::HtmlObjectTag, true);
        popup_.setEnabled(PopupCommands::HtmlObjectTag, true);
    }
    popup_.setEnabled(PopupCommands::AllMembers, true);
    popup_.setEnabled(PopupCommands::TypeInfo, true);
    // Enumerations are often named through a typedef: the kind it finally names counts.
    const std::optional<tli::TypeInfoView> end = info->finalType();
    const tli::TypeKind kind = end ? end->kind() : info->kind();
    if (kind == tli::TypeKind::Enum || kind == tli::TypeKind::Module)
        popup_.setVisible(PopupCommands::AllConstants, true);
}

void LibraryBrowser::MemberClicked(int row) {
    if (!clickedOnce_ || rows_.isEmpty() || memberRows_.isEmpty())
        return;
    const int typeRow = frame_.typeInfoRow();
    if (typeRow < 0 || typeRow >= rows_.size() || row < 0 || row >= memberRows_.size())
        return;
    const qint32 searchData = rows_[typeRow].itemData;
    const tli::ListRow& member = memberRows_[row];
    if (!history_.navigating())
        history_.ExpStack(typeRow, row, 0);
    docMode_ = 1;
    try {
        const QString fragment =
            ProtoMember(*library_, searchData, member.itemData, -1, member.text, docMode_, *this);
        memberIsFunction_ = fragment.startsWith(QLatin1String("Func"));
        frame_.showPane(frame_.paneHeader() + fragment);
    } catch (const Error& e) {
        frame_.showPane(frame_.paneHeader() + RtfEscape(e.description()) +
                        QStringLiteral("} \\par"));
    }
    popup_.setEnabled(PopupCommands::Copy, true);
}

void LibraryBrowser::NextInterface() {
    if (interfaces_.isEmpty())
        return;
    frame_.setMemberCaptionRed(true);
    frame_.setMemberListEnabled(false);
    ++interfaceIndex_;
    if (interfaceIndex_ > interfaces_.size()) {
        interfaceIndex_ = 1;
        frame_.setMemberCaptionRed(false);
        frame_.setMemberListEnabled(true);
    }
    showInterface(interfaceIndex_);
}

void LibraryBrowser::showInterface(int index) {
    const tli::TypeInfoView& info = interfaces_[index - 1];
    frame_.setMemberCaption(QStringLiteral("Members of ") + info.name());
    // A source interface's functions are the coclass's events.
    const bool source = (interfaceFlags_.value(index - 1) & tli::flag::ImplSource) != 0;
    memberRows_ = library_->memberRows(info, source);
    frame_.setMemberRows(memberRows_);
}

void LibraryBrowser::LinkClicked(const QString& linkText) {
    const PaneLink link = readPaneLink(linkText);
    switch (link.kind) {
    case PaneLink::Kind::None:
        return;
    case PaneLink::Kind::External:
        frame_.setClipboardText(link.url);
        frame_.flashStatus(QStringLiteral("copied TypeInfo URL"));
        return;
    case PaneLink::Kind::InLibrary:
        if (const std::optional<qint32> row = rowForTypeInfo(linkRows_, link.typeInfo)) {
            frame_.selectTypeInfoRow(*row);
            TypeInfoClicked(*row);
            history_.ExpStack(*row, -1, 1);
        }
        frame_.focusList(true);
        return;
    }
}

std::optional<LoadedLibrary> LibraryBrowser::loaded() const {
    if (!library_->isOpen() || rows_.isEmpty())
        return std::nullopt;
    return LoadedLibrary{library_->guidText(), library_->majorVersion(), library_->minorVersion()};
}

void LibraryBrowser::setBackEnabled(bool enabled) {
    frame_.setButtonEnabled(BackButton, enabled);
}

void LibraryBrowser::setForwardEnabled(bool enabled) {
    frame_.setButtonEnabled(ForwardButton, enabled);
}

void LibraryBrowser::selectTypeInfoRow(qint32 row) {
    if (row < 0 || row >= rows_.size())
        return;
    frame_.selectTypeInfoRow(row);
    TypeInfoClicked(row);
}

void LibraryBrowser::selectMemberRow(qint32 row) {
    if (row < 0 || row >= memberRows_.size())
        return;
    frame_.selectMemberRow(row);
    MemberClicked(row);
}

void LibraryBrowser::focusList(bool typeInfoList) {
    frame_.focusList(typeInfoList);
}

} // namespace vantor
