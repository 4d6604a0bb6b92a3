#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace vantor {

class Catalogs;

// The loaded library as the settings save records it.
struct LoadedLibrary {
    QString guid;
    int major = 0;
    int minor = 0;
};

// What the window asks of library browsing: loading a library into the lists, the clicks on
// them, the toolbar's history and interface buttons, and the pane's links. The window reaches
// browsing only through this.
class LibraryBrowser {
public:
    virtual ~LibraryBrowser() = default;
    // Loads catalog record `index` (its path already in the path box) and selects the type info
    // of that name; false when nothing was loaded.
    virtual bool SelTypInfo(qint32 index, const QString& typeInfo) = 0;
    // Loads the library the path box names (nGetTypInfos).
    virtual bool BrowseLibrary() = 0;
    // A library reference text "GUID:major.minor.TypeInfo" (ChooseLib).
    virtual bool ChooseLib(const QString& reference) = 0;
    virtual void TypeInfoClicked(int row) = 0;
    virtual void MemberClicked(int row) = 0;
    virtual void NextInterface() = 0;
    virtual void Back() = 0;
    virtual void Forward() = 0;
    // The href of a pane anchor: the text of the clicked link.
    virtual void LinkClicked(const QString& linkText) = 0;
    // The library in the lists, when one is loaded.
    virtual std::optional<LoadedLibrary> loaded() const = 0;
};

// Browsing until the type information component is there: every request says on the status
// line that it is not available, and no library is ever loaded.
class UnavailableBrowser : public LibraryBrowser {
public:
    explicit UnavailableBrowser(std::function<void(const QString&)> status)
        : status_(std::move(status)) {}
    static QString message() { return QStringLiteral("library browsing is not available yet"); }

    bool SelTypInfo(qint32, const QString&) override { return say(); }
    bool BrowseLibrary() override { return say(); }
    bool ChooseLib(const QString&) override { return say(); }
    void TypeInfoClicked(int) override { say(); }
    void MemberClicked(int) override { say(); }
    void NextInterface() override { say(); }
    void Back() override { say(); }
    void Forward() override { say(); }
    void LinkClicked(const QString&) override { say(); }
    std::optional<LoadedLibrary> loaded() const override { return std::nullopt; }

private:
    bool say() {
        status_(message());
        return false;
    }
    std::function<void(const QString&)> status_;
};

} // namespace vantor
