#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QStringList>
#include <QTreeWidget>

namespace vellara::platform {

// Linked drive, directory and file lists, as the windows that choose pictures
// use them: the drive list offers the mounted file systems, the directory list
// shows the chosen drive's folders as a tree, the file list shows the names of
// one folder's files that match a wildcard pattern. The windows link them:
// a drive change sets the directory list's path, a directory change the file
// list's. They start at the process's current directory.

// The mounted file systems, the root first and the user's home among them.
class DriveList : public QComboBox {
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    // The chosen drive: the path of its root.
    QString drive() const;
    // Chooses the drive that holds path; raises driveChanged when it changes.
    void setDrive(const QString &path);

signals:
    void driveChanged(const QString &root);  // Drive1_Change

private:
    QString m_current;
};

// The folders from the drive's root down to the current one, and the current
// one's subfolders. Activating a folder (double click, Enter) opens it.
class DirectoryList : public QTreeWidget {
    Q_OBJECT

public:
    explicit DirectoryList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Opens a folder. A folder that cannot be read leaves the list where it
    // was and tells the user why; returns whether the path changed.
    bool setPath(const QString &path);

signals:
    void pathChanged(const QString &path);  // Dir1_Change

private:
    QString m_path;
};

// The files of one folder whose names match the pattern, names only, sorted
// by name. The pattern is a wildcard such as "*.wmf", matched without regard
// to case; several may be given separated by ";".
class FileList : public QListWidget {
    Q_OBJECT

public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString &path);
    QString pattern() const { return m_pattern; }
    void setPattern(const QString &pattern);
    QStringList fileNames() const;
    // Reads the folder again.
    void refresh();

signals:
    void fileClicked(const QString &name);        // File1_Click
    void fileDoubleClicked(const QString &name);  // File1_DblClick

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

// The drive, directory and file lists and the pattern box of a window that
// chooses pictures, made once with their names, places and accessible names.
// The window links them through its own handlers.
struct FileChooser {
    struct Places {
        QRect folders, drives, files, patterns;
    };
    FileChooser(QWidget *window, const Places &places, const QStringList &patterns,
                const QString &fileListName = QStringLiteral("File1"));

    // Opens the chosen drive's root; a drive that cannot be opened (the
    // folder list says why) is undone, so both lists show the same drive.
    void changeDrive();

    // Made in this order, which Tab follows: drive, files, folders, pattern.
    DriveList *drives;       // Drive1
    FileList *files;         // File1 or filelist
    DirectoryList *folders;  // Dir1
    QComboBox *patterns;     // Combo1
};

} // namespace vellara::platform
