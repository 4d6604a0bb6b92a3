#include "browser/bounds_calibration.h"

#include "text/error.h"
#include "tli/tli_application.h"
#include "tli/type_lib_info.h"

#include <QFileInfo>
#include <mutex>
#include <optional>

namespace vantor {

namespace {

constexpr auto StdoleGuid = "{00020430-0000-0000-C000-000000000046}";

std::unique_ptr<tli::TypeLibInfo> openStdole2(const tli::TLIApplication* app) {
    if (app) {
        try {
            return app->typeLibInfoFromRegistry(QString::fromLatin1(StdoleGuid), 2, 0, 0);
        } catch (const Error&) {
            // Not registered on this machine: Wine's own copy below.
        }
    }
    const QString file = wineBinariesFolder() + QStringLiteral("/stdole2.tlb");
    if (!QFileInfo::exists(file))
        throw Error(Error::FileNotFound, QStringLiteral("ProtoMember"),
                    QStringLiteral("stdole2.tlb is neither registered nor at ") + file);
    tli::TLIApplication own(nullptr, nullptr);
    return (app ? *app : own).typeLibInfoFromFile(file);
}

bool calibrate(const tli::TLIApplication* app) {
    const std::unique_ptr<tli::TypeLibInfo> stdole = openStdole2(app);
    for (int i = 1; i <= stdole->typeInfoCount(); ++i) {
        const tli::TypeInfoView info = stdole->typeInfoItem(i);
        if (info.name() != QStringLiteral("GUID"))
            continue;
        const QList<tli::MemberView> fields = stdole->members(info.number());
        if (fields.size() >= 4) {
            const QList<tli::ArrayBound> bounds = fields[3].returnType().arrayBounds();
            if (!bounds.isEmpty())
                return bounds[0].elements == 8;
        }
        break;
    }
    throw Error(Error::InvalidCall, QStringLiteral("ProtoMember"),
                QStringLiteral("stdole2.tlb holds no GUID record with a fixed-array field"));
}

} // namespace

QString wineBinariesFolder() {
    return QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");
}

bool boundsReportElementCounts(const tli::TLIApplication* app) {
    static std::mutex lock;
    static std::optional<bool> counts;
    const std::lock_guard guard(lock);
    if (!counts)
        counts = calibrate(app);
    return *counts;
}

} // namespace vantor
