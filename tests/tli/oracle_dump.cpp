#include "oracle_dump.h"

#include "tli_test_support.h"

#include <QFile>
#include <QRegularExpression>

namespace vantor::tli::testing {

const OracleType* OracleLibrary::find(const QString& n) const {
    for (const OracleType& t : types)
        if (t.name == n)
            return &t;
    return nullptr;
}

const OracleType* OracleLibrary::finalType(const OracleType& t) const {
    const OracleType* cur = &t;
    for (int depth = 0; cur && cur->kind == 6 && depth < 64; ++depth) {
        static const QString head = QStringLiteral("USERDEFINED(ref(");
        if (!cur->alias.startsWith(head) || cur->alias.contains(u'@'))
            return nullptr;
        cur = find(cur->alias.mid(head.size(), cur->alias.size() - head.size() - 2));
    }
    return cur && cur->kind != 6 ? cur : nullptr;
}

QHash<QString, QString> dumpFields(const QString& line) {
    // A quoted value escapes its quotes and backslashes; type texts hold no blanks.
    static const QRegularExpression field(
        QStringLiteral(R"re((?:^| )(\w+)=(?:"((?:[^"\\]|\\.)*)"|(\S*)))re"));
    static const QRegularExpression escape(QStringLiteral(R"(\\(.))"));
    QHash<QString, QString> out;
    for (const QRegularExpressionMatch& m : field.globalMatch(line))
        out.insert(m.captured(1), m.capturedStart(2) >= 0
                                      ? m.captured(2).replace(escape, QStringLiteral("\\1"))
                                      : m.captured(3));
    return out;
}

OracleLibrary readOracleDump(const QString& dumpFile) {
    OracleLibrary lib;
    QFile f(kOracleDir + QStringLiteral("/dumps/") + dumpFile);
    if (!f.open(QIODevice::ReadOnly))
        return lib;
    OracleMember* lastFunc = nullptr;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).chopped(1);
        const QHash<QString, QString> k = dumpFields(line);
        if (line.startsWith(QLatin1String("library "))) {
            lib.name = k.value(QStringLiteral("name"));
            lib.guid = k.value(QStringLiteral("guid"));
        } else if (line.startsWith(QLatin1String("  typeinfo "))) {
            OracleType t;
            t.index = k.value(QStringLiteral("index")).toInt();
            t.name = k.value(QStringLiteral("name"));
            t.kind = k.value(QStringLiteral("kind")).toInt();
            t.flags = k.value(QStringLiteral("typeflags")).toUInt(nullptr, 16);
            t.alias = k.value(QStringLiteral("alias"));
            lib.types.push_back(t);
            lastFunc = nullptr;
        } else if (lib.types.isEmpty()) {
            continue;
        } else if (line.startsWith(QLatin1String("    impltype "))) {
            lib.types.back().implTypes.push_back(k.value(QStringLiteral("type")));
            lib.types.back().implFlags.push_back(
                k.value(QStringLiteral("flags")).toUInt(nullptr, 16));
        } else if (line.startsWith(QLatin1String("    func ")) ||
                   line.startsWith(QLatin1String("    var "))) {
            OracleMember m;
            m.isFunc = line.startsWith(QLatin1String("    func "));
            m.unreadable = line.contains(QLatin1String(" ERR("));
            m.memid = qint64(k.value(QStringLiteral("memid")).toUInt(nullptr, 16));
            m.name = k.value(QStringLiteral("name"));
            m.invkind = k.value(QStringLiteral("invkind")).toInt();
            m.varkind = k.value(QStringLiteral("varkind")).toInt();
            m.flags = k.value(QStringLiteral("flags")).toUInt(nullptr, 16);
            m.cParamsOpt = k.value(QStringLiteral("cParamsOpt")).toInt();
            m.type = k.value(m.isFunc ? QStringLiteral("ret") : QStringLiteral("type"));
            lib.types.back().members.push_back(m);
            lastFunc = m.isFunc ? &lib.types.back().members.back() : nullptr;
        } else if (line.startsWith(QLatin1String("      param ")) && lastFunc) {
            lastFunc->paramTypes.push_back(k.value(QStringLiteral("type")));
        } else if (line.startsWith(QLatin1String("    dual "))) {
            lastFunc = nullptr; // the interface view's members are indented deeper
        }
    }
    return lib;
}

} // namespace vantor::tli::testing
