#pragma once

#include <QPointF>
#include <QString>

namespace vellara {

struct CoreState;
class LayoutTable;

// Designing a layout on the reading table: the card pictures are dragged to
// their places, positions are added and removed, and saving writes the layout
// file and ends the editing. The table is reached only through LayoutTable.
class LayoutEditMode {
public:
    enum class Phase { Normal, EditingUnnamed, EditingNamed };

    LayoutEditMode(CoreState &state, LayoutTable &table);

    Phase phase() const;

    // "Edit Layout", once its name dialog is open: the table goes into edit
    // mode at once, without waiting for the name.
    void editLayout();
    // The name confirmed in the name dialog: installs it, makes it the
    // layout's name and lets positions be added and removed. False, with
    // nothing changed, when no more layouts can be installed.
    bool nameLayout(const QString &typed);
    void addCard();
    void removeCard();
    // "Save Current Layout": writes the layout file; editing ends only once
    // it is written.
    void saveLayout();

    // Mouse events on card picture k; positions are in pixels of the picture.
    void mouseDown(int k, QPointF at);
    void mouseMove(int k, QPointF at);
    void mouseUp(int k);

private:
    // Shows the card back, or no picture when it cannot be loaded.
    void showBackOnCard(int k);
    void showBackOnFace(int k);

    CoreState &m_state;
    LayoutTable &m_table;
    bool m_named = false;
};

} // namespace vellara
