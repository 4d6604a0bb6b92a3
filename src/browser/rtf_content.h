#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringView>

namespace vantor {

// The subset of RTF that Vantor writes, read into paragraphs of formatted runs. Plain data, so
// the reading can be tested and fuzzed without a display.
struct RtfColour {
    bool automatic = true;
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const RtfColour&) const = default;
};

struct RtfCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false;
    int colour = 0;      // index into the colour table; 0 is automatic
    int font = 0;        // index into the font table
    int halfPoints = 24; // font size
    bool operator==(const RtfCharFormat&) const = default;
};

struct RtfRun {
    QString text;
    RtfCharFormat format;
};

struct RtfParagraph {
    int firstIndent = 0; // twips, all three
    int leftIndent = 0;
    int rightIndent = 0;
    QList<RtfRun> runs;
};

struct RtfContent {
    QMap<int, QString> fonts;
    QList<RtfColour> colours;
    QList<RtfParagraph> paragraphs;
    int defaultFont = 0;

    // The colour of an index, automatic when the table has none.
    RtfColour colour(int index) const;
};

// Never fails: unknown control words and destinations are skipped, unbalanced braces and
// truncated input end where the text ends.
RtfContent parseRtf(QStringView rtf);

} // namespace vantor
