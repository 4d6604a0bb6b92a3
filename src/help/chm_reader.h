#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

namespace vantor::help {

// The window's side of the CHM reader process (vantor-chm): one process per help file, started on
// open, asked for objects by path. A process that dies, takes longer than the time bound or
// answers nonsense is killed, and the reader stays broken from then on.
class ChmReader {
public:
    enum class Outcome { Found, Missing, Broken };
    struct Answer {
        Outcome outcome = Outcome::Broken;
        QByteArray bytes;
    };
    static constexpr int TimeBoundMs = 5000;

    // `program`: the reader program; empty = vantor-chm beside this program or installed.
    explicit ChmReader(QString file, QString program = QString());
    ~ChmReader();
    ChmReader(const ChmReader&) = delete;
    ChmReader& operator=(const ChmReader&) = delete;

    // Starts the process; false when it cannot read the file as a compiled help file.
    bool open();
    // The object at `path` ("/dir/page.htm").
    Answer read(const QString& path);
    bool broken() const { return broken_; }
    const QString& file() const { return file_; }

    // The installed or built reader program.
    static QString defaultProgram();

private:
    Answer readAnswer();
    void fail();

    QString file_;
    QString program_;
    QProcess process_;
    bool broken_ = false;
};

} // namespace vantor::help
