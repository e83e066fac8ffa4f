#pragma once

#include "platform/filelists.h"

#include <QWidget>

class QComboBox;

namespace vellara {

struct CoreState;
struct CardAdderClient;

namespace platform {
class PictureElement;
}

// "Add card to deck": a click on a picture file previews it, a double click
// copies it into the current deck's folder as a new last card and closes.
class Cardadder : public QWidget {
    Q_OBJECT

public:
    Cardadder(CoreState &state, CardAdderClient &client, QWidget *parent = nullptr);

    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void Combo1_Click();
    void File1_Click(const QString &name);
    void File1_DblClick(const QString &name);
    void Command1_Click();

private:
    CoreState &m_state;
    CardAdderClient &m_client;
    platform::PictureElement *m_preview = nullptr;  // Image1
    platform::FileChooser m_lists;                  // Dir1, Drive1, File1, Combo1
};

} // namespace vellara
