// Prototypes of real members: both forms, rendered as the pane shows them, and from damaged
// copies. Every expected text is written out from the declaration rules and the oracle dump of
// the library (testdata/oracle/dumps), not taken from a run of the formatter.
#include "app/settings_keys.h"
#include "browser/proto_test_support.h"
#include "browser/rtf_document.h"
#include "browser/rtf_text.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>
#include <random>

using namespace vantor;
using namespace vantor::prototest;

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The footer as the screen form ends every prototype.
QString screenFooter(const QString& library, const QString& type, const QString& help = {}) {
    return "\\cf0\\b\\f0\\fs18 \\par " + CrLf + "\\b0 \\cf1\\f1\\fs16" + "   member of " +
           "\\f0\\fs18 \\cf2\\ul\\b\\f1\\fs18 " + library + "." + type +
           "\\cf0\\ulnone\\b0\\f0\\fs18 \\par " + CrLf + "\\cf1\\f1\\fs18   " + help +
           " \\f2\\par ";
}
QString documentFooter(const QString& help = {}) {
    return "\\cf0\\b\\f0\\fs18 \\par " + CrLf + "\\b0 \\cf1\\f1\\fs16" + "\\cf1\\f1\\fs18   " +
           help + " \\f2\\par ";
}

// A member's expected prototype: the screen form (with the footer naming `library`.`type`) or
// the document form; `kinds` 0 takes the invoke kinds of the member's row.
struct Golden {
    const char* name;
    const char* file;
    bool showAll; // hidden and restricted types and members listed
    const char* type;
    const char* member;
    qint32 kinds;
    const char* library; // null: the document form
    QString text;
    const char* help = "";
};

