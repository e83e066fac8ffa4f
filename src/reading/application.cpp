#include "reading/application.h"

#include "core/corestate.h"
#include "platform/fonts.h"
#include "reading/celtic.h"

#include <QApplication>

namespace vellara {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Vellara"));
    QApplication::setApplicationVersion(QStringLiteral("2.5"));
    QApplication::setFont(platform::interfaceFont());
    // The other windows close themselves when the program ends; the main
    // window may be the last to go, or not.
    QApplication::setQuitOnLastWindowClosed(false);
}

Celtic *startReadingTable(QApplication &app)
{
    auto *table = new Celtic(coreState());
    table->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(table, &Celtic::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    table->Form_Load();
    table->show();
    return table;
}

int runApplication(int &argc, char **argv)
{
    QApplication app(argc, argv);
    setUpApplication();
    startReadingTable(app);
    return QApplication::exec();
}

} // namespace vellara
