#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace vellara {

struct CoreState;
class LayoutTable;

namespace platform {
class FileList;
}

// "Choose Layout" from the layout files of the working directory: OK loads
// the clicked file's layout and installs its name.
class Layoutload : public QWidget {
    Q_OBJECT

public:
    Layoutload(CoreState &state, LayoutTable &table, QWidget *parent = nullptr);

    void File1_Click(const QString &name);
    void OKButton_Click();
    void CancelButton_Click();

private:
    CoreState &m_state;
    LayoutTable &m_table;
    platform::FileList *m_files = nullptr;  // File1
    QLineEdit *m_chosen = nullptr;          // Text1
    QPushButton *m_ok = nullptr;            // OKButton
    QPushButton *m_cancel = nullptr;        // CancelButton
};

} // namespace vellara
