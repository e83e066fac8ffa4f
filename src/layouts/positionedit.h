#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vellara {

struct CoreState;
class LayoutTable;

// "Edit Card Position Information": the positional meaning of each position
// of the current layout, stored to memory or written with the layout file.
// The list of positions is the one the layout had when the window opened.
class Positionedit : public QWidget {
    Q_OBJECT

public:
    Positionedit(CoreState &state, LayoutTable &table, QWidget *parent = nullptr);

    void Form_Load();
    void Combo1_Click();
    void Text1_GotFocus();
    void Text1_LostFocus();
    void Command1_GotFocus();
    void Command2_GotFocus();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Stores the box's text as the chosen position's meaning.
    void storeText();
    void choose(int index);

    CoreState &m_state;
    LayoutTable &m_table;
    QPlainTextEdit *m_text = nullptr;      // Text1
    QComboBox *m_positions = nullptr;      // Combo1
    QPushButton *m_toMemory = nullptr;     // Command1
    QPushButton *m_toFile = nullptr;       // Command2
    QPushButton *m_exit = nullptr;         // Command3
    QLabel *m_help = nullptr;              // Label1
};

} // namespace vellara
