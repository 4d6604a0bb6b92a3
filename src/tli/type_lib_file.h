#pragma once

#include "tli/msft_reader.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace vantor::tli {

class LibraryResolver;

// Raised whenever the readers read more libraries or read them differently: what an older reader
// made of a file (an unreadable library, say) is then read again.
inline constexpr int kReaderVersion = 1;

// A library's location: a file and, for a PE file, an optional TYPELIB resource id (the
// "\N" suffix of a registered path).
struct LibraryPath {
    QString file;
    std::optional<quint16> resource;
};

// Splits "PATH\N". A path naming an existing file is taken whole.
LibraryPath splitLibraryPath(const QString& path);

// The type library in a file's bytes: an MSFT file itself, or a PE file's TYPELIB resource
// (`resource`, else 1). Throws vantor::Error naming `fileName` and what is wrong.
TypeLib readTypeLib(QByteArrayView bytes, std::optional<quint16> resource,
                    LibraryResolver* resolver, const QString& fileName);
LibraryIdentity readTypeLibIdentity(QByteArrayView bytes, std::optional<quint16> resource,
                                    const QString& fileName);

// The TYPELIB resource ids of a file's bytes; {1} for a plain type library.
QList<quint16> typeLibIds(QByteArrayView bytes, const QString& fileName);

// The same over a file, read once through a memory map.
std::shared_ptr<const TypeLib> loadTypeLib(const QString& path, LibraryResolver* resolver);
LibraryIdentity loadTypeLibIdentity(const QString& path);
QList<quint16> loadTypeLibIds(const QString& file);

} // namespace vantor::tli
