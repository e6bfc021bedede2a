// What a send changes on the design itself, and puts back on every way out: the start points
// of the sorted paths and the line-style value of the Brevnar rule.
#pragma once

#include "vector/vector_item.h"

#include "platform/core/cstring.h"

#include <vector>

class CArticle;

class CSendRestore {
public:
    CSendRestore() = default;
    ~CSendRestore();
    CSendRestore(const CSendRestore&) = delete;
    CSendRestore& operator=(const CSendRestore&) = delete;

    // Moves the start of item to vertex index (between two deselections), remembering how to
    // go back. False when the item cannot move its start there.
    bool MoveStart(CVectorItem* item, int index);
    // Sets ".Vector Line Style" on article, remembering what it held.
    void SetLineStyle(CArticle* article, int style);
    // A send that ran to its end: every changed article holds style 0 (not only the top-level
    // ones), and the start points go back.
    void Finish();
    // Puts everything back as it was before the send; done by the destructor too.
    void Restore();

private:
    struct Moved {
        CVectorItem* item;
        int count, start;
        std::vector<CSb> points;
    };
    struct Styled {
        CArticle* article;
        std::vector<CString> effects;
    };
    void RestoreStarts();

    std::vector<Moved> m_moved;
    std::vector<Styled> m_styled;
};
