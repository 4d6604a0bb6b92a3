#include "catalog/catalog_summary.h"

namespace vantor {
namespace {

constexpr auto kParagraph =
    "\\viewkind4\\uc1\\pard\\nowidctlpar\\fi-5\\li84\\ri55\\lang2057\\f0\\fs18 {";

} // namespace

QString summaryRtfHeader() {
    return QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\\deflangfe1033{\\fonttbl{\\f0"
        "\\fswiss\\fprq2\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Arial;}{\\f2\\fnil"
        "\\fcharset0 Times New Roman;}}\r\n"
        "{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green128\\blue0;}\r\n");
}

QString directLoadSummary(qint32 typeLibCount, qint32 progIdCount) {
    return summaryRtfHeader() + QLatin1String(kParagraph) + QStringLiteral("\r\n") +
           QStringLiteral(" Definitions DB: \\b %1\\b0 \\i  TypeLibs, \\b \\i0 \r\n")
               .arg(typeLibCount) +
           QStringLiteral("%1\\b0\\i  ProgIDs \\i0 loaded from CSV \\cf0\\b\\f0\\fs18  \\par\r\n")
               .arg(progIdCount) +
           QStringLiteral("}");
}

QString rebuildSummary(qint32 typeLibCount, qint32 progIdCount) {
    return summaryRtfHeader() + QLatin1String(kParagraph) +
           QStringLiteral("Definitions DB: \\b %1\\b0\\i  TypeLibs, \\b %2\\b0\\i  ProgIDs. "
                          "\\cf0\\b\\f0\\fs18  \\par\r\n}")
               .arg(typeLibCount)
               .arg(progIdCount);
}

} // namespace vantor
