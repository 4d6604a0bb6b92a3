#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace vantor::tli {
class TLIApplication;
}

namespace vantor {

// The JoinFix section of the settings file: a lower-case ProgID, or the lower-case text before
// its first point + ".*", to the GUID of the ProgID's type library.
struct JoinFixSettings {
    std::function<QString(const QString& key)> read;
    std::function<void(const QString& key, const QString& guid)> write;
};

// The value of a back-reference field ("-1" to "-9", read from its first two characters); 0
// for any other field.
int backReference(const QString& field);

// Turns a ProgID record into the library file to open: follows back-references, chooses among
// the versions of a library by the version hint, falls back to the remembered (JoinFix) library
// and, when instantiation is allowed, to the library the class's registration names.
class ProgIdLookup {
public:
    // What the search window holds while a lookup runs.
    struct Context {
        QString versionHint = QStringLiteral(".0");
        QString progIdBox;
        bool allowInstantiation = true;
    };

    // `app` resolves classes through its machine's registry; the catalogs must outlive this.
    ProgIdLookup(const QStringList& tlDefs, const QStringList& pidDefs,
                 const tli::TLIApplication& app, JoinFixSettings joinFix);

    Context& context() { return context_; }
    // Shown with the failures of BrowsePID ("BrowsePID: " + the reason).
    void onMessage(std::function<void(const QString&)> message) { message_ = std::move(message); }

    // Column `nCol` of ProgID record `ndx` with back-references followed; for a type library
    // GUID the path of the library to open. Empty when nothing is found.
    QString GetCsvCol(qint32 ndx, int nCol);
    // The column when it is a GUID (back-references followed), else "GetFromObj".
    QString GetCsvColzz(qint32 ndx, int nCol) const;
    // The remembered library GUID of a ProgID; empty when none.
    QString GetJoinFix(const QString& progId) const;
    // The library of the ProgID box's class as its registration names it: "file|GUID"; empty
    // (after a message) when the class cannot be resolved. Nothing is run.
    QString BrowsePID();

private:
    QString field(qint32 ndx, int nCol) const;
    QString libraryPath(const QString& guid) const;
    QString serverPath(qint32 ndx) const;

    const QStringList& tlDefs_;
    const QStringList& pidDefs_;
    const tli::TLIApplication& app_;
    JoinFixSettings joinFix_;
    Context context_;
    std::function<void(const QString&)> message_;
};

} // namespace vantor
