#pragma once

#include "platform/filelists.h"

#include <QWidget>

class QComboBox;

namespace vellara {

struct CoreState;
class LayoutTable;

namespace platform {
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
    platform::FileChooser m_lists;                  // Dir1, Drive1, File1, Combo1
};

} // namespace vellara
