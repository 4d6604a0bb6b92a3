#pragma once

#include "catalog/type_lib_record.h"
#include "tli/type_lib_info.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The context menu's clipboard texts, each made from plain data, with the status line that
// reports it.
namespace vantor::snippets {

struct Snippet {
    QString text;   // for the clipboard
    QString status; // for the status line
};

// "Copy Creatable ProgID": the five forms of creating the class, in the submenu's order.
enum class CreationForm { String, JScript, VBScript, Perl, Python };
Snippet creation(CreationForm form, const QString& progId);
// The class a type row stands for when looked up for its ProgID: a fixed one for the two
// interfaces whose own GUID names no class, else the type's own GUID.
QString creatableClassId(const QString& rowCaption, const QString& typeGuid);
inline const QString kNotCreatable = QStringLiteral("Failed - Not Creatable...");

// The library references; `path` is the library file the reference names, `lcid` its locale.
Snippet vbReference(const TypeLibRecord& record, quint32 lcid, const QString& path);
Snippet wshReference(const TypeLibRecord& record);
inline const QString kChooseTypeLib = QStringLiteral("Scroll down and choose a TypeLib");

// "&Copy": one member line as displayed.
Snippet memberLine(const QString& line);
// "Copy All Members": every line, each ended by CR LF.
Snippet allMembers(const QStringList& lines);
// "Copy All Constants as Code": one declaration per member (members that are not integer or
// string constants get no value); `listLines` is the member list's line count.
Snippet constantsAsCode(const QList<tli::Constant>& members, qsizetype listLines);
// "Copy HTML Object Tag Reference"; an empty GUID gives an empty class id.
Snippet objectTag(const QString& typeGuid);

// "Copy TypeInfo" in the submenu's order.
enum class TypeInfoForm { Guid, Anchor, Url };
Snippet typeInfo(TypeInfoForm form, const QString& typeGuid, const QString& libraryGuid, int major,
                 int minor, const QString& rowCaption);

// "Get Definition Details": the catalogs' sizes as reported (records + 1) and when the ProgID
// catalog was written.
QString definitionDetails(qsizetype progIdSize, qsizetype typeLibSize,
                          const QDateTime& progIdCatalogWritten);

} // namespace vantor::snippets
