#pragma once

#include "carddefs/carddefinitioneditor.h"

#include <QPlainTextEdit>
#include <QRect>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace vellara {

namespace platform {
class PictureElement;
}

// A meaning box. Typed characters stop at a limit; a paste is cut to the
// room left only where the stored text is cut too, so that what is shown is
// what is stored. Its text counts a line break as CR LF, as the filter sees it.
class MeaningBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit MeaningBox(QWidget *parent = nullptr) : QPlainTextEdit(parent) {}

    QString text() const;
    void setText(const QString &text);
    void setPasteLimit(int limit) { m_pasteLimit = limit; }

protected:
    void insertFromMimeData(const QMimeData *source) override;

private:
    int m_pasteLimit = 0;  // 0: pastes are taken whole
};

// The window both definitions windows are: one card at a time, with its
// picture, name and meanings, a slider to choose it and the buttons that
// import, store, remove and save. The two windows differ in their target,
// their button places and what "Set deck as current"/"Add card", "Save Set"
// and "Exit no Save" do besides.
class CardDefinitionWindow : public QWidget {
    Q_OBJECT

public:
    struct Design {
        int clientHeight = 0;                // twips; the width is 8280 in both
        std::array<QRect, 7> buttons;        // Command1..Command7, twips
        QString command7Caption;
        bool cutsPastedMeanings = false;     // the target cuts meanings at 400
        bool showsAgainWithoutDeckFile = false;
    };

    CardDefinitionWindow(std::unique_ptr<DeckTarget> target, const Design &design, QWidget *parent = nullptr);

    CardDefinitionEditor &editor() { return m_editor; }
    // The slider's maximum as the deck has it: -1 for a deck without cards,
    // which the scroll bar itself shows as 0.
    int selectorMaximum() const { return m_maximum; }

    void Form_Load();
    void HScroll1_Change();
    void HScroll1_Scroll();
    void Command1_Click();  // "Read from text files"
    void Command2_Click();  // "Read from cards.dat"
    void Command3_Click();  // "Save Set"
    void Command4_Click();  // "Remove card"
    void Command5_Click();  // "Save  text edit"
    virtual void Command6_Click() = 0;  // "Exit no Save"
    virtual void Command7_Click() = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // After "Save Set" has written the deck file.
    virtual void deckSaved() {}

    void setSelectorMaximum(int maximum);
    void showCard(int n, bool trimmed);
    QScrollBar *slider() const { return m_slider; }
    platform::PictureElement *picture() const { return m_picture; }

private:
    bool enterMovesOn(QObject *box, QEvent *event);
    bool typedPastLimit(QObject *box, QEvent *event) const;
    void filterBox(QObject *box);

    CardDefinitionEditor m_editor;
    Design m_design;
    int m_maximum = -1;
    QLineEdit *m_name = nullptr;                    // Text1
    platform::PictureElement *m_picture = nullptr;  // Image1
    MeaningBox *m_meaning = nullptr;                // Text2
    MeaningBox *m_reversed = nullptr;               // Text3
    QScrollBar *m_slider = nullptr;                 // HScroll1
    std::array<QPushButton *, 7> m_buttons{};       // Command1..Command7
};

} // namespace vellara
