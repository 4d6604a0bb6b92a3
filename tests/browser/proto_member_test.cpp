// Prototypes of real members. Every expected text is written out from the declaration rules and
// the oracle dump of the library (testdata/oracle/dumps), not taken from a run of the formatter.
#include "browser/proto_member.h"
#include "browser/proto_test_support.h"
#include "text/error.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

} // namespace

// IHost (cscript.exe): Timeout is a get (I4) and a put, one row of kinds 6.
TEST(ProtoMember, PropertyWithGetAndLet) {
    Opened host = openLibrary("cscript.exe");
    ASSERT_TRUE(host.lib) << host.error.toStdString();
    const MemberCall timeout = host.call("IHost", "Timeout");
    EXPECT_EQ(timeout.invokeKinds, 6);
    EXPECT_EQ(timeout.screen(), "Property \\cf1\\b\\f1 Timeout\\b0 \\b0\\fs18  As Long\\b0  "
                                "[Get/Let]" +
                                    screenFooter("IHost", "IHost"));
    // The put alone, as the documentation export asks for it: an unnamed Long parameter.
    const MemberCall put = host.call("IHost", "Timeout", 4);
    EXPECT_EQ(put.document(), "Property \\cf1\\b\\f1 Timeout\\b0 (\\i ByVal \\b  \\b0 As \\i0Long"
                              "\\b0\\i0 )\\b0  [o/Let]" +
                                  documentFooter());
}

// IHost.Echo: one SAFEARRAY(VARIANT) parameter, cParamsOpt -1. IHost.Quit: an INT with default 0.
TEST(ProtoMember, ParamArrayAndZeroDefault) {
    Opened host = openLibrary("cscript.exe");
    ASSERT_TRUE(host.lib);
    EXPECT_EQ(host.call("IHost", "Echo").screen(),
              "Sub \\cf1\\b\\f1 Echo\\b0 (\\i \\i0[ParamArray ByVal \\b pArgs \\b0\\i0 ()\\i  As "
              "\\i0Variant\\i \\b0\\i0 ]\\b0\\i0 )" +
                  screenFooter("IHost", "IHost"));
    EXPECT_EQ(host.call("IHost", "Quit").screen(),
              "Sub \\cf1\\b\\f1 Quit\\b0 (\\i \\i0[\\i ByVal \\b ExitCode \\b0 As \\i0Long = "
              "\\b0\\i0 ]\\b0\\i0 )" +
                  screenFooter("IHost", "IHost"));
}

// IDictionary (scrrun.dll, a hidden type): Items() returns a VARIANT; RemoveAll() nothing.
TEST(ProtoMember, MethodsWithoutParameters) {
    Opened scripting = openLibrary("scrrun.dll", true);
    ASSERT_TRUE(scripting.lib);
    const MemberCall items = scripting.call("IDictionary", "Items");
    EXPECT_EQ(items.screen(), "Function \\cf1\\b\\f1 Items\\b0 ()\\b0\\fs18  As Variant" +
                                  screenFooter("Scripting", "IDictionary"));
    EXPECT_TRUE(items.screen().startsWith("Func"));
    EXPECT_EQ(scripting.call("IDictionary", "RemoveAll").document(),
              "Sub \\cf1\\b\\f1 RemoveAll\\b0 ()" + documentFooter());
}

