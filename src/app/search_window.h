#pragma once

#include "search/anywhere_search.h"
#include "search/help_string_search.h"

#include <QWidget>
#include <array>
#include <functional>

class QBoxLayout;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace vantor {

// frmHSFind: the hits of a search with "GoTo", "Copy" and "Close", and the ProgID of the
// selected hit; in the "Anywhere" mode a list of symbols with kind, name, type, library and
// value columns and the kind check boxes. Modeless, kept above the main window; it forwards every
// event to the search.
class SearchWindow : public QWidget, public SearchWindowView, public SymbolResultsView {
    Q_OBJECT
public:
    // `panes`: where the main window's panes are, in screen coordinates; the window opens
    // beside them. `guard` runs an event's action and reports its errors.
    SearchWindow(QWidget* owner, std::function<QRect()> panes,
                 std::function<void(const std::function<void()>&)> guard);

    void setSearch(HelpStringSearch* search) { search_ = search; }
    void setAnywhere(AnywhereSearch* anywhere) { anywhere_ = anywhere; }

    // SearchWindowView
    void showWindow(const SearchModeLook& look) override;
    void closeWindow() override;
    void clearRows() override;
    void addRow(const QString& text, qint32 itemData) override;
    int rowCount() const override;
    int selectedRow() const override;
    QString rowText(int row) const override;
    qint32 rowData(int row) const override;
    void selectRow(int row) override;
    QString progIdText() const override;
    void setProgIdText(const QString& text) override;
    void setGoToEnabled(bool enabled) override;
    bool goToEnabled() const override;

    // SymbolResultsView
    void showSymbols(const QList<SymbolHit>& hits) override;
    int selectedSymbol() const override;
    int kindFilter() const override;

    // Widgets, for tests.
    QListWidget* list() const { return list_; }
    QLineEdit* progIdBox() const { return progId_; }
    QGroupBox* progIdFrame() const { return frame_; }
    QPushButton* button(int index) const { return buttons_[index]; }
    QTreeWidget* symbolList() const { return symbols_; }
    QCheckBox* kindBox(int index) const { return kinds_[index]; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run(void (*action)(HelpStringSearch&));
    void buildSymbolList(QBoxLayout* column);

    HelpStringSearch* search_ = nullptr;
    AnywhereSearch* anywhere_ = nullptr;
    std::function<QRect()> panes_;
    std::function<void(const std::function<void()>&)> guard_;
    QListWidget* list_ = nullptr;
    QGroupBox* frame_ = nullptr;
    QLineEdit* progId_ = nullptr;
    std::array<QPushButton*, 3> buttons_{};
    QTreeWidget* symbols_ = nullptr;
    QWidget* kindRow_ = nullptr;
    std::array<QCheckBox*, 3> kinds_{};
    bool quiet_ = false;
};

} // namespace vantor
