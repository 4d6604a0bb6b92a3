#include "browser/rtf_document.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(RtfDocument, FindsLinksAndFonts) {
    const QList<RtfLink> links = findLinks("x <file: A|1/> y <file: B|{G}:1.0.B> <file: open");
    ASSERT_EQ(links.size(), 2);
    EXPECT_EQ(links[0].target, "file: A|1/");
    EXPECT_EQ(links[1].target, "file: B|{G}:1.0.B");
    EXPECT_EQ(hostFontFamily("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(hostFontFamily("courier new"), "Liberation Mono");
    EXPECT_EQ(hostFontFamily("Fira Code"), "Fira Code");
}
