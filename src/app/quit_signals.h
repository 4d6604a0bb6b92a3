#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace vantor {

// SIGTERM and SIGINT (a session logging out, Ctrl+C in a terminal) run `onSignal` from the event
// loop, so that the window closes the normal way and its settings are saved. One at a time.
class QuitSignals : public QObject {
public:
    explicit QuitSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~QuitSignals() override;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace vantor
