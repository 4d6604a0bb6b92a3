// vantor-cli's documents against the window's LibDocs files for the same library.
#include "app/lib_docs_commands.h"
#include "app/main_actions.h"
#include "app/main_window.h"
#include "app/program_folder.h"
#include "app/sub_main.h"
#include "browser/library_browser.h"
#include "catalog/catalogs.h"
#include "platform/registry/test_prefix.h"
#include "platform/winpath/win_path.h"
#include "tli/search_data.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace vantor;

TEST(CliExport, WritesTheBytesTheWindowWrites) {
    registry::test::TestPrefix machine;
    ASSERT_TRUE(machine.valid());
    // Beside the program folder, as installed beside vantor: one settings file, one catalog.
    const QString cli = machine.programFolder() + QStringLiteral("/vantor-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTOR_CLI), cli));
    ASSERT_TRUE(QFile::copy(QFileInfo(QStringLiteral(VANTOR_CLI)).dir().filePath(kBuildTreeMarker),
                            machine.programFolder() + u'/' + kBuildTreeMarker));
    // The script help file, which help lookup finds for the script host's libraries.
    const QString help = winpath::PrefixPaths(machine.prefix()).windowsFolder() + "/help";
    ASSERT_TRUE(QDir().mkpath(help));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTOR_TEST_SCRIPT_CHM), help + "/script56.chm"));
    StartOptions options;
    options.args = {QStringLiteral("--prefix"), machine.prefix()};
    options.programFolder = machine.programFolder();
    options.env = QProcessEnvironment();
    options.message = [](const QString&) {};
    const std::unique_ptr<Session> session = SubMain(std::move(options));
    ASSERT_TRUE(session);
    MainWindow& window = session->window();
    const QStringList& defs = session->catalogs().TLDefs();
    const auto record = std::find_if(defs.begin(), defs.end(), [](const QString& line) {
        return line.startsWith(QLatin1String("{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}"));
    });
    ASSERT_NE(record, defs.end());
    ASSERT_TRUE(window.SelTypInfo(qint32(record - defs.begin()), QString()));
    // The state the command line documents: the library's first type selected.
    for (const tli::ListRow& row : window.browser().typeInfoRows())
        if (!tli::isGlobalsSearchData(row.itemData) && window.browser().selectTypeInfo(row.text))
            break;
    window.actions().find(QStringLiteral("docs.open"))->setChecked(false);
    QByteArray written;
    window.libDocs()->exporter().setFileWriter(
        [&written](const QString&, QByteArrayView bytes, QString*) {
            written = bytes.toByteArray();
            return true;
        });

    const std::pair<const char*, const char*> formats[] = {
        {"names", "docs.member_names"},        {"vbscript", "docs.constants.vbscript"},
        {"jscript", "docs.constants.jscript"}, {"rtf", "docs.export.rtf"},
        {"html", "docs.export.html"},          {"xml", "docs.export.xml"},
    };
    for (const auto& [format, action] : formats) {
        written.clear();
        window.actions().find(QString::fromLatin1(action))->trigger();
        ASSERT_FALSE(written.isEmpty()) << format;
        QProcess process;
        process.start(cli, {QStringLiteral("--prefix"), machine.prefix(), QStringLiteral("export"),
                            QStringLiteral("wshom.ocx"), QStringLiteral("--format"),
                            QString::fromLatin1(format)});
        ASSERT_TRUE(process.waitForFinished(60000)) << format;
        EXPECT_EQ(process.exitCode(), 0) << format << process.readAllStandardError().data();
        EXPECT_EQ(process.readAllStandardOutput(), written) << format;
        if (QLatin1String(format) == QLatin1String("rtf")) {
            EXPECT_TRUE(written.contains("HelpFile: ")) << written.left(600).data();
        }
    }
}
