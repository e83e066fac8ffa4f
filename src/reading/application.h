#pragma once

class QApplication;

namespace vellara {

class Celtic;

// Starts the program: the application object, the interface font and the main window.
int runApplication(int &argc, char **argv);

// The parts of runApplication, for programs that measure start-up.
// Names the application and sets the interface font.
void setUpApplication();
// Makes the main window, runs its start-up and shows it; the application
// quits when the program ends.
Celtic *startReadingTable(QApplication &app);

} // namespace vellara
