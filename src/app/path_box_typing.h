#pragma once

#include <QObject>
#include <functional>

class QComboBox;

namespace vantor {

struct PathBoxEntry;

// Typing into the library path box: each inserted character completes the path one folder at a
// time, the completed rest selected so that the next character replaces it. Deleting completes
// nothing, so the box can be emptied and Backspace does not undo itself.
class PathBoxTyping : public QObject {
    Q_OBJECT
public:
    // `entries` gives the path box's list (null: no catalog yet).
    PathBoxTyping(QComboBox* box, std::function<const QList<PathBoxEntry>*()> entries);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void edited(const QString& text);

    QComboBox* box_;
    std::function<const QList<PathBoxEntry>*()> entries_;
    int stop_ = 0;
    bool deleting_ = false;
};

} // namespace vantor
