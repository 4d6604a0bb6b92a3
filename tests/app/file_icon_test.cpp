#include "app/file_icon.h"
#include "platform/pe/icon_group.h"
#include "platform/pe/pe_resources.h"
#include "text/error.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace vantor;

// Every Wine binary with an icon group shows a 16-pixel icon; the others, and files that are no
// PE files, show none.
TEST(FileIcon, WineBinariesShowTheirOwnIcon) {
    const QDir dir(QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"));
    const QStringList files =
        dir.entryList({QStringLiteral("*.exe"), QStringLiteral("*.ocx"), QStringLiteral("*.dll")},
                      QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    int withIcon = 0;
    for (int i = 0; i < files.size(); i += 7) {
        const QString path = dir.filePath(files[i]);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        bool hasGroup = false;
        try {
            hasGroup = pe::firstIconGroup(pe::PeResources(bytes, path)).has_value();
        } catch (const Error&) {
        }
        const QIcon icon = libraryFileIcon(path);
        EXPECT_EQ(!icon.isNull(), hasGroup) << files[i].toStdString();
        if (hasGroup) {
            ++withIcon;
            EXPECT_FALSE(icon.pixmap(16, 16).isNull()) << files[i].toStdString();
        }
    }
    EXPECT_GT(withIcon, 0);
    EXPECT_TRUE(
        libraryFileIcon(QStringLiteral(VANTOR_TESTDATA_DIR "/wine-prefix/system.reg")).isNull());
    EXPECT_TRUE(libraryFileIcon(QString()).isNull());
}
