#include "app/window_title.h"

#include "platform/winpath/win_path.h"

namespace vantor {

QString libraryWindowTitle(const QString& libraryName, const QString& libraryPath) {
    if (libraryName.isEmpty())
        return QStringLiteral("Vantor");
    QString file = winpath::splitResource(libraryPath).path;
    file = file.mid(std::max(file.lastIndexOf(u'\\'), file.lastIndexOf(u'/')) + 1);
    return QStringLiteral("Vantor - ") + libraryName + QStringLiteral(" (") + file + u')';
}

} // namespace vantor
