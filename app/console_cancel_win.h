#pragma once
// Ctrl+C and Ctrl+Break for the command-line mode.
#include "clean/run_cancel.h"

namespace cv::ui {

// Installs the console handler (once) and returns the request it sets: the
// first Ctrl+C asks the run to stop at its next safe point; a second one, if
// the run has not stopped by then, ends the program the usual way.
const CancelRequest& StopOnConsoleCtrlC();

}  // namespace cv::ui
