#pragma once

#include "platform/pe/icon_group.h"
#include "platform/pe/pe_resources.h"
#include "platform/pe/version_info.h"
#include "test_files.h"
#include "text/error.h"

#include <QByteArray>
#include <QDir>
#include <QRegularExpression>
#include <QString>

namespace vantor::pe::testing {

using vantor::test::kWineDir;
using vantor::test::readFile;
inline const QString kWine32Dir = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/i386-windows");

// Wine's PE binaries. The folder may also hold the import libraries of libwine-dev (*.a), which
// are no PE files.
inline QStringList wineBinaries() {
    return QDir(kWineDir)
        .entryList(QDir::Files)
        .filter(QRegularExpression(QStringLiteral("^(?!.*\\.a$)")));
}

inline QByteArray readWineFile(const QString& name) {
    return readFile(kWineDir + u'/' + name);
}

// Runs every reader over the bytes. Returns the error description, or an empty text when all
// of it read; anything but vantor::Error escapes.
inline QString readEverything(QByteArrayView bytes) {
    try {
        PeResources pe(bytes, QStringLiteral("sample"));
        pe.entries();
        for (quint16 id : pe.typelibIds())
            pe.typelib(id);
        if (const auto group = firstIconGroup(pe)) {
            smallIcon(*group);
            toIcoFile(*group);
        }
        if (const auto version = versionInfo(pe))
            version->value(u"FileVersion");
        return {};
    } catch (const Error& e) {
        return e.description().isEmpty() ? QStringLiteral("(empty description)") : e.description();
    }
}

} // namespace vantor::pe::testing
