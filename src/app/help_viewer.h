#pragma once

#include "help/help_book.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QToolButton;
class QTreeWidget;

namespace vantor {

class HelpPage;

// One compiled help file in a window of its own: the contents, the index with its filter box
// and the topics a keyword leads to, and the page with back and forward. Pages, images and style
// sheets come from inside the file; links leave it only for the web and mail, on a click.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // `status` writes the main window's status line; `book` is open.
    HelpViewer(std::unique_ptr<help::HelpBook> book, std::function<void(const QString&)> status);
    ~HelpViewer() override;

    help::HelpBook& book() { return *book_; }
    // A page by its path inside the file (an "#anchor" may follow).
    void showPage(const QString& path);
    // A keyword list: the first keyword found opens its topic (several: they are offered);
    // none found: the index, filtered by the first keyword.
    void showKeywords(const QString& keywords);
    void showContext(qint32 context);
    void back();
    void forward();
    // A link as the page holds it, followed as a click would.
    void followLink(const QString& href);

    QString currentPage() const { return current_; }
    QTextBrowser* page() const;
    QTreeWidget* contents() const { return contents_; }
    QLineEdit* indexFilter() const { return filter_; }
    QListWidget* index() const { return index_; }
    QListWidget* topicsFound() const { return topics_; }
    QTabWidget* tabs() const { return tabs_; }

private:
    void openLocal(const QString& local);
    void display(const QString& path, const QString& anchor, bool record);
    void filterIndex(const QString& text);
    void offerTopics(int indexEntry);
    void updateButtons();
    bool checkBroken();

    std::unique_ptr<help::HelpBook> book_;
    std::function<void(const QString&)> status_;
    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QListWidget* index_ = nullptr;
    QListWidget* topics_ = nullptr;
    HelpPage* page_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QString current_;
    QStringList history_;
    int position_ = -1;
    bool reported_ = false;
};

// The stand-in for the compiled-help engine: one viewer per help file, reused, all closed
// together.
class HelpViewers {
public:
    explicit HelpViewers(std::function<void(const QString&)> status,
                         QString readerProgram = QString());
    ~HelpViewers();

    // The file (a host path) at a page path (context 0), a keyword list (context -99) or a
    // context number. Null when the file cannot be read (reported on the status line).
    HelpViewer* ShowHtmlHelp(const QString& file, qint32 context, const QString& topic);
    HelpViewer* viewer(const QString& file) const;
    void closeAll();

private:
    std::function<void(const QString&)> status_;
    QString readerProgram_;
    QHash<QString, QPointer<HelpViewer>> viewers_;
};

} // namespace vantor
