// Every member of every library of the oracle index, formatted in both forms.
#include "browser/proto_member.h"
#include "browser/proto_test_support.h"
#include "browser/rtf_text.h"

#include <QFile>
#include <gtest/gtest.h>
#include <iostream>

using namespace vantor;
using namespace vantor::prototest;

namespace {

struct IndexRow {
    QString file;
    int resource = 1;
};

QList<IndexRow> oracleIndex() {
    QList<IndexRow> rows;
    QFile f(QStringLiteral(VANTOR_SHARED_DIR "/oracle/INDEX.tsv"));
    if (!f.open(QIODevice::ReadOnly))
        return rows;
    f.readLine(); // the header
    while (!f.atEnd()) {
        const QList<QByteArray> c = f.readLine().trimmed().split('\t');
        if (c.size() >= 7)
            rows.append({QString::fromUtf8(c[0]), c[1].toInt()});
    }
    return rows;
}

// Braces not escaped by a backslash: a fragment opens no group of its own.
int bareBraces(const QString& rtf) {
    int n = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == u'\\')
            ++i;
        else if (rtf[i] == u'{' || rtf[i] == u'}')
            ++n;
    }
    return n;
}

bool knownPrefix(const QString& rtf) {
    for (const char* p : {"Const ", "Function ", "Sub ", "Event ", "Property "})
        if (rtf.startsWith(QLatin1String(p)))
            return true;
    return false;
}

} // namespace

TEST(ProtoMemberCorpus, EveryMemberInBothForms) {
    const QList<IndexRow> index = oracleIndex();
    ASSERT_GE(index.size(), 40) << "the oracle index";
    qint64 members = 0;
    int libraries = 0;
    QStringList failures;
    for (const IndexRow& row : index) {
        QString path = wineFile(row.file);
        if (row.resource != 1)
            path += u'\\' + QString::number(row.resource);
        const Opened lib = openPath(path, true);
        if (!lib.lib) {
            failures << row.file + QStringLiteral(": ") + lib.error;
            continue;
        }
        ++libraries;
        RecordingFrame frame;
        for (const tli::ListRow& type : lib.lib->typeInfoRows()) {
            for (const tli::ListRow& member : lib.lib->memberRows(type.itemData)) {
                const QString where = row.file + u' ' + type.text + u'.' + member.text;
                try {
                    const QString screen = ProtoMember(*lib.lib, type.itemData, member.itemData, -1,
                                                       member.text, 1, frame);
                    const QString doc = ProtoMember(*lib.lib, type.itemData, member.itemData, -1,
                                                    member.text, 2, frame);
                    ++members;
                    const QString head = QStringLiteral("\\cf1\\b\\f1 ") + RtfEscape(member.text);
                    if (!knownPrefix(screen) || !screen.contains(head) ||
                        !screen.contains(QStringLiteral("   member of ")) || bareBraces(screen))
                        failures << where + QStringLiteral(" screen: ") + screen;
                    if (doc.contains(QStringLiteral("\\v ")) ||
                        doc.contains(QStringLiteral("member of")) || bareBraces(doc) ||
                        !doc.contains(head))
                        failures << where + QStringLiteral(" document: ") + doc;
                } catch (const Error& e) {
                    failures << where + QStringLiteral(": ") + e.description();
                }
            }
        }
    }
    std::cout << "members formatted in both forms: " << members << " (" << libraries
              << " libraries)\n";
    RecordProperty("members", int(members));
    EXPECT_EQ(libraries, index.size());
    EXPECT_GT(members, 0);
    EXPECT_TRUE(failures.isEmpty())
        << failures.size() << " failures, first: " << failures.value(0).toStdString();
}
