#include "cli/headless_browser.h"

#include "app/ini_file.h"
#include "browser/rtf_text.h"
#include "catalog/catalogs.h"
#include "catalog/type_lib_record.h"
#include "text/error.h"
#include "text/text_order.h"

namespace vantor::cli {

HeadlessBrowser::HeadlessBrowser(const tli::TLIApplication& app, const Catalogs& catalogs,
                                 const IniFile& ini, const QString& programFolder)
    : catalogs_(catalogs), ini_(ini), header_(paneRtfHeader(ini.ReadIni(settings::ClrTbl))),
      browser_(*this, *this, app), exporter_(*this, programFolder, &app) {
    browser_.setCatalogs(&catalogs);
}

HeadlessBrowser::~HeadlessBrowser() = default;

void HeadlessBrowser::open(qint32 catalogIndex) {
    status_.clear();
    if (!browser_.SelTypInfo(catalogIndex, QString()))
        throw Error(Error::FileNotFound, QStringLiteral("vantor-cli"),
                    status_.isEmpty() ? QStringLiteral("the library cannot be opened") : status_);
    // Several records may share a path: the row is the record asked for.
    row_[HelpString] = TypeLibRecord::parse(catalogs_.TLDefs()[catalogIndex]).helpString;
}

bool HeadlessBrowser::selectType(const QString& name) {
    return browser_.selectTypeInfo(name);
}

bool HeadlessBrowser::selectMember(const QString& name) {
    for (int row = 0; row < members_.size(); ++row) {
        if (equalsText(members_[row].text, name)) {
            memberRow_ = row;
            browser_.MemberClicked(row);
            return true;
        }
    }
    return false;
}

QString HeadlessBrowser::typeKindOrderSetting() const {
    return ini_.ReadIni(settings::TKOrder);
}

int HeadlessBrowser::findLibraryRow(const QString& guid) const {
    return hasRow_ && equalsText(row_[TypeLib], guid) ? 0 : -1;
}

QString HeadlessBrowser::libraryRowText(int row, int column) const {
    return row == 0 && hasRow_ && column >= 0 && column < 4 ? row_[column] : QString();
}

void HeadlessBrowser::setLibraryRowText(int row, int column, const QString& text) {
    if (row == 0 && hasRow_ && column >= 0 && column < 4)
        row_[column] = text;
}

int HeadlessBrowser::insertLibraryRow(const QString& helpString, const QString& guid,
                                      const QString& version, qint32, const QString&) {
    hasRow_ = true;
    row_[HelpString] = helpString;
    row_[LibName] = QString();
    row_[TypeLib] = guid;
    row_[Version] = version;
    return 0;
}

DocSource HeadlessBrowser::docSource() const {
    if (!browser_.loaded())
        return {};
    return {&browser_.library(), browser_.typeInfoRows(), browser_.groupPairs()};
}

DocHead HeadlessBrowser::docHead() const {
    return {row_[LibName], row_[HelpString], path_, QString()};
}

} // namespace vantor::cli
