#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace vellara {

struct CoreState;

// One card's four fields as the editor moves them about.
struct CardFields {
    QString pictureFile;
    QString name;
    QString meaning;
    QString reversedMeaning;
};

// The deck a definitions window edits in place: the deck being created or the
// current deck. Each stores at its own widths and knows its own folders.
class DeckTarget {
public:
    virtual ~DeckTarget() = default;

    virtual int cardCount() const = 0;
    virtual void setCardCount(int count) = 0;
    // The slots that hold all four fields; a deck never has more cards.
    virtual int capacity() const = 0;
    // Slots outside 0..capacity()-1 read as empty and take nothing.
    virtual CardFields card(int i) const = 0;
    virtual void setCard(int i, const CardFields &card) = 0;
    virtual void setTexts(int i, const QString &name, const QString &meaning, const QString &reversedMeaning) = 0;

    // Whether a card is shown trimmed when the window opens or the slider moves.
    virtual bool showsTrimmed() const = 0;
    // The folder a card's picture is loaded from.
    virtual QString pictureDirectory() = 0;
    // The folder the card text files are read from.
    virtual QString textFileDirectory() = 0;
    // The folder whose cards.dat is read and written.
    virtual QString deckFileDirectory() = 0;
    // Writes the deck file; on failure the user has been told why.
    virtual bool writeDeckFile() = 0;
};

// The deck being created; its folders follow the open card set import.
std::unique_ptr<DeckTarget> pendingDeckTarget(CoreState &state);
// The current deck; an empty deck directory becomes the program's own.
std::unique_ptr<DeckTarget> currentDeckTarget(CoreState &state);

// The editing model the two definitions windows share, over a target. It
// keeps no copy of the deck: every change goes straight into the target.
class CardDefinitionEditor {
public:
    explicit CardDefinitionEditor(std::unique_ptr<DeckTarget> target);

    DeckTarget &target() { return *m_target; }

    // What showing card n puts into the window; nothing beyond the slots.
    struct Shown {
        QString picturePath;
        QString name;
        QString meaning;
        QString reversedMeaning;
    };
    std::optional<Shown> cardAt(int n, bool trimmed) const;

    // "Save  text edit": the boxes' texts become card n's.
    void storeTexts(int n, const QString &name, const QString &meaning, const QString &reversedMeaning);

    // "Remove card": card n goes, the cards up to maximum move one place
    // down. False when the deck has no card.
    bool removeCard(int n, int maximum);

    // "Read from text files": each card's name and meanings from the text
    // file named after its picture, where there is one.
    void readTextFiles();

    enum class DeckFileRead { Read, Missing, Refused };
    // "Read from cards.dat": the whole target from its folder's deck file. A
    // missing file or a count the target cannot hold is told and changes nothing.
    DeckFileRead readDeckFile();

    // "Save Set". False, with the reason told, when the file cannot be written.
    bool saveSet() { return m_target->writeDeckFile(); }

    // The boxes' filter on losing the focus: every character below code 31
    // or above 127 becomes a tab, so a stored text never breaks a file line.
    static QString filtered(const QString &text);

private:
    std::unique_ptr<DeckTarget> m_target;
};

// "Set deck as current": the deck being created replaces the current deck's
// first 100 slots and its directory.
void setPendingDeckAsCurrent(CoreState &state);

} // namespace vellara
