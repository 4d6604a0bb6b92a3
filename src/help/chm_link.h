#pragma once

#include <QString>

namespace vantor::help {

// A path inside a help file made absolute and normalised: "\" becomes "/", "." and ".." are
// resolved and a ".." at the top stays at the top, so no path leaves the file. `base` is the page
// a relative path is read from. Empty when nothing is left.
QString normalisePagePath(const QString& path, const QString& base = QString());

// Where a link of a help page leads.
struct LinkTarget {
    enum class Kind {
        Page,      // a page of the same file: `path` (normalised) and `anchor`
        External,  // web or mail: `url`, opened by the desktop on a click only
        OtherFile, // a page of another help file: not followed
        None,      // anything else (scripts, local files): not followed
    };
    Kind kind = Kind::None;
    QString path;
    QString anchor;
    QString url;
};

// `href` as a page of `file` (the help file's path) at page `base` writes it: relative,
// "/absolute", "ms-its:FILE::/path", "mk:@MSITStore:FILE::/path", "its:..." or "FILE::/path".
LinkTarget resolveLink(const QString& href, const QString& base, const QString& file);

} // namespace vantor::help
