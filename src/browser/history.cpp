#include "browser/history.h"

#include "text/text_order.h"

namespace vantor {

void History::clear() {
    entries_.clear();
    count_ = -1;
    position_ = -1;
    lastKey_.clear();
    frame_.setBackEnabled(false);
    frame_.setForwardEnabled(false);
}

qint32 History::ExpStack(qint32 ind1, qint32 ind2, qint32 bS) {
    const QString key = QStringLiteral("%1|%2|%3").arg(ind1).arg(ind2).arg(bS);
    if (equalsText(key, lastKey_))
        return 0;
    const QString entry = QString::number(library_) + u'|' + key;
    if (count_ == -1) {
        entries_ = {entry};
        count_ = 1;
        position_ = 0;
    } else if (count_ == 2) {
        frame_.setBackEnabled(true);
    }
    if (position_ >= 0 && position_ < count_ - 1) {
        // The user had gone back: the later entries give way to this visit.
        count_ = position_ + 1;
        position_ = -1;
        frame_.setForwardEnabled(false);
        frame_.setBackEnabled(true);
    }
    ++count_;
    entries_.resize(count_);
    entries_[count_ - 1] = entry;
    lastKey_ = key;
    return 0;
}

void History::restore(const QString& entry) {
    const QStringList parts = entry.split(u'|');
    if (parts.size() < 4 || parts[0].toInt() != startLibrary_)
        return;
    const qint32 ind1 = parts[1].toInt();
    const qint32 ind2 = parts[2].toInt();
    frame_.selectTypeInfoRow(ind1 == -1 ? 0 : ind1);
    if (ind2 != -1)
        frame_.selectMemberRow(ind2);
    frame_.focusList(parts[3].toInt() != 0);
}

void History::Back() {
    if (count_ < 1)
        return;
    navigating_ = true;
    if (position_ == -1) {
        position_ = count_ - 1;
        startLibrary_ = library_;
    }
    if (position_ > 0) {
        --position_;
        frame_.setForwardEnabled(true);
        restore(entries_[position_]);
    }
    if (position_ == 0)
        frame_.setBackEnabled(false);
    navigating_ = false;
}

void History::Forward() {
    if (position_ < 0 || position_ + 1 >= count_)
        return;
    navigating_ = true;
    ++position_;
    frame_.setBackEnabled(true);
    restore(entries_[position_]);
    if (position_ == count_ - 1)
        frame_.setForwardEnabled(false);
    navigating_ = false;
}

} // namespace vantor
