#include "reading/application.h"

#include "core/corestate.h"
#include "core/layoutfile.h"
#include "core/settingsfile.h"

#include <QApplication>
#include <QFont>
#include <QMainWindow>

namespace vellara {

namespace {

// The windows are laid out for a small 8-point sans serif; Nimbus Sans (from
// the URW fonts the setup installs) has the metrics of the classic one.
void setInterfaceFont()
{
    QFont font(QStringLiteral("Nimbus Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    QApplication::setFont(font);
}

} // namespace

int runApplication(int &argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellara"));
    QApplication::setApplicationVersion(QStringLiteral("2.5"));
    setInterfaceFont();

    CoreState &state = coreState();
    ReadSettingsFile(state);

    // The reading table takes this window's place; until then the program
    // shows the settings it read in the title.
    QMainWindow window;
    window.setObjectName(QStringLiteral("celtic"));
    window.setWindowTitle(QLatin1String(kTitlePrefix) + state.settings.layoutName);
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}

} // namespace vellara
