// The paths a send cuts, in cutting order, with the vertex each is to start at.
#pragma once

#include "maltrec/output_settings.h"

#include "pivora/article.h"

#include <vector>

class CDesignPage;

// Fills list (articles of the page's tree, not owned) and starts (one vertex index per entry).
void FnOutputPaths(CDesignPage* page, const StOutputSettings& s, int excludeMarks,
                   CArticleList& list, std::vector<int>& starts);
