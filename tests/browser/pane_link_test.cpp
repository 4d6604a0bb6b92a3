// The link texts the pane reports; the history itself is exercised through the browser.
#include "browser/pane_link.h"

#include <gtest/gtest.h>

using namespace vantor;

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
