#pragma once

#include "search/symbol_index.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <atomic>
#include <functional>
#include <thread>

namespace vantor {

// Builds the symbol index in a thread of its own, with its own connection to the database and
// its own reading of the libraries, so that the window stays usable. Its events arrive on the
// thread of `context` (the window's), never after `context` or the builder is gone.
class IndexBuilder {
public:
    struct Events {
        std::function<void(int done, int total)> progress;
        std::function<void(const IndexUpdate&)> finished;
        std::function<void(const QString&)> failed;
    };
    // `hostPath` is called on the builder's thread.
    IndexBuilder(QString databasePath, std::function<QString(const QString&)> hostPath,
                 QObject* context, Events events);
    // Stops the build after the library in hand and waits for it.
    ~IndexBuilder();

    // Brings the index in line with these catalog records; a build under way stops first.
    void start(const QStringList& records);
    bool building() const { return building_; }
    int done() const { return done_; }
    int total() const { return total_; }

private:
    void stopAndWait();
    template <typename F> void post(F event);

    QString path_;
    std::function<QString(const QString&)> hostPath_;
    QPointer<QObject> context_;
    Events events_;
    std::thread thread_;
    std::atomic_bool stop_{false};
    std::atomic_bool building_{false};
    std::atomic_int done_{0};
    std::atomic_int total_{0};
    // The events of a build carry its number; those of a build since replaced are dropped.
    std::shared_ptr<std::atomic_int> generation_ = std::make_shared<std::atomic_int>(0);
};

} // namespace vantor
