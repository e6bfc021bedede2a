// Keeps the windows alive during long work on the one thread: dispatches what is queued.
#pragma once

// Removes and dispatches every queued message until the queue is empty. A WM_QUIT found on
// the way ends the pump and is posted again, so that the main loop still ends the program.
void DoEvents();