// Written from the declaration rules and the oracle dumps.
const Golden kGolden[] = {
    // IHost.Timeout: a get (I4) and a put in one row; the put alone is an unnamed Long parameter.
    {"GetAndLet", "cscript.exe", false, "IHost", "Timeout", 0, "IHost",
     "Property \\cf1\\b\\f1 Timeout\\b0 \\b0\\fs18  As Long\\b0  [Get/Let]"},
    {"PutAlone", "cscript.exe", false, "IHost", "Timeout", 4, nullptr,
     "Property \\cf1\\b\\f1 Timeout\\b0 (\\i ByVal \\b  \\b0 As \\i0Long\\b0\\i0 )\\b0  [o/Let]"},
    // IHost.Echo: one SAFEARRAY(VARIANT) parameter, cParamsOpt -1; Quit: an INT, default 0.
    {"ParamArray", "cscript.exe", false, "IHost", "Echo", 0, "IHost",
     "Sub \\cf1\\b\\f1 Echo\\b0 (\\i \\i0[ParamArray ByVal \\b pArgs \\b0\\i0 ()\\i  As "
     "\\i0Variant\\i \\b0\\i0 ]\\b0\\i0 )"},
    {"ZeroDefault", "cscript.exe", false, "IHost", "Quit", 0, "IHost",
     "Sub \\cf1\\b\\f1 Quit\\b0 (\\i \\i0[\\i ByVal \\b ExitCode \\b0 As \\i0Long = \\b0\\i0 ]"
     "\\b0\\i0 )"},
    // IDictionary (scrrun.dll, a hidden type): Items() returns a VARIANT.
    {"FunctionWithoutParameters", "scrrun.dll", true, "IDictionary", "Items", 0, "Scripting",
     "Function \\cf1\\b\\f1 Items\\b0 ()\\b0\\fs18  As Variant"},
    // IFile.OpenAsTextStream(IOMode As IOMode = 1, Format As Tristate = 0) As ITextStream:
    // defaults named by the enumeration's member, links inside the library (type infos 7, 8, 9).
    {"EnumerationDefaultsAndLinks", "scrrun.dll", true, "IFile", "OpenAsTextStream", 0, "Scripting",
     "Function \\cf1\\b\\f1 OpenAsTextStream\\b0 (\\i \\i0[\\i \\b IOMode\\b0  As \\i0 "
     "\\cf1\\ul\\b\\v <file: \\v0 IOMode\\v |7/>\\v0\\cf0\\ulnone\\b0\\i0  = ForReading"
     "\\b0\\i0 ], \\i \\i0[\\i \\b Format\\b0  As \\i0 \\cf1\\ul\\b\\v <file: \\v0 "
     "Tristate\\v |8/>\\v0\\cf0\\ulnone\\b0\\i0  = TristateFalse\\b0\\i0 ]\\b0\\i0 )"
     "\\b0\\fs18  As \\cf1\\ul\\b \\v <file: \\v0 ITextStream\\v |9/>\\v0\\cf1\\ulnone "},
    // IFolder.Copy(Destination As String, OverWriteFiles As Boolean = True).
    {"BooleanDefault", "scrrun.dll", true, "IFolder", "Copy", 0, "Scripting",
     "Sub \\cf1\\b\\f1 Copy\\b0 (\\i ByVal \\b Destination \\b0 As \\i0String, \\i "
     "\\i0[\\i ByVal \\b OverWriteFiles \\b0 As \\i0Boolean = True\\b0\\i0 ]\\b0\\i0 )"},
    // IHTMLWindow2.prompt(message As String = "", defstr As String = "undefined") As Variant.
    {"StringDefaults", "mshtml.tlb", false, "IHTMLWindow2", "prompt", 0, "MSHTML",
     "Function \\cf1\\b\\f1 prompt\\b0 (\\i \\i0[\\i ByVal \\b message \\b0 As \\i0String "
     "= \\b0\\i0 ], \\i \\i0[\\i ByVal \\b defstr \\b0 As \\i0String = \"undefined\""
     "\\b0\\i0 ]\\b0\\i0 )\\b0\\fs18  As Variant"},
    // An I4 value of an enumeration (the value rules are ProtoRules.ConstantValues).
    {"Constant", "scrrun.dll", false, "FileAttribute", "Archive", 0, "Scripting",
     "Const \\cf1\\b\\f1 Archive\\b0 \\b0\\i0  = \\cf4 32 (&H20)\\cf0"},
    // The record behind ADS_POSTALADDRESS: PostalAddress, CARRAY(LPWSTR;[0:6]), indexes 0 to 5.
    {"FixedArrayField", "activeds.tlb", false, "__WIDL_activeds_tlb_generated_name_00000019",
     "PostalAddress", 0, "ActiveDs",
     "Property \\cf1\\b\\f1 PostalAddress\\b0 \\b0\\fs18 (0 to 5) As String\\b0  [Get/Let]"},
    // IDictionary.QueryInterface (restricted): riid points to stdole's GUID record (no ByVal),
    // ppvObj a void** (ByVal, no Basic name: Any).
    {"ReferenceIntoAnotherLibrary", "scrrun.dll", true, "IDictionary", "QueryInterface", 0,
     "Scripting",
     "Sub \\cf1\\b\\f1 QueryInterface\\b0 (\\i \\b riid\\b0 \\b0\\i0   As \\cf2\\ul\\b "
     "\\v <file: \\v0 stdole.GUID\\v |\\{00020430-0000-0000-C000-000000000046\\}:2.0.GUID"
     "> \\v0\\cf0\\ulnone \\cf0\\b0\\i0 , \\i ByVal \\b ppvObj \\b0 As \\i0Any\\b0\\i0 )"},
    {"ReferenceIntoAnotherLibraryDocument", "scrrun.dll", true, "IDictionary", "QueryInterface", 0,
     nullptr,
     "Sub \\cf1\\b\\f1 QueryInterface\\b0 (\\i \\b riid\\b0 \\b0\\i0   As \\cf2\\ul\\b "
     "stdole.GUID\\cf0\\ulnone \\cf0\\b0\\i0 , \\par\\tab \\i ByVal \\b ppvObj \\b0 As "
     "\\i0Any\\b0\\i0 )"},
    // atl.dll's IAxWinAmbientDispatch.Font: stdole's IFontDisp (a dispatch interface: ByVal).
    {"ExternalGet", "atl.dll", false, "IAxWinAmbientDispatch", "Font", 2, "ATLLib",
     "Property \\cf1\\b\\f1 Font\\b0 \\b0\\i0  As \\cf2\\ul\\b stdole.IFontDisp \\cf1\\ulnone "
     "\\b0  [Get/o]"},
    {"ExternalPut", "atl.dll", false, "IAxWinAmbientDispatch", "Font", 4, "ATLLib",
     "Property \\cf1\\b\\f1 Font\\b0 (\\i ByVal \\b \\b0 \\b0\\i0   As \\cf2\\ul\\b \\v "
     "<file: \\v0 stdole.IFontDisp\\v |\\{00020430-0000-0000-C000-000000000046\\}:2.0."
     "IFontDisp> \\v0\\cf0\\ulnone \\cf0\\b0\\i0 \\b0\\i0 )\\b0  [o/Let]"},
    // A module function keeps its HRESULT (a Sub) and its retval, a pointer to IPictureDisp.
    {"ModuleFunctionRetval", "stdole2.tlb", false, "StdFunctions", "LoadPicture", 0, "stdole",
     "Sub \\cf1\\b\\f1 LoadPicture\\b0 (\\i \\i0[\\i ByVal \\b filename \\b0\\b0\\i0 ], "
     "\\i \\i0[\\i ByVal \\b widthDesired \\b0 As \\i0Long = \\b0\\i0 ], \\i \\i0[\\i "
     "ByVal \\b heightDesired \\b0 As \\i0Long = \\b0\\i0 ], \\i \\i0[\\i \\b flags\\b0  "
     "As \\i0 \\cf1\\ul\\b\\v <file: \\v0 LoadPictureConstants\\v |38/>\\v0\\cf0\\ulnone"
     "\\b0\\i0  = Default\\b0\\i0 ], \\i ByVal \\b retval\\b0  As \\i0 \\cf1\\ul\\b\\v "
     "<file: \\v0 IPictureDisp\\v |36/>\\v0\\cf0\\ulnone\\b0\\i0 \\b0\\i0 )",
     "Loads a picture from a file"},
    // IPicture is a plain (non-dual, hidden) interface: its gets keep the [retval] parameter;
    // OLE_HANDLE (type info 19) is an alias of a base type, so no ByVal.
    {"NonDualRetval", "stdole2.tlb", true, "IPicture", "Type", 0, "stdole",
     "Property \\cf1\\b\\f1 Type\\b0 (\\i \\b ptype \\b0 As \\i0Integer\\b0\\i0 )\\b0  [Get/o]"},
    {"NonDualAliasRetval", "stdole2.tlb", true, "IPicture", "Handle", 0, "stdole",
     "Property \\cf1\\b\\f1 Handle\\b0 (\\i \\b phandle\\b0  As \\i0 \\cf1\\ul\\b\\v "
     "<file: \\v0 OLE_HANDLE\\v |19/>\\v0\\cf0\\ulnone\\b0\\i0 \\b0\\i0 )\\b0  [Get/o]"},
};

