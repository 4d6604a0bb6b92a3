#pragma once

#include <QString>
#include <QStringView>

namespace vantor::winpath {

// A path from the registry with a trailing resource number ("...\vbscript.dll\3") kept apart.
struct ResourcePath {
    QString path;
    int resource = 0; // 0: none given
};

// Splits a trailing "\N" (digits only) off `path`, after stripping blanks and quotes.
ResourcePath splitResource(QStringView path);

// Windows paths of one Wine prefix mapped to host paths through its dosdevices/ links.
class PrefixPaths {
public:
    // `systemRoot` is the machine's Windows folder as a Windows path.
    explicit PrefixPaths(QString prefix, QString systemRoot = QStringLiteral("C:\\windows"));

    // The host path of a Windows path ("C:\windows\x.dll", "\\?\C:\...", quoted or not), taken
    // one component at a time, each matched ignoring letter case as Wine does; components that
    // do not exist stay as written. A host path (starting with "/") is taken as it is. Empty
    // when the path names no drive of the prefix.
    QString toHost(QStringView windowsPath) const;

    // The Windows path of a host file: through the drive whose folder holds it most closely
    // (Wine's Z: holds the whole host). Empty when no drive of the prefix reaches it.
    QString toWindows(const QString& hostPath) const;

    // The host folder of the machine's Windows folder.
    QString windowsFolder() const { return toHost(systemRoot_); }

private:
    QString prefix_;
    QString systemRoot_;
};

} // namespace vantor::winpath
