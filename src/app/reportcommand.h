#pragma once

namespace quelvarino {

// "QuelvarinoBasic --relatorio ID ..." and "--documento ordem|recibo N":
// a report or a document into a file or onto a printer without a window,
// with the selection rules and the messages of the screens (written to
// stderr). Returns the exit code: 0 done, 1 nothing to print or refused,
// 2 wrong arguments.
bool isReportCommand(int argc, char* argv[]);
int runReportCommand(int argc, char* argv[]);

}  // namespace quelvarino
