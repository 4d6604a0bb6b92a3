// The documentation export over Wine's libraries: names, constants, the RTF document, and the
// safety of its files.
#include "doc_test_support.h"
#include "text/text_order.h"
#include "text/win1252.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::doctest;

namespace {

QStringList linesOf(const QString& text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

TEST(MemberNames, EachNameOnceCountedBeforeDuplicatesDrop) {
    Export e(QStringLiteral("mshtml.tlb"), true);
    ASSERT_TRUE(e.ready());
    e.exporter.exportMemberNames();
    qsizetype all = 0;
    QSet<QString> expected;
    for (const GroupPair& p : e.frame.source.kindOrder)
        for (const tli::MemberView& m :
             e.opened.lib->members(e.frame.source.rows[p.row].itemData)) {
            ++all;
            expected.insert(m.name().toLower());
        }
    const QString n = QString::number(all);
    EXPECT_EQ(e.frame.statuses,
              (QStringList{"Copied " + n + " Names OK", "Writing " + n + " Names OK"}));
    const QStringList names = linesOf(e.frame.clipboard);
    EXPECT_LT(names.size(), all); // QueryInterface and the like were there many times
    QSet<QString> got;
    for (qsizetype i = 0; i < names.size(); ++i) {
        got.insert(names[i].toLower());
        if (i > 0) {
            EXPECT_LT(compareText(names[i - 1], names[i]), 0) << names[i].toStdString();
        }
    }
    EXPECT_EQ(got, expected);
    const QString file = e.file(DocOutput::MemberNames, QStringLiteral("MSHTML"));
    EXPECT_EQ(prototest::readFile(file), win1252::encode(e.frame.clipboard));
    EXPECT_EQ(e.frame.opened, QStringList{file});
    EXPECT_EQ(e.frame.busy, 0);
}

TEST(Constants, BothDialectsFollowTheValueRules) {
    struct Case {
        QString path;
        ScriptDialect dialect;
        QStringList lines;
    };
    const QString values = QStringLiteral(VANTOR_TLI_TEST_DATA "/values.tlb");
    const QList<Case> cases = {
        {prototest::wineFile("scrrun.dll"),
         ScriptDialect::VBScript,
         {"const Volume = 8", "const Directory = 16 '(&H10)",
          "const TristateTrue = -1 '(&HFFFFFFFF)", "const TristateUseDefault = -2 '(&HFFFFFFFE)"}},
        {prototest::wineFile("scrrun.dll"),
         ScriptDialect::JScript,
         {"var Volume = 8", "var Directory = 16; //(&H10)", "var TristateTrue = -1; //(&HFFFFFFFF)",
          "var TristateUseDefault = -2; //(&HFFFFFFFE)"}},
        {prototest::wineFile("mshtml.tlb"),
         ScriptDialect::VBScript,
         {"const MOVEUNIT_PREVURLEND = 15"}},
        {values, ScriptDialect::VBScript, {" 'Narrow", "const NegTwo16 = -2 '(&HFFFE)"}},
        {values, ScriptDialect::JScript, {" //Narrow", "var NegTwo16 = -2; //(&HFFFE)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        Export e(c.path, true);
        ASSERT_TRUE(e.ready());
        e.exporter.exportConstants(c.dialect);
        const QStringList lines = linesOf(e.frame.clipboard);
        for (const QString& line : c.lines)
            EXPECT_TRUE(lines.contains(line)) << line.toStdString();
        const bool vb = c.dialect == ScriptDialect::VBScript;
        const QString n =
            QString::number(lines.filter(QRegularExpression(vb ? "^const " : "^var ")).size());
        EXPECT_EQ(e.frame.statuses,
                  (QStringList{"Copied " + n + " items as code", "Writing " + n + " Names OK"}));
        const QString file =
            e.file(vb ? DocOutput::VBScript : DocOutput::JScript, e.opened.lib->name());
        EXPECT_EQ(prototest::readFile(file), win1252::encode(e.frame.clipboard + "\r\n"));
    }
}

// Groups named with a leading "_" are left out with their constants.
TEST(Constants, UnderscoreGroupsOfMshtmlAreLeftOut) {
    Export e(QStringLiteral("mshtml.tlb"), true);
    ASSERT_TRUE(e.ready());
    e.exporter.exportConstants(ScriptDialect::VBScript);
    QStringList named;
    int hidden = 0;
    for (const tli::ConstantGroup& g : e.opened.lib->constantGroups())
        g.name.startsWith(u'_') ? void(++hidden) : named.append(" '" + g.name);
    EXPECT_GT(hidden, 0);
    EXPECT_EQ(linesOf(e.frame.clipboard).filter(QRegularExpression("^ '")), named);
}

// Excel 5's SLTG library: every member of its "Constants" module (VT_INT values) is written with
// an integer value.
TEST(Constants, EveryValueOfExcel5ConstantsIsWritten) {
    Export e(QStringLiteral(VANTOR_TESTDATA_DIR "/windows-built/XL5EN32.OLB"), true);
    ASSERT_TRUE(e.ready());
    e.exporter.exportConstants(ScriptDialect::VBScript);
    const QStringList lines = linesOf(e.frame.clipboard);
    int written = 0;
    for (const tli::ConstantGroup& g : e.opened.lib->constantGroups()) {
        if (g.name != QLatin1String("Constants"))
            continue;
        for (const tli::Constant& c : g.members) {
            const QStringList hit =
                lines.filter(QRegularExpression("^const " + QRegularExpression::escape(c.name) +
                                                " = -?\\d+( '\\(&H[0-9A-F]+\\))?$"));
            EXPECT_EQ(hit.size(), 1) << c.name.toStdString();
            ++written;
        }
    }
    EXPECT_EQ(written, 808);
}
