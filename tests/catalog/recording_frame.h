#pragma once

#include "catalog/catalog_frame.h"

#include <QStringList>

// A frame that records what a catalog load shows.
class RecordingFrame : public vantor::CatalogFrame {
public:
    void Status(const QString& text) override { statuses.append(text); }
    void ProgressMax(qint64 max) override { progressMax = max; }
    void ProgressValue(qint64 value) override {
        lastProgress = value;
        ++progressCalls;
    }
    void ShowPaneRtf(const QString& rtf) override { panes.append(rtf); }
    void SetBusy(bool busy) override { this->busy = busy; }
    void ResetStatusBackground() override {}
    void ProcessPendingEvents() override { ++eventPasses; }

    QStringList statuses;
    QStringList panes;
    qint64 progressMax = -1;
    qint64 lastProgress = -1;
    int progressCalls = 0;
    int eventPasses = 0;
    bool busy = false;
};
