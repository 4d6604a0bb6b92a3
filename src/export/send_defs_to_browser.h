#pragma once

#include "export/browser_window.h"

#include <QString>
#include <QStringList>

namespace vantor {

// The window as the catalog export sees it.
class BrowserExportFrame {
public:
    virtual ~BrowserExportFrame() = default;
    virtual void status(const QString& text) = 0;
    virtual void setBusy(bool busy) = 0;
    // A message box titled "Vantor".
    virtual void message(const QString& text) = 0;
    // Which browser to start, read at each export.
    virtual BrowserChoice browserChoice() const = 0;
};

struct SendDefsResult {
    qint32 result = 0; // 1 shown, 0 failed
    qint32 rows = 0;
    qint32 records = 0;
};

// Shows a catalog (`kind` "TL": TLDefs, else PIDDefs) as one HTML table page in the browser
// window: attaches to it or starts one, waits for its empty page, writes the page in one piece.
SendDefsResult SendDefsToBrowser(const QStringList& defs, const QString& kind,
                                 BrowserWindow& browser, BrowserExportFrame& frame);

// The context menu's export item around SendDefsToBrowser, with its status texts.
void ExportDefsToBrowser(const QStringList& defs, const QString& kind, BrowserWindow& browser,
                         BrowserExportFrame& frame);

} // namespace vantor
