#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollBar;

namespace vellara {

struct CoreState;

namespace platform {
class PictureElement;
}

// "Card Browser": the current deck's cards one at a time, picked with a
// slider. It only reads the deck; typing in the name box is stored nowhere.
class Cardbrowse : public QWidget {
    Q_OBJECT

public:
    explicit Cardbrowse(CoreState &state, QWidget *parent = nullptr);

    void Form_Load();
    void HScroll1_Change();
    void HScroll1_Scroll();

private:
    void showCard();
    // An empty deck directory means the program's own.
    void defaultDeckDirectory();

    CoreState &m_state;
    platform::PictureElement *m_picture = nullptr;  // Image1
    QLineEdit *m_name = nullptr;                    // Text1
    QPlainTextEdit *m_meaning = nullptr;            // Text2
    QLabel *m_reversedHeading = nullptr;            // Label3
    QPlainTextEdit *m_reversed = nullptr;           // Text3
    QScrollBar *m_slider = nullptr;                 // HScroll1
};

} // namespace vellara