// IFile.OpenAsTextStream(IOMode As IOMode = 1, Format As Tristate = 0) As ITextStream: optional
// enumeration parameters whose defaults are named by the first member of that value, and
// references inside the library (IOMode is type info 7, Tristate 8, ITextStream 9). IFile and
// IFolder are hidden types.
TEST(ProtoMember, OptionalEnumerationDefaultsAndLibraryLinks) {
    Opened scripting = openLibrary("scrrun.dll", true);
    ASSERT_TRUE(scripting.lib);
    const MemberCall open = scripting.call("IFile", "OpenAsTextStream");
    EXPECT_EQ(open.screen(),
              "Function \\cf1\\b\\f1 OpenAsTextStream\\b0 (\\i \\i0[\\i \\b IOMode\\b0  As \\i0 "
              "\\cf1\\ul\\b\\v <file: \\v0 IOMode\\v |7/>\\v0\\cf0\\ulnone\\b0\\i0  = ForReading"
              "\\b0\\i0 ], \\i \\i0[\\i \\b Format\\b0  As \\i0 \\cf1\\ul\\b\\v <file: \\v0 "
              "Tristate\\v |8/>\\v0\\cf0\\ulnone\\b0\\i0  = TristateFalse\\b0\\i0 ]\\b0\\i0 )"
              "\\b0\\fs18  As \\cf1\\ul\\b \\v <file: \\v0 ITextStream\\v |9/>\\v0\\cf1\\ulnone " +
                  screenFooter("Scripting", "IFile"));
    EXPECT_EQ(open.document(),
              "Function \\cf1\\b\\f1 OpenAsTextStream\\b0 (\\i \\i0[\\i \\b IOMode\\b0  As \\i0 "
              "\\cf2\\ul\\b IOMode \\cf0\\ulnone\\b0\\i0  = ForReading\\b0\\i0 ], \\par\\tab \\i "
              "\\i0[\\i \\b Format\\b0  As \\i0 \\cf2\\ul\\b Tristate \\cf0\\ulnone\\b0\\i0  = "
              "TristateFalse\\b0\\i0 ]\\b0\\i0 )\\b0\\fs18  As \\cf2\\ul\\b ITextStream "
              "\\cf1\\ulnone " +
                  documentFooter());
    // IFolder.Copy(Destination As String, OverWriteFiles As Boolean = True).
    EXPECT_EQ(scripting.call("IFolder", "Copy").screen(),
              "Sub \\cf1\\b\\f1 Copy\\b0 (\\i ByVal \\b Destination \\b0 As \\i0String, \\i "
              "\\i0[\\i ByVal \\b OverWriteFiles \\b0 As \\i0Boolean = True\\b0\\i0 ]\\b0\\i0 )" +
                  screenFooter("Scripting", "IFolder"));
}

// IHTMLWindow2.prompt(message As String = "", defstr As String = "undefined") As Variant.
TEST(ProtoMember, StringDefaults) {
    Opened html = openLibrary("mshtml.tlb");
    ASSERT_TRUE(html.lib);
    EXPECT_EQ(html.call("IHTMLWindow2", "prompt").screen(),
              "Function \\cf1\\b\\f1 prompt\\b0 (\\i \\i0[\\i ByVal \\b message \\b0 As \\i0String "
              "= \\b0\\i0 ], \\i \\i0[\\i ByVal \\b defstr \\b0 As \\i0String = \"undefined\""
              "\\b0\\i0 ]\\b0\\i0 )\\b0\\fs18  As Variant" +
                  screenFooter("MSHTML", "IHTMLWindow2"));
}

// FileAttribute.Archive = 32, Tristate.TristateTrue = -1, TristateUseDefault = -2,
// IOMode.ForAppending = 8 (all I4 values of enumerations).
TEST(ProtoMember, Constants) {
    Opened scripting = openLibrary("scrrun.dll");
    ASSERT_TRUE(scripting.lib);
    EXPECT_EQ(scripting.call("FileAttribute", "Archive").screen(),
              "Const \\cf1\\b\\f1 Archive\\b0 \\b0\\i0  = \\cf4 32 (&H20)\\cf0" +
                  screenFooter("Scripting", "FileAttribute"));
    EXPECT_EQ(scripting.call("Tristate", "TristateTrue").document(),
              "Const \\cf1\\b\\f1 TristateTrue\\b0 \\b0\\i0  = \\cf4 -1 (&HFFFFFFFF)\\cf0" +
                  documentFooter());
    EXPECT_EQ(scripting.call("Tristate", "TristateUseDefault").document(),
              "Const \\cf1\\b\\f1 TristateUseDefault\\b0 \\b0\\i0  = \\cf4 -2 (&HFFFFFFFE)\\cf0" +
                  documentFooter());
    EXPECT_EQ(scripting.call("IOMode", "ForAppending").document(),
              "Const \\cf1\\b\\f1 ForAppending\\b0 \\b0\\i0  = \\cf4 8\\cf0" + documentFooter());
}

