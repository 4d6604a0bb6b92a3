#pragma once

#include <QString>
#include <QStringList>

namespace vantor::tli {
class LibraryResolver;
}

namespace vantor::tli::testing {

struct ShakeOptions {
    int truncations = 64;   // evenly spaced lengths, of the file and of its TYPELIB resource
    int corruptions = 2000; // single bytes changed in the PE headers, resource tree and library
    quint32 seed = 1;
};

struct ShakeReport {
    int attempts = 0;
    int models = 0;
    int errors = 0;
    QStringList unclearErrors; // errors that do not name the file or say nothing
};

// Reads damaged copies of the library at `path` (PATH[\N]): each read gives a model (which is
// then dumped and walked completely through the component's views and lists) or a
// vantor::Error; anything else escapes, and a read outside the
// bytes is left for the sanitizers to catch (every copy is its own allocation of exact size).
ShakeReport shakeLibrary(const QString& path, const ShakeOptions& options,
                         LibraryResolver* resolver);

} // namespace vantor::tli::testing
