#include "search/index_builder.h"

#include "text/error.h"

#include <QMetaObject>

namespace vantor {

IndexBuilder::IndexBuilder(QString databasePath, std::function<QString(const QString&)> hostPath,
                           QObject* context, Events events)
    : path_(std::move(databasePath)), hostPath_(std::move(hostPath)), context_(context),
      events_(std::move(events)) {}

IndexBuilder::~IndexBuilder() {
    ++*generation_; // events still queued find their build gone
    stopAndWait();
}

void IndexBuilder::stopAndWait() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    stop_ = false;
}

template <typename F> void IndexBuilder::post(F event) {
    if (QObject* context = context_.data())
        QMetaObject::invokeMethod(context, std::move(event), Qt::QueuedConnection);
}

void IndexBuilder::start(const QStringList& records) {
    stopAndWait();
    const int generation = ++*generation_;
    building_ = true;
    done_ = 0;
    total_ = 0;
    thread_ = std::thread([this, records, generation, live = generation_] {
        // Each event checks that its build is still the current one when it arrives.
        const auto current = [live, generation] { return live->load() == generation; };
        try {
            SymbolIndex index;
            index.open(path_);
            const auto progress = [&](int done, int total) {
                done_ = done;
                total_ = total;
                post([this, current, done, total] {
                    if (current() && events_.progress)
                        events_.progress(done, total);
                });
            };
            IndexUpdate result;
            try {
                result = index.update(records, hostPath_, progress, &stop_);
            } catch (const Error&) {
                if (!index.damaged())
                    throw;
                index.rebuild();
                result = index.update(records, hostPath_, progress, &stop_);
                result.rebuilt = true;
            }
            building_ = false;
            if (stop_)
                return;
            post([this, current, result] {
                if (current() && events_.finished)
                    events_.finished(result);
            });
        } catch (const Error& e) {
            building_ = false;
            post([this, current, text = e.description()] {
                if (current() && events_.failed)
                    events_.failed(text);
            });
        }
    });
}

} // namespace vantor
