// The messages a design view is handling, innermost last: a handler may close the view's own
// document, and the routing must then leave the freed view alone.
#pragma once

class CDesignView;

struct StRouteFrame {
    CDesignView* view;
    bool alive;
    StRouteFrame* outer;
};

// Marks every frame of this view as gone; called by its destructor.
void FnMarkViewGone(CDesignView* view);
