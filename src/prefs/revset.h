#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace vellara {

struct CoreState;

// "Set Reversal": how often a dealt card comes up reversed, one in N.
class Revset : public QWidget {
    Q_OBJECT

public:
    explicit Revset(CoreState &state, QWidget *parent = nullptr);

    void Form_Load();
    void VScroll1_Change();
    void Command1_Click();

private:
    CoreState &m_state;
    QLabel *m_label = nullptr;         // Label1
    QLineEdit *m_number = nullptr;     // Text1
    QScrollBar *m_spin = nullptr;      // VScroll1
    QPushButton *m_accept = nullptr;   // Command1
};

} // namespace vellara
