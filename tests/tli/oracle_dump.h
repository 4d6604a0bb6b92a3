#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace vantor::tli::testing {

// A member line of an oracle dump (a func or var of a type info, not of a dual's view).
struct OracleMember {
    bool isFunc = false;
    bool unreadable = false; // "func index=N ERR(...)"
    qint64 memid = 0;
    QString name;
    int invkind = 0;
    int varkind = 0;
    quint32 flags = 0;
    int cParamsOpt = 0;
    QString type; // a function's ret, a variable's type
    QList<QString> paramTypes;
};

struct OracleType {
    int index = 0;
    QString name;
    int kind = 0;
    quint32 flags = 0;
    QString alias; // an alias's type text
    QList<QString> implTypes;
    QList<quint32> implFlags;
    QList<OracleMember> members;
};

struct OracleLibrary {
    QString name;
    QString guid;
    QList<OracleType> types;

    const OracleType* find(const QString& name) const;
    // The type an alias finally names in this library (itself when not an alias); null when
    // it names a base type or another library's type.
    const OracleType* finalType(const OracleType& t) const;
};

// The named fields of one dump line: key=value, quoted values unescaped.
QHash<QString, QString> dumpFields(const QString& line);

// Reads dumps/<file> of the oracle folder; an empty library when it cannot be read.
OracleLibrary readOracleDump(const QString& dumpFile);

} // namespace vantor::tli::testing
