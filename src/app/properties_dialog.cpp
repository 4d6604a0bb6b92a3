#include "app/properties_dialog.h"

#include "platform/pe/pe_resources.h"
#include "platform/pe/version_info.h"
#include "text/error.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>

namespace vantor {

void showPropertiesDialog(QWidget* parent, const QString& windowsPath, const QString& hostPath) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Properties"));
    auto* form = new QFormLayout(&dialog);
    auto add = [&](const QString& label, const QString& value) {
        auto* text = new QLabel(value, &dialog);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, text);
    };
    add(QStringLiteral("Path:"), windowsPath);
    add(QStringLiteral("File:"), hostPath);
    const QFileInfo info(hostPath);
    if (!info.exists()) {
        add(QStringLiteral("Status:"), QStringLiteral("the file does not exist"));
    } else {
        const QLocale locale;
        add(QStringLiteral("Size:"), locale.toString(info.size()) + QStringLiteral(" bytes"));
        add(QStringLiteral("Modified:"),
            locale.toString(info.lastModified(), QLocale::ShortFormat));
        add(QStringLiteral("Created:"),
            locale.toString(info.birthTime().isValid() ? info.birthTime()
                                                       : info.metadataChangeTime(),
                            QLocale::ShortFormat));
        QFile file(hostPath);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            try {
                const pe::PeResources resources(bytes, hostPath);
                if (const std::optional<pe::VersionInfo> version = pe::versionInfo(resources)) {
                    if (const pe::StringTable* table = version->preferredTable())
                        for (const auto& [key, value] : table->strings)
                            add(key + u':', value);
                } else {
                    add(QStringLiteral("Version:"), QStringLiteral("none"));
                }
            } catch (const Error& e) {
                add(QStringLiteral("Version:"), e.description());
            }
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    form->addRow(buttons);
    dialog.exec();
}

} // namespace vantor
