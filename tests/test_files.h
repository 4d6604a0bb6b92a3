#pragma once

#include "text/error.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace vantor::test {

// Wine's 64-bit PE binaries, where libwine installs them.
inline const QString kWineDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");

// The whole file; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes the whole file; false when it cannot.
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A string value's registry bytes: UTF-16LE with its terminating NUL.
inline QByteArray utf16z(const QString& s) {
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), (s.size() + 1) * 2);
}

// The description of the vantor::Error `call` raises; empty when it raises none.
template <class Call> QString errorText(Call call) {
    try {
        call();
    } catch (const Error& e) {
        return e.description();
    }
    return {};
}

} // namespace vantor::test