class ProtoMemberGolden : public ::testing::TestWithParam<Golden> {};

} // namespace

TEST_P(ProtoMemberGolden, FormsAsWritten) {
    const Golden& g = GetParam();
    const Opened lib = openLibrary(QLatin1String(g.file), g.showAll);
    ASSERT_TRUE(lib.lib) << lib.error.toStdString();
    const MemberCall call = lib.call(QLatin1String(g.type), QLatin1String(g.member), g.kinds);
    const QString footer = g.library ? screenFooter(QLatin1String(g.library), QLatin1String(g.type),
                                                    QLatin1String(g.help))
                                     : documentFooter(QLatin1String(g.help));
    EXPECT_EQ(g.library ? call.screen : call.document, g.text + footer);
    // No help file: the help context is left alone.
    EXPECT_TRUE(call.helpContexts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Wine, ProtoMemberGolden, ::testing::ValuesIn(kGolden),
                         [](const auto& info) { return std::string(info.param.name); });

// The same library with a help file named in its header (the library's help string offset
// written into the help-file field): the member's help context reaches the frame, after a 0.
// A NUL written into LoadPicture's help string ends the text shown.
TEST(ProtoMember, HelpContextGoesToTheFrame) {
    QByteArray bytes = readFile(wineFile("stdole2.tlb"));
    const qsizetype msft = bytes.indexOf("MSFT");
    ASSERT_GE(msft, 0);
    auto field = [&](int offset) { return bytes.mid(msft + offset, 4); };
    ASSERT_NE(field(0x24), QByteArray(4, '\xFF')) << "stdole2 has a library help string";
    bytes.replace(msft + 0x3C, 4, field(0x24));
    bytes[msft + 0x14] = char(bytes[msft + 0x14] | 0x10);
    const qsizetype help = bytes.indexOf("Loads a picture from a file");
    ASSERT_GT(help, msft);
    bytes[help + 8] = '\0';
    QTemporaryDir dir;
    ASSERT_TRUE(writeFile(dir.filePath("stdole2.tlb"), bytes));
    Opened stdole = openPath(dir.filePath("stdole2.tlb"));
    ASSERT_TRUE(stdole.lib) << stdole.error.toStdString();
    EXPECT_EQ(stdole.lib->helpFile(), "OLE Automation");
    const MemberCall load = stdole.call("StdFunctions", "LoadPicture");
    EXPECT_EQ(load.helpContexts, (QList<qint32>{0, 10101, 0, 10101})) << "once per form";
    EXPECT_TRUE(load.screen.endsWith("member of \\f0\\fs18 \\cf2\\ul\\b\\f1\\fs18 "
                                     "stdole.StdFunctions\\cf0\\ulnone\\b0\\f0\\fs18 "
                                     "\\par \r\n\\cf1\\f1\\fs18   Loads a  \\f2\\par "))
        << load.screen.toStdString();
}

TEST(ProtoMember, MissingMemberIsAnError) {
    EXPECT_TRUE(openLibrary("scrrun.dll", true)
                    .call("IFile", "NoSuchMember", 1)
                    .screen.startsWith("error: "));
}

namespace {

void renderPane(const QString& fragment, QTextDocument& doc) {
    renderRtf(paneRtfHeader(QString::fromLatin1(settings::ClrTbl.defaultValue)) + fragment, doc);
}

// The document's runs of visible text with their formats.
QList<QTextFragment> runs(const QTextDocument& doc) {
    QList<QTextFragment> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.append(it.fragment());
    return out;
}

QMap<QString, QString> anchors(const QTextDocument& doc) {
    QMap<QString, QString> out;
    for (const QTextFragment& f : runs(doc))
        if (f.charFormat().isAnchor())
            out.insert(f.text(), f.charFormat().anchorHref());
    return out;
}

// The format of the last run with this text (a link comes after a parameter of its name).
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text) {
    QTextCharFormat format;
    for (const QTextFragment& f : runs(doc))
        if (f.text() == text)
            format = f.charFormat();
    return format;
}

} // namespace

