// CDrawBaseView: the drawing library's view base on the design view. It adds the colour choice
// of the colour toolbar and the removal of an installed cutter.
#pragma once

#include "design/design_view.h"

class CDrawBaseView : public CDesignView {
    DECLARE_DYNCREATE(CDrawBaseView)

public:
    // Strings of the removal.
    static constexpr UINT IDS_CONFIRM_REMOVE_CUTTER = 23090;
    // The undo name of a colour given to the selection.
    static constexpr UINT IDS_UNDO_DRAW_COLOUR = 23092;

    CDrawBaseView();
    ~CDrawBaseView() override;

    // Takes the context mask of the window's document context, then the design view's set-up.
    void OnInitialUpdate() override;

    // The operator picks an installed cutter, confirms, and it goes with its sheet documents;
    // a sheet document that refuses to close keeps the cutter installed.
    static void RemoveCutter();

protected:
    // Gives the style to every selected path, as one undo transaction.
    void SetDrawColour(int styleIndex);
};
