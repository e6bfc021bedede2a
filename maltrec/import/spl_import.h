// The entries of the cutter job files: FnImportSPLFile sniffs the first 20 bytes and hands the
// file to the spool, GnM, maker's or HP-GL reader; FnImportPNLFile reads a panel file (HP-GL
// after a 293-byte header); FnImportOquenFile reads the maker's cutter file.
//
// Every entry returns 1 when at least one article was added, 0 otherwise (the caller then says
// "Failed to Import"). An import that added articles is one undo transaction on the page.
#pragma once

#include "pivora/article.h"

#include <cstddef>
#include <cstdint>

class CDesignView;
class CFile;
class CDesignPage;

enum class ECutterFileKind { eSpool, eGnM, eOquen, eHpgl };

// How many leading bytes the sniff looks at; a shorter file shows only what it holds.
constexpr size_t kCutterSniffBytes = 20;
constexpr size_t kPanelHeaderBytes = 293;

ECutterFileKind FnSniffCutterFile(const uint8_t* bytes, size_t count);

int FnImportSPLFile(CDesignView* view, CDesignPage* page, CFile* file, UINT kind,
                    CArticleList* list);
int FnImportPNLFile(CDesignView* view, CDesignPage* page, CFile* file);
int FnImportOquenFile(CDesignView* view, CDesignPage* page, CFile* file);
