#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vellara {

struct CoreState;

// "Name for Layout" (the name of a new deck, despite the caption): OK adds the
// deck just saved to the installed decks, under the typed name and the folder
// its pictures came from.
class Namecards : public QWidget {
    Q_OBJECT

public:
    explicit Namecards(CoreState &state, QWidget *parent = nullptr);

    void Command1_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CoreState &m_state;
    QLabel *m_label = nullptr;       // Label1
    QLineEdit *m_name = nullptr;     // Text1
    QPushButton *m_ok = nullptr;     // Command1
};

} // namespace vellara
