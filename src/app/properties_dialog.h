#pragma once

#include <QString>

class QWidget;

namespace vantor {

// The file properties of a library: path, size, dates and the strings of its version resource.
void showPropertiesDialog(QWidget* parent, const QString& windowsPath, const QString& hostPath);

} // namespace vantor
