#include "platform/pe/pe_resources.h"
#include "text/error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>
#include <gtest/gtest.h>

namespace vantor::pe {
namespace {

const QString kWineDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// file name -> TYPELIB ids, as the oracle's index lists them.
QMap<QString, QList<quint16>> indexedTypelibs() {
    QMap<QString, QList<quint16>> index;
    QFile f(QStringLiteral(VANTOR_SHARED_DIR "/oracle/INDEX.tsv"));
    if (!f.open(QIODevice::ReadOnly))
        return index;
    f.readLine(); // header
    while (!f.atEnd()) {
        const QList<QByteArray> cols = f.readLine().trimmed().split('\t');
        if (cols.size() > 2)
            index[QString::fromUtf8(cols[0])].append(cols[1].toUShort());
    }
    for (auto& ids : index)
        std::sort(ids.begin(), ids.end());
    return index;
}

TEST(PeResources, FindsEveryIndexedTypelibAmongWineBinaries) {
    const auto index = indexedTypelibs();
    ASSERT_FALSE(index.isEmpty());
    const QStringList files = QDir(kWineDir).entryList(QDir::Files);
    ASSERT_GT(files.size(), 100);
    QMap<QString, QList<quint16>> found;
    int parsed = 0, rejected = 0;
    for (const QString& name : files) {
        const QByteArray bytes = readFile(kWineDir + u'/' + name);
        try {
            PeResources pe(bytes, name);
            pe.entries();
            ++parsed;
            const QList<quint16> ids = pe.typelibIds();
            if (ids.isEmpty())
                continue;
            found[name] = ids;
            for (quint16 id : ids) {
                const auto data = pe.typelib(id);
                ASSERT_TRUE(data.has_value()) << name.toStdString() << " " << id;
                EXPECT_TRUE(data->startsWith("MSFT")) << name.toStdString() << " " << id;
            }
        } catch (const Error& e) {
            ++rejected;
            EXPECT_FALSE(e.description().isEmpty());
        }
    }
    EXPECT_EQ(found, index);
    std::printf("parsed %d, rejected %d, with TYPELIB %lld\n", parsed, rejected,
                qlonglong(found.size()));
}

} // namespace
} // namespace vantor::pe
