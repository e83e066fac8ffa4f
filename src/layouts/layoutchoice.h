#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;

namespace vellara {

struct CoreState;
class LayoutTable;

// The installed layouts in a pick list, with OK and Cancel or Exit: shared by
// the window that loads a layout and the one that removes them.
class LayoutChoice : public QWidget {
    Q_OBJECT

public:
    void Form_Load();
    virtual void OKButton_Click() = 0;
    void CancelButton_Click();

protected:
    LayoutChoice(CoreState &state, const QString &name, const QString &title, const QString &cancelCaption,
                 QWidget *parent);
    // The chosen entry's list index, or -1 when nothing is chosen or the
    // entry is empty: such an entry can be neither loaded nor removed.
    int chosenIndex() const;

    CoreState &m_state;
    QComboBox *m_layouts = nullptr;   // Combo1
    QPushButton *m_ok = nullptr;      // OKButton
    QPushButton *m_cancel = nullptr;  // CancelButton
};

// "Choose Layout": loads the chosen layout and closes.
class Layoutpick : public LayoutChoice {
    Q_OBJECT

public:
    Layoutpick(CoreState &state, LayoutTable &table, QWidget *parent = nullptr);
    void OKButton_Click() override;

private:
    LayoutTable &m_table;
};

// "Choose Layout to remove": takes the chosen layout out of the installed
// ones and stays open. The current layout stays current.
class Removelay : public LayoutChoice {
    Q_OBJECT

public:
    explicit Removelay(CoreState &state, QWidget *parent = nullptr);
    void OKButton_Click() override;
};

} // namespace vellara
