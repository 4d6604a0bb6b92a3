#include "app/icon_set.h"

#include "tli/type_lib.h"

#include <QString>

// The icons live in a static library: their resource must be registered by hand.
static void registerIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace vantor {

namespace {
QString imagePath(const char* strip, int index) {
    static const bool registered = (registerIcons(), true);
    (void)registered;
    return QStringLiteral(":/icons/%1_%2.svg")
        .arg(QLatin1String(strip))
        .arg(index, 2, 10, QLatin1Char('0'));
}
} // namespace

QIcon listImage(int index) {
    return QIcon(imagePath("list", index));
}
QIcon toolbarImage(int index) {
    return QIcon(imagePath("tool", index));
}

int memberImageIndex(qint32 invokeKinds, bool constantType) {
    using namespace tli::invoke;
    switch (invokeKinds) {
    case Func:
        return 10;
    case PropertyGet | PropertyPut:
        return constantType ? 7 : 1;
    case Event:
        return 6;
    default:
        return 1;
    }
}

int libraryFileImageIndex(const QString& path) {
    const QString tail = path.right(3).toLower();
    if (tail == QLatin1String("ocx"))
        return 20;
    if (tail == QLatin1String("exe"))
        return 22;
    return 21;
}

} // namespace vantor
