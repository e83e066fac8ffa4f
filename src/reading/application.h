#pragma once

namespace vellara {

// Starts the program: the application object, the interface font and the main window.
int runApplication(int &argc, char **argv);

} // namespace vellara
