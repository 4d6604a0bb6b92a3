#pragma once

#include <QString>

namespace vantor {

// What the catalog load needs of the main window.
class CatalogFrame {
public:
    virtual ~CatalogFrame() = default;
    virtual void Status(const QString& text) = 0;
    virtual void ProgressMax(qint64 max) = 0;
    virtual void ProgressValue(qint64 value) = 0;
    // Replaces the rich-text pane's content; an empty text clears it.
    virtual void ShowPaneRtf(const QString& rtf) = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual void ResetStatusBackground() = 0;
    virtual void ProcessPendingEvents() = 0;
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
