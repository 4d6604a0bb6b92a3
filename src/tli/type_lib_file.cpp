#include "tli/type_lib_file.h"

#include "platform/pe/pe_resources.h"
#include "tli/errors.h"
#include "tli/sltg_reader.h"

#include <QFile>
#include <QFileInfo>

namespace vantor::tli {
namespace {

// A whole file in memory: mapped where the system allows, else read.
class FileBytes {
public:
    explicit FileBytes(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::ReadOnly))
            throw Error(Error::FileNotFound, QStringLiteral("TypeLib"),
                        path + QStringLiteral(": cannot open the file (") + file_.errorString() +
                            QStringLiteral(")"));
        const qint64 size = file_.size();
        if (size > 0)
            map_ = file_.map(0, size);
        if (map_) {
            bytes_ = QByteArrayView(map_, size);
        } else {
            copy_ = file_.readAll();
            bytes_ = copy_;
        }
    }
    QByteArrayView bytes() const { return bytes_; }

private:
    QFile file_;
    uchar* map_ = nullptr;
    QByteArray copy_;
    QByteArrayView bytes_;
};

[[noreturn]] void rethrowNamed(const Error& e, const QString& fileName) {
    throw Error(e.number(), e.source(), fileName + QStringLiteral(": ") + e.description());
}

// The type library in a file's bytes: the file itself, or its TYPELIB resource.
QByteArrayView libraryBytes(QByteArrayView bytes, std::optional<quint16> resource) {
    if (isMsft(bytes) || isSltg(bytes)) {
        if (resource.value_or(1) != 1)
            failLoad(QStringLiteral("a plain type library has no resource %1").arg(*resource));
        return bytes;
    }
    if (bytes.size() < 2 || bytes.first(2) != "MZ")
        failLoad(QStringLiteral("neither a type library nor a PE file"));
    const pe::PeResources res(bytes);
    const quint16 id = resource.value_or(1);
    const std::optional<QByteArrayView> tlb = res.typelib(id);
    if (!tlb)
        failLoad(QStringLiteral("no type library resource %1").arg(id));
    if (!isMsft(*tlb) && !isSltg(*tlb))
        failLoad(QStringLiteral("type library resource %1 is neither MSFT nor SLTG").arg(id));
    return *tlb;
}

} // namespace

LibraryPath splitLibraryPath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('\\'));
    if (slash <= 0 || slash == path.size() - 1 || QFileInfo(path).isFile())
        return {path, std::nullopt};
    bool ok = false;
    const uint id = path.mid(slash + 1).toUInt(&ok, 10);
    if (!ok || id > 0xFFFF)
        return {path, std::nullopt};
    return {path.left(slash), quint16(id)};
}

TypeLib readTypeLib(QByteArrayView bytes, std::optional<quint16> resource,
                    LibraryResolver* resolver, const QString& fileName) {
    try {
        const QByteArrayView lib = libraryBytes(bytes, resource);
        return isSltg(lib) ? readSltg(lib, resolver) : readMsft(lib, resolver);
    } catch (const Error& e) {
        rethrowNamed(e, fileName);
    }
}

LibraryIdentity readTypeLibIdentity(QByteArrayView bytes, std::optional<quint16> resource,
                                    const QString& fileName) {
    try {
        const QByteArrayView lib = libraryBytes(bytes, resource);
        return isSltg(lib) ? readSltgIdentity(lib) : readMsftIdentity(lib);
    } catch (const Error& e) {
        rethrowNamed(e, fileName);
    }
}

QList<quint16> typeLibIds(QByteArrayView bytes, const QString& fileName) {
    if (isMsft(bytes) || isSltg(bytes))
        return {1};
    try {
        if (bytes.size() < 2 || bytes.first(2) != "MZ")
            failLoad(QStringLiteral("neither a type library nor a PE file"));
        return pe::PeResources(bytes).typelibIds();
    } catch (const Error& e) {
        rethrowNamed(e, fileName);
    }
}

std::shared_ptr<const TypeLib> loadTypeLib(const QString& path, LibraryResolver* resolver) {
    const LibraryPath where = splitLibraryPath(path);
    const FileBytes file(where.file);
    return std::make_shared<const TypeLib>(
        readTypeLib(file.bytes(), where.resource, resolver, where.file));
}

LibraryIdentity loadTypeLibIdentity(const QString& path) {
    const LibraryPath where = splitLibraryPath(path);
    const FileBytes file(where.file);
    return readTypeLibIdentity(file.bytes(), where.resource, where.file);
}

QList<quint16> loadTypeLibIds(const QString& file) {
    const FileBytes bytes(file);
    return typeLibIds(bytes.bytes(), file);
}

} // namespace vantor::tli
