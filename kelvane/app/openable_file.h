// Which files the program opens or imports, by their extension identifier: designs, design
// templates, artwork (Illustrator, EPS, PDF) and the cutter files (spool, HP-GL, GnM, panel).
#pragma once

#include "platform/core/cstring.h"

class CDesignFileDlg;

namespace kelvane {

// Extension identifiers (rows of the browsing layer's extension table).
constexpr int kExtUnknown = -1;
constexpr int kExtDesign = 0;
constexpr int kExtIllustrator = 11;
constexpr int kExtEps = 12;
constexpr int kExtDxf = 14;
constexpr int kExtHgl = 16;
constexpr int kExtHpg = 33;
constexpr int kExtCutTemplate = 38;
constexpr int kExtSpool = 40;
constexpr int kExtHglAlt = 41;
constexpr int kExtPlt = 42;
constexpr int kExtGnM = 54;
constexpr int kExtPanel = 60;
constexpr int kExtPdf = 65;

// The cutter files the spool reader tells apart by their content.
bool IsCutterFileExt(int id);
// Whether the path contains "output.spl" or "CutLog.txt" (the cutter's own output files).
bool NamesCutterOutput(const CString& path);
// The path's extension identifier; an unknown one is the spool identifier when the path contains
// "output.spl" or "CutLog.txt".
int FileExtIdOf(const CString& path);

// Whether two paths name one file: compared exactly once resolved (on this system "Logo.kdx"
// and "logo.kdx" are two files).
bool SameFile(const CString& a, const CString& b);

} // namespace kelvane

// True when id is one of the dialog's filter identifiers or a design template or cutter file;
// an unknown identifier never is. An unknown one first becomes the spool identifier when the
// path contains "output.spl" or "CutLog.txt"; on false id is given back as it came.
bool FnIsSupportedExtension(int& id, const CDesignFileDlg& dialog, const CString& path);
// Whether the path is one the program opens or imports. Every road but the Open command asks
// this first (the command line, forwarded, dropped and recent files): a path it refuses is
// told there ("Failed to Import" with "Format Not Supported").
bool FnIsOpenableFile(const CString& path);
// "Format Not Supported" with the path's extension: why a refused file was not imported.
CString FnFormatNotSupported(const CString& path);
