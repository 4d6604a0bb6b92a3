#pragma once

#include <QString>
#include <QStringList>

namespace vantor {

// What the visit history does to the window: the back and forward buttons, and the selections
// it restores.
class HistoryFrame {
public:
    virtual ~HistoryFrame() = default;
    virtual void setBackEnabled(bool enabled) = 0;
    virtual void setForwardEnabled(bool enabled) = 0;
    virtual void selectTypeInfoRow(qint32 row) = 0;
    virtual void selectMemberRow(qint32 row) = 0;
    // true: the type-info list, false: the member list.
    virtual void focusList(bool typeInfoList) = 0;
};

// The visits the back and forward buttons return to. An entry is "L|I1|I2|B": the library's
// catalog line, the type-info row, the member row (-1 for none) and 1 for a type-info or link
// selection, 0 for a member click.
class History {
public:
    explicit History(HistoryFrame& frame) : frame_(frame) {}

    // The library the next visits belong to (set by each library load).
    void setLibrary(qint32 library) { library_ = library; }
    qint32 library() const { return library_; }
    // Selections made while back or forward restore an entry are not visits.
    bool navigating() const { return navigating_; }
    // A load from the library list forgets the last key, so its first visit is recorded.
    void forgetLastKey() { lastKey_.clear(); }

    // Forgets every visit (the catalog lines they name changed, or the view was emptied).
    void clear();

    qint32 ExpStack(qint32 ind1, qint32 ind2, qint32 bS);
    void Back();
    void Forward();

    const QStringList& entries() const { return entries_; }
    qint32 count() const { return count_; }
    qint32 position() const { return position_; }

private:
    void restore(const QString& entry);

    HistoryFrame& frame_;
    QStringList entries_;
    qint32 count_ = -1;
    qint32 position_ = -1;
    QString lastKey_;
    bool navigating_ = false;
    qint32 library_ = 0;
    qint32 startLibrary_ = 0;
};

} // namespace vantor
