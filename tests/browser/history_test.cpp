#include "browser/history.h"
#include "browser/pane_link.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

class RecordingHistoryFrame : public HistoryFrame {
public:
    void setBackEnabled(bool on) override { back = on; }
    void setForwardEnabled(bool on) override { forward = on; }
    void selectTypeInfoRow(qint32 row) override { selected.append(QStringLiteral("T%1").arg(row)); }
    void selectMemberRow(qint32 row) override { selected.append(QStringLiteral("M%1").arg(row)); }
    void focusList(bool typeInfoList) override { focusTypeInfos = typeInfoList; }
    bool back = false;
    bool forward = false;
    bool focusTypeInfos = false;
    QStringList selected;
};

} // namespace

TEST(History, FirstVisitsAndRepeats) {
    RecordingHistoryFrame frame;
    History history(frame);
    history.setLibrary(7);
    history.ExpStack(3, -1, 1);
    // The first visit leaves two identical entries.
    EXPECT_EQ(history.entries(), (QStringList{"7|3|-1|1", "7|3|-1|1"}));
    EXPECT_EQ(history.position(), 0);
    history.ExpStack(3, 2, 0);
    history.ExpStack(3, 2, 0); // the same member twice is one visit
    EXPECT_EQ(history.entries(), (QStringList{"7|3|-1|1", "7|3|2|0"}));
    EXPECT_TRUE(frame.back);
    EXPECT_EQ(history.position(), -1);
}

TEST(History, BackForwardAndANewVisitAfterGoingBack) {
    RecordingHistoryFrame frame;
    History history(frame);
    history.setLibrary(1);
    history.ExpStack(0, -1, 1);
    history.ExpStack(0, 4, 0);
    history.ExpStack(2, -1, 1);
    history.ExpStack(2, 1, 0);
    ASSERT_EQ(history.count(), 4);

    history.Back();
    EXPECT_EQ(frame.selected, (QStringList{"T2"}));
    EXPECT_TRUE(frame.focusTypeInfos);
    EXPECT_TRUE(frame.forward);
    frame.selected.clear();
    history.Back();
    EXPECT_EQ(frame.selected, (QStringList{"T0", "M4"}));
    EXPECT_FALSE(frame.focusTypeInfos);
    frame.selected.clear();
    history.Forward();
    EXPECT_EQ(frame.selected, (QStringList{"T2"}));

    // Two steps back, then a new member: the newer entries go and forward is off.
    history.Back();
    history.ExpStack(5, 0, 0);
    EXPECT_EQ(history.entries(), (QStringList{"1|0|-1|1", "1|0|4|0", "1|5|0|0"}));
    EXPECT_FALSE(frame.forward);
    EXPECT_TRUE(frame.back);

    // Back down to the first entry disables back; more presses change nothing.
    history.Back();
    history.Back();
    EXPECT_FALSE(frame.back);
    history.Back();
    EXPECT_EQ(history.position(), 0);
}

TEST(History, EntriesOfAnotherLibraryChangeNoSelection) {
    RecordingHistoryFrame frame;
    History history(frame);
    history.setLibrary(1);
    history.ExpStack(0, -1, 1);
    history.setLibrary(2);
    history.ExpStack(-1, -1, 1);
    history.ExpStack(1, -1, 1);
    history.Back();
    EXPECT_EQ(frame.selected, QStringList{"T0"}); // "<globals>" row (-1) selects row 0
    frame.selected.clear();
    history.Back();
    EXPECT_TRUE(frame.selected.isEmpty());
}

TEST(PaneLinks, ReadsBothFormsAndFindsTheRow) {
    EXPECT_EQ(readPaneLink("file: Folder|7/").kind, PaneLink::Kind::InLibrary);
    EXPECT_EQ(readPaneLink("file: Folder|7/").typeInfo, 7);
    const PaneLink external =
        readPaneLink("file: stdole.IFontDisp|{00020430-0000-0000-C000-000000000046}:2.0.IFontDisp");
    EXPECT_EQ(external.kind, PaneLink::Kind::External);
    EXPECT_EQ(external.url, "progid4:{00020430-0000-0000-C000-000000000046}:2.0.IFontDisp");
    EXPECT_EQ(readPaneLink("file: no bar").kind, PaneLink::Kind::None);
    EXPECT_EQ(readPaneLink("file: x|/").kind, PaneLink::Kind::None);

    // "<globals>", a coclass whose default interface is 4, the hidden interface 4 not listed.
    const QList<TypeInfoRow> rows{{-1, false, -1}, {2, false, -1}, {6, true, 4}, {5, false, -1}};
    EXPECT_EQ(rowForTypeInfo(rows, 4), 2);
    EXPECT_EQ(rowForTypeInfo(rows, 1), 1);
    EXPECT_EQ(rowForTypeInfo(rows, 9), std::nullopt);
    // When the interface itself is listed first, it wins.
    const QList<TypeInfoRow> both{{5, false, -1}, {6, true, 4}};
    EXPECT_EQ(rowForTypeInfo(both, 4), 0);
}
