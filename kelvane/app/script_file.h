// The script named on the command line with "-b": "-b<path>", "-b$<path with blanks>$". The
// program's command table is empty, so a script is only read and its commands dumped.
#pragma once

#include "platform/core/cstring.h"

class CWnd;

// The path after a "-b" that is an argument of its own (at the start of the line or after a
// blank); empty when there is none, a "$" has no partner or the path is under 3 characters.
CString FnScriptPathOf(const CString& commandLine);
// Reads the script the command line names; a missing file says so ("Script ERROR : Unable to
// open %s"). False when a named script could not be read.
bool FnRunScriptFile(const CString& commandLine, CWnd* mainWnd);
