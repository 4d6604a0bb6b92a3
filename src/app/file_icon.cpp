#include "app/file_icon.h"

#include "platform/pe/icon_group.h"
#include "platform/pe/pe_resources.h"
#include "text/error.h"

#include <QFile>
#include <QPixmap>

namespace vantor {

QIcon libraryFileIcon(const QString& hostPath) {
    QFile file(hostPath);
    if (hostPath.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    try {
        const pe::PeResources resources(bytes, hostPath);
        const std::optional<pe::IconGroup> group = pe::firstIconGroup(resources);
        if (!group)
            return {};
        QPixmap pixmap;
        if (!pixmap.loadFromData(pe::toIcoFile(*group), "ICO"))
            return {};
        return QIcon(pixmap.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } catch (const Error&) {
        // A damaged file only loses its own icon: the caller shows the generic one.
        return {};
    }
}

} // namespace vantor
