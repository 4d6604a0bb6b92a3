// Damaged libraries: whatever the component still opens, every listed member formats or gives
// an Error with a description; nothing else escapes and nothing crashes.
#include "browser/proto_member.h"
#include "browser/proto_test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <random>

using namespace vantor;
using namespace vantor::prototest;

TEST(ProtoMemberDamage, CorruptedStdole2) {
    const QByteArray original = readBytes(wineFile("stdole2.tlb"));
    const qsizetype msft = original.indexOf("MSFT");
    ASSERT_GE(msft, 0);
    QTemporaryDir dir;
    std::mt19937 random(7);
    int opened = 0, formatted = 0, errors = 0;
    QStringList silent;
    for (int copy = 0; copy < 300; ++copy) {
        // A few bytes of the library changed, or the library cut short.
        QByteArray bytes = original;
        if (copy % 10 == 9) {
            bytes.truncate(msft + qsizetype(random() % quint32(original.size() - msft)));
        } else {
            for (int k = 0; k < 1 + copy % 4; ++k) {
                const qsizetype at = msft + qsizetype(random() % quint32(original.size() - msft));
                bytes[at] = char(random());
            }
        }
        const QString path = dir.filePath(QStringLiteral("copy%1.tlb").arg(copy));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        out.close();
        const Opened lib = openPath(path, true);
        if (!lib.lib)
            continue;
        ++opened;
        RecordingFrame frame;
        try {
            for (const tli::ListRow& type : lib.lib->typeInfoRows())
                for (const tli::ListRow& member : lib.lib->memberRows(type.itemData))
                    for (qint32 mode : {1, 2}) {
                        try {
                            ProtoMember(*lib.lib, type.itemData, member.itemData, -1, member.text,
                                        mode, frame);
                            ++formatted;
                        } catch (const Error& e) {
                            ++errors;
                            if (e.description().isEmpty())
                                silent << path;
                        }
                    }
        } catch (const Error&) {
            // The lists themselves may refuse a damaged library.
        }
    }
    std::cout << opened << " damaged copies opened, " << formatted << " prototypes, " << errors
              << " errors\n";
    EXPECT_GT(opened, 30);
    EXPECT_GT(formatted, 1000);
    EXPECT_TRUE(silent.isEmpty()) << silent.join(", ").toStdString();
}
