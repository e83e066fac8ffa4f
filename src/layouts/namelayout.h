#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vellara {

class LayoutEditMode;

// "Name for Layout": the name of the layout that "Edit Layout" starts. OK
// installs it; closing the window from its frame leaves the layout unnamed.
class Namelayout : public QWidget {
    Q_OBJECT

public:
    explicit Namelayout(LayoutEditMode &editMode, QWidget *parent = nullptr);

    void Command1_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LayoutEditMode &m_editMode;
    QLabel *m_label = nullptr;    // Label1
    QLineEdit *m_name = nullptr;  // Text1
    QPushButton *m_ok = nullptr;  // Command1
};

} // namespace vellara
