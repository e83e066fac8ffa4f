#pragma once

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace vellara::platform {

// Line-oriented text files in Windows-1252, the code page the program's files
// come in. Lines are written ended by CR LF and read without their end,
// whether that is CR LF or LF alone.

// A file larger than this is refused whole when opened for reading, with a
// message that names it, so that no file can make a reader hold more. Lines
// are read whole: a value cut on reading would be written back cut.
inline constexpr qint64 kMaxTextFileBytes = 64 * 1024 * 1024;

// True exactly when a file (not a directory) of that path exists.
bool fileExists(const QString &path);

// Joins a directory and a file name with "/". An empty directory gives the
// bare name, which names a file in the working directory.
QString joinPath(const QString &directory, const QString &name);

class TextReader {
public:
    explicit TextReader(const QString &path);

    // False when the file is missing, cannot be read or is too large.
    bool isOpen() const { return m_open; }

    // Reads the next line without its end. False, leaving line unchanged,
    // when the file is not open or no line is left. An empty line is a line.
    bool readLine(QString &line);
    // Moves past the next line, whatever it holds; false when none is left.
    bool skipLine();

private:
    bool nextLine(QByteArray *bytes);

    QFile m_file;
    bool m_open = false;
};

// Writes a file whole or not at all: the lines go to a temporary file beside
// the target, which replaces the target only when commit() succeeds. Until
// then, and whenever anything fails, the old file stays as it was. Where no
// temporary file can be made (a read-only folder) but the file itself may be
// written, it is rewritten in place, and a write that fails puts the old
// contents back.
class TextWriter {
public:
    explicit TextWriter(const QString &path);

    void writeLine(const QString &text);
    // Finishes the file. False when the file could not be created, written or
    // replaced; errorString() then says why, in the system's words.
    bool commit();
    QString errorString() const { return m_error; }

private:
    void fail(const QString &error);
    void writePending();
    bool commitInPlace();

    QString m_path;
    QSaveFile m_file;
    bool m_inPlace = false;
    QByteArray m_old;  // the file as it was, while it is rewritten in place
    QByteArray m_pending;
    QString m_error;
    bool m_failed = false;
};

// Copies source to target, replacing the target only once the copy is whole.
bool copyFile(const QString &source, const QString &target, QString *errorString = nullptr);

// Makes every following commit() or copyFile() fail with this error text, as a
// full disk would; an empty text ends it. For fault injection in tests.
void setWriteFaultForTesting(const QString &errorText);

} // namespace vellara::platform
