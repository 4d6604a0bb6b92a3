#pragma once

#include "browser/proto_test_support.h"
#include "browser/rtf_text.h"
#include "export/doc_exporter.h"

#include <QTemporaryDir>

// A library opened as the window opens it, and a window that records what the export does.
namespace vantor::doctest {

inline DocSource sourceOf(const tli::TypeLibInfo& lib) {
    DocSource s{&lib, lib.typeInfoRows(), {}};
    for (qsizetype row = 0; row < s.rows.size(); ++row)
        if (!tli::isGlobalsSearchData(s.rows[row].itemData))
            s.kindOrder.append(
                {qint16(row),
                 qint16(lib.typeInfo(tli::typeInfoNumber(s.rows[row].itemData)).kind())});
    sortGroupPairs(s.kindOrder, typeKindOrder(QStringLiteral("6,4,5,3,2,1,7,8,9")));
    return s;
}

class RecordingDocFrame : public DocFrame {
public:
    DocOptions options;
    DocSource source;
    DocHead head;
    QStringList statuses;
    QString clipboard;
    QStringList opened;
    qint32 docMode = 0;
    int busy = 0;

    DocOptions docOptions() const override { return options; }
    DocSource docSource() const override { return source; }
    DocHead docHead() const override { return head; }
    QString rtfPrefix() const override { return paneRtfHeader(kColours); }
    void setDocMode(qint32 mode) override { docMode = mode; }
    void setBusy(bool on) override { busy += on ? 1 : -1; }
    void flashStatus(const QString& text) override { statuses.append(text); }
    void setClipboardText(const QString& text) override { clipboard = text; }
    void openFile(const QString& path) override { opened.append(path); }

    inline static const QString kColours =
        QStringLiteral("\\red0\\green0\\blue0;\\red200\\green0\\blue200;\\red200\\green200\\blue0;"
                       "\\red220\\green40\\blue40;");
};

// An exporter over one Wine library, writing into a program folder of its own.
struct Export {
    prototest::Opened opened;
    QTemporaryDir folder;
    RecordingDocFrame frame;
    DocExporter exporter{frame, folder.path(), &prototest::machine().app()};

    // `path`: a library file; a bare name is one of Wine's.
    explicit Export(const QString& path, bool copy = false)
        : opened(prototest::openPath(path.contains(u'/') ? path : prototest::wineFile(path))) {
        createLibDocsFolders(folder.path());
        frame.options.copyToClipboard = copy;
        if (opened.lib)
            frame.source = sourceOf(*opened.lib);
    }
    bool ready() const { return opened.lib != nullptr; }
    QString file(DocOutput output, const QString& name) const {
        return folder.path() + u'/' + docFolder(output) + u'/' + name + docExtension(output);
    }
};

} // namespace vantor::doctest
