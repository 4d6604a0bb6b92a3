#pragma once

#include <QByteArrayView>
#include <QString>

namespace vantor {

// Replaces the file at `path` with `bytes`, or leaves it as it was: the bytes go to a new
// temporary file in the same folder, which is flushed to disk and then renamed over the old one.
// False, with the reason in `error`, when any step fails (a full disk included).
bool writeFileAtomically(const QString& path, QByteArrayView bytes, QString* error = nullptr);

} // namespace vantor
