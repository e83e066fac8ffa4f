#pragma once

#include <QWidget>

class QComboBox;

namespace vellara {

struct CoreState;
class LayoutTable;

namespace platform {
class DirectoryList;
class DriveList;
class FileList;
class PictureElement;
}

// "Cardback Selection": a click on a picture file previews it, a double click
// takes it as the card back and shows it in the reading table's large picture.
class Backselect : public QWidget {
    Q_OBJECT

public:
    Backselect(CoreState &state, LayoutTable &table, QWidget *parent = nullptr);

    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void Combo1_Click();
    void File1_Click(const QString &name);
    void File1_DblClick(const QString &name);

private:
    CoreState &m_state;
    LayoutTable &m_table;
    platform::PictureElement *m_preview = nullptr;  // Image1
    platform::DirectoryList *m_folders = nullptr;   // Dir1
    platform::DriveList *m_drives = nullptr;        // Drive1
    platform::FileList *m_files = nullptr;          // File1
    QComboBox *m_patterns = nullptr;                // Combo1
};

} // namespace vellara
