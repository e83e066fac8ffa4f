#pragma once

#include "platform/filelists.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vellara {

struct CoreState;

// "Add Card Sets": the pictures of one folder are offered with a tick each,
// and "Save List" hands the ticked ones to the deck being created and opens
// its definitions window.
class Newcardset : public QWidget {
    Q_OBJECT

public:
    explicit Newcardset(CoreState &state, QWidget *parent = nullptr);

    // Builds the new deck's definitions window ("newcarddef"). That window
    // lives above this folder, so the program's wiring installs the factory;
    // until one is installed "Save List" opens nothing.
    static void setNewcarddefFactory(std::function<QWidget *()> make);

    // The folder the file list shows: where the new deck's pictures are and
    // where its deck file goes.
    QString fileListPath() const;
    // The folder chosen in the directory list, where card text files are read.
    QString folderListPath() const;

    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void Combo1_Click();
    void Command1_Click();  // "Add Listed Images"
    void Command2_Click();  // "Save List"

private:
    CoreState &m_state;
    platform::FileChooser m_lists;                  // Dir1, Drive1, File1, Combo1
    QListWidget *m_offered = nullptr;              // floppylist
    QLabel *m_hint = nullptr;                      // Label1
    QPushButton *m_addListed = nullptr;            // Command1
    QPushButton *m_saveList = nullptr;             // Command2
};

// The new deck's folder: the one the open "Add Card Sets" window's file list
// shows, or, once that window is closed, the one "Save List" took the
// pictures from.
QString newDeckDirectory(const CoreState &state);
// The folder chosen in the open import's directory list, or, once it is
// closed, the pictures' folder.
QString newDeckFolderChoice(const CoreState &state);

} // namespace vellara