TEST(ProtoRender, WhatAPersonReadsAndClicks) {
    Opened scripting = openLibrary("scrrun.dll", true);
    ASSERT_TRUE(scripting.lib);
    QTextDocument doc;
    renderPane(scripting.call("IFile", "OpenAsTextStream").screen, doc);
    EXPECT_EQ(doc.toPlainText(),
              "Function OpenAsTextStream([IOMode As IOMode = ForReading], [Format As Tristate = "
              "TristateFalse]) As ITextStream\n  member of Scripting.IFile\n   \n");
    // A click reports the text between the angle brackets: the type info's number inside the
    // library.
    const QMap<QString, QString> links = anchors(doc);
    EXPECT_EQ(links, (QMap<QString, QString>{{"IOMode", "file: IOMode|7/"},
                                             {"Tristate", "file: Tristate|8/"},
                                             {"ITextStream", "file: ITextStream|9/"}}));
    const QTextCharFormat name = formatOf(doc, "OpenAsTextStream");
    EXPECT_EQ(name.fontWeight(), QFont::Bold);
    EXPECT_EQ(name.foreground().color(), QColor(0, 0, 0));
    EXPECT_EQ(name.fontFamilies().toStringList(), QStringList{"Liberation Sans"}); // Arial here
    EXPECT_EQ(name.fontPointSize(), 9);
    EXPECT_TRUE(formatOf(doc, "IOMode").fontUnderline());

    // A constant's value in red.
    renderPane(scripting.call("FileAttribute", "Archive").screen, doc);
    EXPECT_EQ(doc.toPlainText(), "Const Archive = 32 (&H20)\n  member of Scripting.FileAttribute\n"
                                 "   \n");
    EXPECT_EQ(formatOf(doc, "32 (&H20)").foreground().color(), QColor(220, 40, 40));
}

