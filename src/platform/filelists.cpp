#include "platform/filelists.h"

#include "platform/message.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace vellara::platform {

namespace {

// Pseudo file systems hold nothing a user keeps pictures in.
bool isUserVolume(const QStorageInfo &volume)
{
    static const QByteArrayList hidden{"proc", "sysfs", "devpts", "cgroup", "cgroup2", "securityfs", "debugfs",
                                       "tracefs", "pstore", "bpf", "mqueue", "hugetlbfs", "configfs",
                                       "fusectl", "binfmt_misc", "autofs", "devtmpfs", "overlay", "nsfs"};
    return volume.isValid() && volume.isReady() && !hidden.contains(volume.fileSystemType());
}

QString cleanPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The process's current directory. Qt gives no name for one that has been
// removed; the system still knows what it was called.
QString startingFolder()
{
    const QString current = QDir::currentPath();
    if (!current.isEmpty())
        return current;
    QString gone = QFileInfo(QStringLiteral("/proc/self/cwd")).symLinkTarget();
    const QString deleted = QStringLiteral(" (deleted)");
    if (gone.endsWith(deleted))
        gone.chop(deleted.size());
    return gone.isEmpty() ? qEnvironmentVariable("PWD") : gone;
}

// Why a folder cannot be listed, in the system's words; empty when it can.
QString folderError(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    DIR *dir = ::opendir(native.constData());
    if (!dir)
        return QString::fromLocal8Bit(std::strerror(errno));
    ::closedir(dir);
    return {};
}

} // namespace

DriveList::DriveList(QWidget *parent) : QComboBox(parent)
{
    setAccessibleName(QStringLiteral("Drives"));
    QStringList roots{QStringLiteral("/")};
    const QString home = QDir::homePath();
    if (!home.isEmpty())
        roots << home;
    QStringList mounts;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (isUserVolume(volume))
            mounts << volume.rootPath();
    std::sort(mounts.begin(), mounts.end());
    for (const QString &mount : mounts)
        if (!roots.contains(mount))
            roots << mount;
    for (const QString &root : roots)
        addItem(root == home ? root + QStringLiteral("  (home)") : root, root);
    setDrive(QDir::currentPath());
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QString root = itemData(index).toString();
        if (root != m_current) {
            m_current = root;
            emit driveChanged(root);
        }
    });
}

QString DriveList::drive() const
{
    return m_current;
}

void DriveList::setDrive(const QString &path)
{
    // The drive of a path is the longest listed root that holds it.
    const QString clean = cleanPath(path);
    int best = 0;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        const bool holds = clean == root || clean.startsWith(root.endsWith('/') ? root : root + '/');
        if (holds && root.size() > itemData(best).toString().size())
            best = i;
    }
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(best);
    }
    const QString root = itemData(best).toString();
    if (root != m_current) {
        const bool first = m_current.isEmpty();
        m_current = root;
        if (!first)
            emit driveChanged(root);
    }
}

DirectoryList::DirectoryList(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(10);
    setAccessibleName(QStringLiteral("Folders"));
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (item)
            setPath(item->data(0, Qt::UserRole).toString());
    });
    setPath(startingFolder());
}

bool DirectoryList::setPath(const QString &path)
{
    const QString clean = path.isEmpty() ? path : cleanPath(path);
    const QString error = folderError(clean);
    if (!error.isEmpty()) {
        showMessage(QStringLiteral("The folder %1 cannot be opened: %2").arg(clean, error));
        return false;
    }

    clear();
    // The chain from the root down to the folder, then its subfolders.
    QStringList chain;
    for (QDir dir(clean);; ) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    QTreeWidgetItem *parentItem = nullptr;
    for (const QString &folder : chain) {
        const QString name = QDir(folder).isRoot() ? folder : QFileInfo(folder).fileName();
        auto *item = parentItem ? new QTreeWidgetItem(parentItem, {name}) : new QTreeWidgetItem(this, {name});
        item->setData(0, Qt::UserRole, folder);
        item->setExpanded(true);
        parentItem = item;
    }
    const QStringList subfolders =
        QDir(clean).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subfolders) {
        auto *item = new QTreeWidgetItem(parentItem, {name});
        item->setData(0, Qt::UserRole, QDir(clean).filePath(name));
    }
    setCurrentItem(parentItem);
    const bool changed = clean != m_path;
    m_path = clean;
    if (changed)
        emit pathChanged(m_path);
    return changed;
}

FileList::FileList(QWidget *parent) : QListWidget(parent)
{
    setAccessibleName(QStringLiteral("Files"));
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { emit fileClicked(item->text()); });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { emit fileDoubleClicked(item->text()); });
}

void FileList::setPath(const QString &path)
{
    m_path = cleanPath(path);
    refresh();
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = pattern.trimmed().isEmpty() ? QStringLiteral("*.*") : pattern.trimmed();
    refresh();
}

QStringList FileList::fileNames() const
{
    QStringList names;
    for (int i = 0; i < count(); ++i)
        names << item(i)->text();
    return names;
}

void FileList::refresh()
{
    QDir dir(m_path);
    QStringList filters = m_pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &filter : filters) {
        filter = filter.trimmed();
        if (filter == QLatin1String("*.*"))
            filter = QStringLiteral("*");  // every file, with or without an extension
    }
    dir.setNameFilters(filters);
    // Regular files only: no dot files, and no FIFOs, sockets or devices,
    // which no picture reader can open.
    dir.setFilter(QDir::Files);
    clear();
    // QDir sorts by name, without regard to case, unless told otherwise.
    addItems(dir.entryList());
}

FileChooser::FileChooser(QWidget *window, const Places &places, const QStringList &patternList,
                         const QString &fileListName)
    : drives(new DriveList(window)), files(new FileList(window)), folders(new DirectoryList(window)),
      patterns(new QComboBox(window))
{
    folders->setObjectName(QStringLiteral("Dir1"));
    folders->setGeometry(places.folders);
    drives->setObjectName(QStringLiteral("Drive1"));
    drives->setGeometry(places.drives);
    files->setObjectName(fileListName);
    files->setGeometry(places.files);
    patterns->setObjectName(QStringLiteral("Combo1"));
    patterns->setGeometry(places.patterns);
    patterns->addItems(patternList);
    patterns->setAccessibleName(QStringLiteral("File type"));
}

void FileChooser::changeDrive()
{
    if (!folders->setPath(drives->drive())) {
        const QSignalBlocker quiet(drives);
        drives->setDrive(folders->path());
    }
}

} // namespace vellara::platform
