#pragma once

#include "catalog/catalog_frame.h"

#include <QTextStream>

namespace vantor {

// Shows a catalog load on the terminal until the main window takes over: status lines go to
// standard error, progress and the pane are not shown.
class ConsoleFrame : public CatalogFrame {
public:
    void Status(const QString& text) override;

private:
    QTextStream err_{stderr};
};

} // namespace vantor