namespace {

// Every member of every listed type formatted in both forms; the descriptions of the errors.
int formatEveryMember(const tli::TypeLibInfo& lib, QStringList& errors) {
    RecordingFrame frame;
    int formatted = 0;
    for (const tli::ListRow& type : lib.typeInfoRows())
        for (const tli::ListRow& member : lib.memberRows(type.itemData))
            for (qint32 mode : {1, 2}) {
                try {
                    ProtoMember(lib, type.itemData, member.itemData, -1, member.text, mode, frame);
                    ++formatted;
                } catch (const Error& e) {
                    errors << member.text + QStringLiteral(": ") + e.description();
                }
            }
    return formatted;
}

} // namespace

// Damaged copies: a prototype or an error that says what is wrong.
TEST(ProtoMemberDamage, CorruptedStdole2) {
    const QByteArray original = readFile(wineFile("stdole2.tlb"));
    const qsizetype msft = original.indexOf("MSFT");
    ASSERT_GE(msft, 0);
    QTemporaryDir dir;
    std::mt19937 random(7);
    int opened = 0, formatted = 0;
    QStringList errors;
    for (int copy = 0; copy < 300; ++copy) {
        // A few bytes of the library changed, or the library cut short.
        QByteArray bytes = original;
        if (copy % 10 == 9) {
            bytes.truncate(msft + qsizetype(random() % quint32(original.size() - msft)));
        } else {
            for (int k = 0; k < 1 + copy % 4; ++k)
                bytes[msft + qsizetype(random() % quint32(original.size() - msft))] =
                    char(random());
        }
        const QString path = dir.filePath(QStringLiteral("copy%1.tlb").arg(copy));
        ASSERT_TRUE(writeFile(path, bytes));
        const Opened lib = openPath(path, true);
        if (!lib.lib)
            continue;
        ++opened;
        try {
            formatted += formatEveryMember(*lib.lib, errors);
        } catch (const Error&) {
            // The lists themselves may refuse a damaged library.
        }
    }
    EXPECT_GT(opened, 30);
    EXPECT_GT(formatted, 1000);
    EXPECT_TRUE(errors.filter(QRegularExpression(QStringLiteral(": $"))).isEmpty());
}

// The libraries in the older SLTG format: every member of every type formats in both forms.
TEST(ProtoMember, EveryMemberOfTheSltgLibraries) {
    for (const char* file : {"olepro32.dll", "XL5EN32.OLB"}) {
        const Opened lib =
            openPath(QStringLiteral(VANTOR_TESTDATA_DIR "/windows-built/") + file, true);
        ASSERT_TRUE(lib.lib) << lib.error.toStdString();
        QStringList errors;
        EXPECT_GT(formatEveryMember(*lib.lib, errors), 100) << file;
        EXPECT_TRUE(errors.isEmpty()) << file << " " << errors.value(0).toStdString();
    }
}
