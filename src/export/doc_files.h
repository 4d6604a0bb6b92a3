#pragma once

#include <QString>

namespace vantor {

// The documents, each with its folder under the program folder and its file name ending.
enum class DocOutput { MemberNames, VBScript, JScript, RichText, Html, Xml };

// "LibDocs/Include/AutoComplete" and the like, relative to the program folder.
QString docFolder(DocOutput output);
// ".txt", ".Inc", ".rtf", ".html", ".xml".
QString docExtension(DocOutput output);

// A library name as a file name: "/", "\" and control characters become "_", and an empty
// name, "." or ".." becomes "_", so that no library can name a file outside its folder.
QString safeFileName(const QString& libraryName);

// Creates every LibDocs folder under the program folder; false when one cannot be made.
bool createLibDocsFolders(const QString& programFolder);

} // namespace vantor
