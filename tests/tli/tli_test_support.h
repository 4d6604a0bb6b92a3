#pragma once

#include "test_files.h"
#include "tli/library_set.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <algorithm>
#include <string>

namespace vantor::tli::testing {

using vantor::test::kWineDir;
using vantor::test::readFile;
using vantor::test::writeFile;

inline const QString kOracleDir = QStringLiteral(VANTOR_TESTDATA_DIR "/oracle");

// One row of the oracle's INDEX.tsv.
struct IndexRow {
    QString file;
    quint16 resource = 1;
    QByteArray sha256;
    QString dump;

    bool operator==(const IndexRow&) const = default;

    QString path() const {
        const QString p = kWineDir + u'/' + file;
        return resource == 1 ? p : p + u'\\' + QString::number(resource);
    }
};

inline QList<IndexRow> readIndex() {
    QList<IndexRow> rows;
    QFile f(kOracleDir + QStringLiteral("/INDEX.tsv"));
    if (!f.open(QIODevice::ReadOnly))
        return rows;
    f.readLine(); // the header
    while (!f.atEnd()) {
        const QList<QByteArray> c = f.readLine().trimmed().split('\t');
        if (c.size() >= 7)
            rows.push_back(
                {QString::fromUtf8(c[0]), quint16(c[1].toUInt()), c[3], QString::fromUtf8(c[6])});
    }
    return rows;
}

// "line N: ours / oracle" for the first line that differs.
inline std::string firstDifference(const QByteArray& ours, const QByteArray& oracle) {
    const QList<QByteArray> a = ours.split('\n'), b = oracle.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QByteArray x = i < a.size() ? a[i] : "(end)", y = i < b.size() ? b[i] : "(end)";
        if (x != y)
            return "line " + std::to_string(i + 1) + "\n ours:   " + x.toStdString() +
                   "\n oracle: " + y.toStdString();
    }
    return "same lines";
}

// The libraries of the index, for references into imported libraries; shared by every test
// of a binary so that each library is read once.
inline LibrarySet& indexLibraries() {
    static LibrarySet set(
        LibrarySet::pathsFromIndex(kOracleDir + QStringLiteral("/INDEX.tsv"), kWineDir), kWineDir);
    return set;
}

} // namespace vantor::tli::testing
