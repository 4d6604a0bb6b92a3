#pragma once

#include "tli/search_data.h"
#include "tli/tli_views.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

namespace vantor::tli {

class Session;
class TLIApplication;

// One row of a list the window shows: its text and its 32-bit item data.
struct ListRow {
    QString text;
    qint32 itemData = 0;
    bool operator==(const ListRow&) const = default;
};

struct Constant {
    QString name;
    Value value;
};

// An enumeration or a module of constants.
struct ConstantGroup {
    QString name;
    QList<Constant> members;
};

// The library object of a window: opens one library at a time and answers what the browser,
// the exporters and the help resolution ask of it. Operations on no open library throw
// vantor::Error (ObjectMissing).
class TypeLibInfo {
public:
    // Shares `app`'s registry and the libraries it has opened.
    explicit TypeLibInfo(const TLIApplication& app);
    ~TypeLibInfo();

    // Opens the library of a file: a Windows path (mapped through the machine's drives) or a
    // host path, with an optional "\N" resource number. Throws vantor::Error when the file holds
    // no library; the previously open library is then closed. Resets the type filter.
    void setContainingFile(const QString& path);
    const QString& containingFile() const { return path_; }
    bool isOpen() const { return lib_ != nullptr; }

    // Writes the open library's registration into the machine's overlay hive.
    void registerLibrary();

    QString name() const;
    QString guidText() const;
    quint16 majorVersion() const;
    quint16 minorVersion() const;
    quint32 lcid() const;
    QString helpString(quint32 lcid = 0) const;
    QString helpFile() const;
    quint32 helpContext() const;
    LibraryView library() const;

    void setGlobalsLabel(const QString& label) { globalsLabel_ = label; }
    const QString& globalsLabel() const { return globalsLabel_; }

    // Members whose flags share a bit with the filter are left out of lists and collections.
    void setMemberFilters(quint16 functionFlags, quint16 variableFlags) {
        funcFilter_ = functionFlags;
        varFilter_ = variableFlags;
    }
    quint16 functionFilter() const { return funcFilter_; }
    quint16 variableFilter() const { return varFilter_; }
    // (0, true, true) lets hidden and restricted type infos into the type list; any other
    // arguments restore the default, which leaves them out.
    void setTypeFilter(int flags, bool showHidden, bool showRestricted);

    // The type list: a "<globals>" row first when the library has global members, then one row
    // per type info the type filter lets through, sorted by name; item data is search data.
    QList<ListRow> typeInfoRows() const;
    // The member list of a type-info row: one row per member name, sorted by name; item data is
    // the member's invoke kinds (a property's accessors OR-ed).
    QList<ListRow> memberRows(qint32 searchData) const;
    // The same for any type info (a coclass's other interfaces); with `events` (a source
    // interface of the coclass) the functions are rows of invoke kind 16.
    QList<ListRow> memberRows(const TypeInfoView& info, bool events = false) const;

    // The members of a row, each accessor on its own, in the order the list sorts them.
    QList<MemberView> members(qint32 searchData) const;
    // Every enumeration and module that holds constants, in library order.
    QList<ConstantGroup> constantGroups() const;

    int typeInfoCount() const;
    // Item `number` (1-based) of the type-info collection.
    TypeInfoView typeInfoItem(int number) const;
    // The type info with this 0-based number.
    TypeInfoView typeInfo(int number) const;
    // The type info a type-info row stands for; throws for the "<globals>" row.
    TypeInfoView typeInfoOfSearchData(qint32 searchData) const;
    QList<TypeInfoView> coClasses() const;
    QList<TypeInfoView> interfaces() const;

    // The member a list row names: by search data, invoke kinds (a row's OR-ed value or one
    // kind), member id (-1: by name) and name. A row of several accessors yields its get
    // accessor, else its function, let, set accessor. Throws vantor::Error when none matches.
    MemberView member(qint32 searchData, qint32 invokeKinds, qint32 memberId,
                      const QString& name) const;

private:
    const TypeLib& lib() const;
    std::vector<MemberView> listed(qint32 searchData) const;
    // The listing of the last type looked up: member clicks and the documentation export ask
    // for one type's members many times in a row.
    const std::vector<MemberView>& listedCached(qint32 searchData) const;

    std::shared_ptr<Session> session_;
    std::shared_ptr<const TypeLib> lib_;
    QString path_;
    QString hostPath_;
    QString globalsLabel_ = QStringLiteral("<globals>");
    quint16 funcFilter_ = flag::HiddenFuncs;
    quint16 varFilter_ = flag::HiddenVars;
    bool showHiddenTypes_ = false;
    struct ListingCache {
        std::shared_ptr<const TypeLib> lib;
        qint32 searchData = 0;
        quint16 funcFilter = 0;
        quint16 varFilter = 0;
        std::vector<MemberView> members;
    };
    mutable ListingCache cache_;
};

} // namespace vantor::tli
