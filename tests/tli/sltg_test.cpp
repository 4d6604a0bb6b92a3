#include "text/error.h"
#include "tli/session.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"
#include "tli_machine.h"
#include "tli_test_support.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

namespace {

const QString kBuilt = QStringLiteral(VANTOR_TESTDATA_DIR "/windows-built");

std::shared_ptr<const TypeLib> loadBuilt(PrefixMachine& machine, const char* file) {
    return loadTypeLib(kBuilt + u'/' + QLatin1String(file), machine.app().session().get());
}

// Our dump with each function the type services could not read (their dump: "func index=N
// ERR(...)", no parameters) replaced by their line; `replaced` counts them.
QByteArray asFailedByOracle(const QByteArray& ours, const QByteArray& oracle, int& replaced) {
    static const QRegularExpression failed(QStringLiteral("^ *func index=\\d+ ERR\\("));
    const QList<QByteArray> mine = ours.split('\n');
    QList<QByteArray> out;
    qsizetype j = 0;
    for (const QByteArray& line : oracle.split('\n')) {
        if (j >= mine.size())
            break;
        if (!failed.match(QString::fromLatin1(line)).hasMatch()) {
            out.push_back(mine[j++]);
            continue;
        }
        if (!mine[j].startsWith(line.left(line.indexOf(" ERR(") + 1)))
            return "func line " + mine[j] + " where the oracle has " + line;
        ++replaced;
        const qsizetype indent = line.indexOf('f');
        for (++j; j < mine.size() && mine[j].indexOf("param ") == indent + 2;)
            ++j;
        out.push_back(line);
    }
    while (j < mine.size())
        out.push_back(mine[j++]);
    return out.join('\n');
}

} // namespace

// The two SLTG libraries against the type services' dumps, over the test prefix's registry
// (their imports of stdole 1.0 resolve through it); for Excel 5 the services read none of the
// function records, and those lines alone are left out of the comparison.
TEST(Sltg, DumpsLikeTheTypeServices) {
    PrefixMachine machine;
    ASSERT_TRUE(machine.valid());
    for (const auto& [file, failedFuncs] : {std::pair{"olepro32.dll", 0}, {"XL5EN32.OLB", 1387}}) {
        SCOPED_TRACE(file);
        const QByteArray oracle = readFile(kBuilt + u'/' + QLatin1String(file) + ".txt");
        ASSERT_FALSE(oracle.isEmpty());
        int replaced = 0;
        const QByteArray ours =
            asFailedByOracle(dumpTypeLib(*loadBuilt(machine, file)), oracle, replaced);
        EXPECT_TRUE(ours == oracle) << firstDifference(ours, oracle);
        EXPECT_EQ(replaced, failedFuncs);
    }
}

// What the services could not show of Excel 5, against its documented object model:
// Workbooks.Open(FileName, UpdateLinks, ReadOnly, Format, Password, WriteResPassword,
// IgnoreReadOnlyRecommended, Origin, Delimiter, Editable, Notify, Converter), all but the
// first optional; Workbook.ChangeFileAccess(Mode, WritePassword, Notify).
TEST(Sltg, ExcelObjectModel) {
    PrefixMachine machine;
    const auto lib = loadBuilt(machine, "XL5EN32.OLB");
    auto params = [&](const char* type, const char* member) {
        QStringList names;
        for (const TypeInfo& info : lib->typeInfos())
            for (const Func& f : lib->funcs(info))
                if (info.name == QLatin1String(type) && f.name == QLatin1String(member))
                    for (const Param& p : lib->params(f))
                        names << p.name + (p.flags & 0x10 ? QStringLiteral("?") : QString());
        return names.join(u',').toLower();
    };
    EXPECT_EQ(params("Workbooks", "Open"),
              "filename,updatelinks?,readonly?,format?,password?,writerespassword?,"
              "ignorereadonlyrecommended?,origin?,delimiter?,editable?,notify?,converter?");
    EXPECT_EQ(params("Workbook", "ChangeFileAccess").remove(u'?'), "mode,writepassword,notify");
    for (const TypeInfo& info : lib->typeInfos()) {
        if (info.name != QLatin1String("Constants"))
            continue;
        EXPECT_EQ(lib->vars(info).size(), 808u);
        for (const Var& v : lib->vars(info)) {
            ASSERT_EQ(lib->value(v.value).vt, vt::Int) << v.name.toStdString();
        }
    }
}
