#pragma once

#include <QString>

namespace vantor {

// What the catalog load needs of the main window. The base shows nothing, for loads that run
// without a window.
class CatalogFrame {
public:
    virtual ~CatalogFrame() = default;
    virtual void Status(const QString&) {}
    virtual void ProgressMax(qint64) {}
    virtual void ProgressValue(qint64) {}
    // Replaces the rich-text pane's content; an empty text clears it.
    virtual void ShowPaneRtf(const QString&) {}
    virtual void SetBusy(bool) {}
    virtual void ResetStatusBackground() {}
    virtual void ProcessPendingEvents() {}
};

// The parts of a catalog load that read the registry: the script runtime registration and the
// two builders that rewrite dbTypes.dat and dbPID.dat.
class CatalogBuilders {
public:
    virtual ~CatalogBuilders() = default;
    virtual void RegScriptHost(CatalogFrame& frame) = 0;
    virtual void EnumTL(CatalogFrame& frame) = 0;
    virtual void EnumPID(CatalogFrame& frame) = 0;
};

} // namespace vantor