// activeds.tlb: the record behind ADS_POSTALADDRESS holds PostalAddress, CARRAY(LPWSTR;[0:6]):
// lower bound 0 and 6 elements, so indexes 0 to 5.
TEST(ProtoMember, FixedArrayField) {
    Opened ads = openLibrary("activeds.tlb");
    ASSERT_TRUE(ads.lib);
    const MemberCall field =
        ads.call("__WIDL_activeds_tlb_generated_name_00000019", "PostalAddress");
    EXPECT_EQ(field.screen(),
              "Property \\cf1\\b\\f1 PostalAddress\\b0 \\b0\\fs18 (0 to 5) As String\\b0  "
              "[Get/Let]" +
                  screenFooter("ActiveDs", "__WIDL_activeds_tlb_generated_name_00000019"));
}

// IDictionary.QueryInterface (restricted: listed with every member shown): riid is a pointer
// to stdole's GUID record (no ByVal: a record), ppvObj a void** (ByVal, no Basic name: Any).
TEST(ProtoMember, ReferencesIntoAnotherLibrary) {
    Opened scripting = openLibrary("scrrun.dll", true);
    ASSERT_TRUE(scripting.lib);
    const MemberCall qi = scripting.call("IDictionary", "QueryInterface");
    EXPECT_EQ(qi.screen(),
              "Sub \\cf1\\b\\f1 QueryInterface\\b0 (\\i \\b riid\\b0 \\b0\\i0   As \\cf2\\ul\\b "
              "\\v <file: \\v0 stdole.GUID\\v |\\{00020430-0000-0000-C000-000000000046\\}:2.0.GUID"
              "> \\v0\\cf0\\ulnone \\cf0\\b0\\i0 , \\i ByVal \\b ppvObj \\b0 As \\i0Any\\b0\\i0 )" +
                  screenFooter("Scripting", "IDictionary"));
    EXPECT_EQ(qi.document(),
              "Sub \\cf1\\b\\f1 QueryInterface\\b0 (\\i \\b riid\\b0 \\b0\\i0   As \\cf2\\ul\\b "
              "stdole.GUID\\cf0\\ulnone \\cf0\\b0\\i0 , \\par\\tab \\i ByVal \\b ppvObj \\b0 As "
              "\\i0Any\\b0\\i0 )" +
                  documentFooter());

    // atl.dll's IAxWinAmbientDispatch.Font: a get returning, and a put taking, stdole's
    // IFontDisp (a dispatch interface: ByVal).
    Opened atl = openLibrary("atl.dll");
    ASSERT_TRUE(atl.lib);
    EXPECT_EQ(atl.call("IAxWinAmbientDispatch", "Font", 2).screen(),
              "Property \\cf1\\b\\f1 Font\\b0 \\b0\\i0  As \\cf2\\ul\\b stdole.IFontDisp "
              "\\cf1\\ulnone \\b0  [Get/o]" +
                  screenFooter("ATLLib", "IAxWinAmbientDispatch"));
    EXPECT_EQ(atl.call("IAxWinAmbientDispatch", "Font", 4).screen(),
              "Property \\cf1\\b\\f1 Font\\b0 (\\i ByVal \\b \\b0 \\b0\\i0   As \\cf2\\ul\\b \\v "
              "<file: \\v0 stdole.IFontDisp\\v |\\{00020430-0000-0000-C000-000000000046\\}:2.0."
              "IFontDisp> \\v0\\cf0\\ulnone \\cf0\\b0\\i0 \\b0\\i0 )\\b0  [o/Let]" +
                  screenFooter("ATLLib", "IAxWinAmbientDispatch"));
}

