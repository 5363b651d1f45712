#pragma once

class QApplication;

namespace quelvarino {

// Performs the program start: splash, single-instance guard, data folder,
// screens, DataModule1, main window shown. False when the program must end
// at once (a second copy, or a data folder that cannot be used).
bool startProgram(QApplication& app);

// Closes the main window and releases everything, so a test can start again.
// The integrity check and the day's backup beside the start are given up.
void stopProgram();

// Waits for the check and the day's backup beside the start to end, and
// lets them say what they found.
void waitForStartChecks();

}  // namespace quelvarino
