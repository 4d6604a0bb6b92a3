#include "app/path_box_typing.h"

#include "browser/path_completion.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace vantor {

PathBoxTyping::PathBoxTyping(QComboBox* box, std::function<const QList<PathBoxEntry>*()> entries)
    : QObject(box), box_(box), entries_(std::move(entries)) {
    // The combo box's own inline completion would fight this one over the selection.
    box_->setCompleter(nullptr);
    box_->lineEdit()->installEventFilter(this);
    connect(box_->lineEdit(), &QLineEdit::textEdited, this, &PathBoxTyping::edited);
}

bool PathBoxTyping::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        deleting_ = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
                    key->matches(QKeySequence::Cut) ||
                    key->matches(QKeySequence::DeleteStartOfWord) ||
                    key->matches(QKeySequence::DeleteEndOfWord);
    }
    return QObject::eventFilter(watched, event);
}

void PathBoxTyping::edited(const QString& text) {
    const QList<PathBoxEntry>* entries = entries_();
    if (!entries || text.isEmpty() || deleting_) {
        stop_ = 0;
        return;
    }
    QLineEdit* edit = box_->lineEdit();
    const std::optional<PathCompletion> done =
        completePath(*entries, text, edit->cursorPosition(), stop_);
    if (!done)
        return;
    edit->setText(done->text);
    if (done->selectionLength > 0)
        edit->setSelection(done->selectionStart, done->selectionLength);
    else
        edit->setCursorPosition(done->selectionStart);
}

} // namespace vantor
