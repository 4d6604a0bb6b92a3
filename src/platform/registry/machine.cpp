#include "platform/registry/machine.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace vantor::registry {

namespace {

QString canonical(const QString& path) {
    const QFileInfo info(path);
    const QString c = info.canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : c;
}

Machine prefixMachine(const QString& dir) {
    Machine m;
    m.kind = Machine::Kind::Prefix;
    m.prefix = dir;
    return m;
}

Machine fromSetting(const QString& path) {
    if (QFileInfo(path).isDir())
        return prefixMachine(path);
    Machine m;
    m.kind = Machine::Kind::RegFiles;
    m.regFiles = {path};
    return m;
}

// "--name value" or "--name=value" at args[i]; advances i past what it took.
bool takeOption(const QStringList& args, qsizetype& i, const QString& name, QString& value) {
    const QString& a = args[i];
    if (a == name && i + 1 < args.size()) {
        value = args[i + 1];
        i += 2;
        return true;
    }
    if (a.startsWith(name + u'=')) {
        value = a.mid(name.size() + 1);
        ++i;
        return true;
    }
    return false;
}

} // namespace

QString Machine::canonicalPath() const {
    switch (kind) {
    case Kind::Prefix:
        return canonical(prefix);
    case Kind::RegFiles: {
        QStringList paths;
        for (const QString& f : regFiles)
            paths << canonical(f);
        return paths.join(u'\n');
    }
    case Kind::None:
        break;
    }
    return {};
}

QString Machine::id() const {
    if (kind == Kind::None)
        return QStringLiteral("none");
    const QByteArray hash =
        QCryptographicHash::hash(canonicalPath().toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex().left(12));
}

MachineChoice chooseMachine(const QStringList& args, const QString& iniRegistry,
                            const QProcessEnvironment& env) {
    MachineChoice choice;
    qsizetype i = 0;
    QString value;
    while (i < args.size()) {
        if (takeOption(args, i, QStringLiteral("--prefix"), value)) {
            choice.machine = prefixMachine(value);
        } else if (takeOption(args, i, QStringLiteral("--registry"), value)) {
            if (choice.machine.kind != Machine::Kind::RegFiles)
                choice.machine = Machine{Machine::Kind::RegFiles, {}, {}};
            choice.machine.regFiles << value;
        } else {
            break;
        }
    }
    choice.commandLine = args.mid(i).join(u' ');
    if (choice.machine.kind != Machine::Kind::None)
        return choice;

    if (!iniRegistry.trimmed().isEmpty()) {
        choice.machine = fromSetting(iniRegistry.trimmed());
    } else if (const QString wp = env.value(QStringLiteral("WINEPREFIX")); !wp.isEmpty()) {
        choice.machine = prefixMachine(wp);
    } else if (const QString home = env.value(QStringLiteral("HOME")); !home.isEmpty()) {
        const QString dotWine = home + QStringLiteral("/.wine");
        if (QFileInfo::exists(dotWine + QStringLiteral("/system.reg")))
            choice.machine = prefixMachine(dotWine);
    }
    return choice;
}

} // namespace vantor::registry