// stdole2's StdFunctions is a module: LoadPicture keeps its HRESULT (a Sub) and its retval
// parameter, a pointer to a pointer to IPictureDisp (an alias of the Picture dispinterface).
TEST(ProtoMember, ModuleFunctionKeepsItsRetval) {
    Opened stdole = openLibrary("stdole2.tlb");
    ASSERT_TRUE(stdole.lib);
    const MemberCall load = stdole.call("StdFunctions", "LoadPicture");
    EXPECT_EQ(load.screen(),
              "Sub \\cf1\\b\\f1 LoadPicture\\b0 (\\i \\i0[\\i ByVal \\b filename \\b0\\b0\\i0 ], "
              "\\i \\i0[\\i ByVal \\b widthDesired \\b0 As \\i0Long = \\b0\\i0 ], \\i \\i0[\\i "
              "ByVal \\b heightDesired \\b0 As \\i0Long = \\b0\\i0 ], \\i \\i0[\\i \\b flags\\b0  "
              "As \\i0 \\cf1\\ul\\b\\v <file: \\v0 LoadPictureConstants\\v |38/>\\v0\\cf0\\ulnone"
              "\\b0\\i0  = Default\\b0\\i0 ], \\i ByVal \\b retval\\b0  As \\i0 \\cf1\\ul\\b\\v "
              "<file: \\v0 IPictureDisp\\v |36/>\\v0\\cf0\\ulnone\\b0\\i0 \\b0\\i0 )" +
                  screenFooter("stdole", "StdFunctions", "Loads a picture from a file"));
    // No help file: the help context is left alone.
    EXPECT_TRUE(load.helpContexts.isEmpty());
}

// IPicture is a plain (non-dual, hidden) interface: its property gets keep the HRESULT and show
// the [retval] parameter; OLE_HANDLE (type info 19) is an alias of a base type, so no ByVal.
TEST(ProtoMember, NonDualInterfaceKeepsRetval) {
    Opened stdole = openLibrary("stdole2.tlb", true);
    ASSERT_TRUE(stdole.lib);
    const MemberCall type = stdole.call("IPicture", "Type");
    EXPECT_EQ(type.invokeKinds, 2);
    EXPECT_EQ(type.screen(), "Property \\cf1\\b\\f1 Type\\b0 (\\i \\b ptype \\b0 As \\i0Integer"
                             "\\b0\\i0 )\\b0  [Get/o]" +
                                 screenFooter("stdole", "IPicture"));
    EXPECT_EQ(stdole.call("IPicture", "Handle").screen(),
              "Property \\cf1\\b\\f1 Handle\\b0 (\\i \\b phandle\\b0  As \\i0 \\cf1\\ul\\b\\v "
              "<file: \\v0 OLE_HANDLE\\v |19/>\\v0\\cf0\\ulnone\\b0\\i0 \\b0\\i0 )\\b0  [Get/o]" +
                  screenFooter("stdole", "IPicture"));
}

// The same library with a help file named in its header (the library's help string offset
// written into the help-file field): the member's help context reaches the frame, after a 0.
// A NUL written into LoadPicture's help string ends the text shown.
TEST(ProtoMember, HelpContextGoesToTheFrame) {
    QByteArray bytes = readBytes(wineFile("stdole2.tlb"));
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
    QFile out(dir.filePath("stdole2.tlb"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    out.close();

    Opened stdole = openPath(out.fileName());
    ASSERT_TRUE(stdole.lib) << stdole.error.toStdString();
    EXPECT_EQ(stdole.lib->helpFile(), "OLE Automation");
    const MemberCall load = stdole.call("StdFunctions", "LoadPicture");
    EXPECT_EQ(load.helpContexts, (QList<qint32>{0, 10101, 0, 10101})) << "once per form";
    EXPECT_TRUE(load.screen().endsWith("member of \\f0\\fs18 \\cf2\\ul\\b\\f1\\fs18 "
                                       "stdole.StdFunctions\\cf0\\ulnone\\b0\\f0\\fs18 "
                                       "\\par \r\n\\cf1\\f1\\fs18   Loads a  \\f2\\par "))
        << load.screen().toStdString();
}

TEST(ProtoMember, MissingMemberIsAnError) {
    Opened scripting = openLibrary("scrrun.dll", true);
    ASSERT_TRUE(scripting.lib);
    const qint32 row = scripting.searchData("IFile");
    ASSERT_NE(row, -1);
    RecordingFrame frame;
    try {
        ProtoMember(*scripting.lib, row, 1, -1, "NoSuchMember", 1, frame);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_FALSE(e.description().isEmpty());
    }
}
