// The design view's commands and their update rules. The current tool sees every command
// first; these run when it leaves one alone.
#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/design_view.h"
#include "design/sub_tool.h"
#include "pivora/article.h"
#include "pivora/framework/app_params.h"
#include "pivora/select.h"
#include "pivora/selection_request.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/wait_cursor.h"
#include "qvutils/qv_utils.h"

#include <cstring>

namespace {

// Tools of the design library are made by run-time class name, so the view needs none of their
// headers; a tool class that is not built yet makes nothing.
CDesignTool* NewToolNamed(const char* name) {
    CObject* o = CRuntimeClass::CreateObject(name);
    auto* tool = dynamic_cast<CDesignTool*>(o);
    if (!tool)
        delete o;
    return tool;
}

bool ClassIs(const CObject* o, const char* name) {
    return o && std::strcmp(o->GetRuntimeClass()->m_lpszClassName, name) == 0;
}

bool KindOf(const CObject* o, const char* name) {
    if (!o)
        return false;
    for (const CRuntimeClass* c = o->GetRuntimeClass(); c; c = c->m_pBaseClass)
        if (std::strcmp(c->m_lpszClassName, name) == 0)
            return true;
    return false;
}

// The union of the selected articles' extents; false when nothing with extents is selected.
bool SelectionExtents(CDesignPage* page, CWindow& out) {
    bool any = false;
    for (POSITION pos = page->GetFirstObjectSelection(nullptr); pos;) {
        CSelect* s = page->GetNextObjectSelection(pos, nullptr);
        if (!s || !s->Article())
            continue;
        const CWindow e = s->Article()->Extents(0);
        if (e.fnIsEmptyExtent())
            continue;
        out = any ? CWindow(std::min(out.x1, e.x1), std::min(out.y1, e.y1), std::max(out.x2, e.x2),
                            std::max(out.y2, e.y2))
                  : e;
        any = true;
    }
    return any;
}

void Toggle(int (*get)(), int (*set)(int)) {
    set(!get());
}

// "Display Data Extents" is read once, written back, and kept until the program ends.
int DisplayDataExtents() {
    static const int value = QvGetSetAppParam(L"Display Data Extents", 1);
    return value;
}

} // namespace

BOOL CDesignView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (CDesignTool* tool = GetDesignTool()) {
        tool->SetViewForLastMessage(this);
        if (tool->OnCmdMsg(id, code, extra, handlerInfo))
            return TRUE;
    }
    if (OnViewCommand(id, code, extra, handlerInfo))
        return TRUE;
    return CJoxView::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CDesignView::OnViewCommand(UINT id, int code, void* extra, void* handlerInfo) {
    CCmdUI* ui = UpdateUI(code, extra);
    if (code != CN_COMMAND && !ui)
        return FALSE;
    const bool run = code == CN_COMMAND && !IsQuery(handlerInfo);
    CDesignPage* page = GetDocument();
    CDesignTool* tool = GetDesignTool();
    const int selected = page ? page->GetObjectSelectionCount() : 0;

    // A command of the view that has no update rule: updates are left to the usual road.
    auto command = [&](auto fn) -> BOOL {
        if (ui)
            return FALSE;
        if (run)
            fn();
        return TRUE;
    };
    // A command with its update rule.
    auto both = [&](auto fn, auto update) -> BOOL {
        if (ui) {
            if (!IsQuery(handlerInfo))
                update(ui);
            return TRUE;
        }
        if (run)
            fn();
        return TRUE;
    };
    auto bracket = [&](auto fn) {
        if (!page)
            return;
        NotifyProcessStart();
        fn();
        NotifyProcessEnd();
    };
    auto allViews = [&](LPARAM hint, CObject* o = nullptr) {
        if (page)
            page->UpdateAllViews(nullptr, hint, o);
    };
    auto selectSub = [&](const char* name) {
        CDesignTool* t = NewToolNamed(name);
        if (auto* sub = dynamic_cast<CSubTool*>(t))
            SelectSubTool(sub, 0);
        else
            delete t;
    };
    auto cursorOn = [&](BOOL on) {
        if (CDesignTool* t = GetDesignTool())
            t->vfnEnableCursor(this, on);
    };

    switch (id) {
    case ID_ZOOM_IN:
        return both([&] { selectSub("CZoomSubTool"); },
                    [&](CCmdUI* u) { u->SetCheck(KindOf(tool, "CZoomSubTool")); });
    case ID_ZOOM_OUT:
        return command([&] { ZoomOut(); });
    case ID_ZOOM_SELECTED:
        return both([&] { ZoomSelected(); }, [&](CCmdUI* u) { u->Enable(selected > 0); });
    case ID_ZOOM_RESIZE:
        return command([&] { ZoomResize(1, 0); });
    case ID_ZOOM_FIT:
        return command([&] { ZoomResize(0, 0); });
    case ID_ZOOM_100:
        return command([&] { fnZoomToScale(1); });
    case ID_RESCALE_DESIGN:
        return command([&] { OnRescaleDesign(); });
    case ID_SCREEN_WIDTH:
        return command([&] { OnScreenWidth(); });
    case ID_ZOOM_400:
        return command([&] { fnZoomToScale(4); });
    case ID_ZOOM_200:
        return command([&] { fnZoomToScale(2); });
    case ID_ZOOM_50:
        return command([&] { fnZoomToScale(0.5); });
    case ID_ZOOM_25:
        return command([&] { fnZoomToScale(0.25); });
    case ID_RULER:
        return both(
            [&] {
                SetRuler(!Ruler(), TRUE);
                QvSetAppParam(L"Ruler", Ruler() ? 1 : 0);
            },
            [&](CCmdUI* u) { u->SetCheck(Ruler() ? 1 : 0); });
    case ID_UNITS_CHANGED:
        return command([&] { allViews(kHintRulers); });
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO: {
        const bool redo = id == ID_EDIT_REDO;
        return both(
            [&] {
                if (!page)
                    return;
                CWaitCursor wait;
                bracket([&] {
                    redo ? page->PerformRedoTransaction() : page->PerformUndoTransaction();
                });
            },
            [&](CCmdUI* u) {
                const CStringArray* names =
                    page ? (redo ? &page->RedoTransactionNames() : &page->UndoTransactionNames())
                         : nullptr;
                const bool any = names && names->GetSize() > 0;
                u->Enable(any);
                if (u->m_pMenu && !u->m_pOther) {
                    CString text = redo ? m_strRedoPrompt : m_strUndoPrompt;
                    if (any)
                        text += L" " + names->GetAt(0);
                    u->SetText(text);
                }
            });
    }
    case ID_SELECT_TOOL:
        return both(
            [&] {
                if (CDesignTool* t = NewToolNamed("CSelectTool"))
                    SelectDesignTool(t, 1);
            },
            [&](CCmdUI* u) { u->SetCheck(ClassIs(tool, "CSelectTool")); });
    case ID_ROTATE_TOOL:
        return both(
            [&] {
                if (CDesignTool* t = NewToolNamed("CRotateTool"))
                    SelectDesignTool(t, 1);
            },
            [&](CCmdUI* u) { u->SetCheck(KindOf(tool, "CRotateTool")); });
    case ID_ROTATE_90:
        return command([&] { bracket([&] { page->Rotate90Selection(); }); });
    case ID_REDRAW:
        return command([&] {
            cursorOn(FALSE);
            Invalidate(TRUE);
            UpdateWindow();
            cursorOn(TRUE);
        });
    case ID_SET_INSERT_POINT:
        return both(
            [&] {
                if (!page)
                    return;
                if (page->InsertArticle()) {
                    page->InsertArticle(nullptr);
                    return;
                }
                POSITION pos = page->GetFirstObjectSelection(nullptr);
                CSelect* s = pos ? page->GetNextObjectSelection(pos, nullptr) : nullptr;
                if (s && s->Article())
                    page->InsertArticle(s->Article());
            },
            [&](CCmdUI* u) { u->SetCheck(page && page->InsertOn()); });
    case ID_PANE_INSERT:
        return both([] {}, [&](CCmdUI* u) { u->Enable(page && page->InsertOn()); });
    case ID_AUTO_RESIZE:
        return both(
            [&] {
                const int old = QvGetResizeOn();
                QvSetResizeOn(!old);
                Invalidate(old ? TRUE : FALSE);
                if (page)
                    page->AutoResize(!old);
                UpdateWindow();
            },
            [&](CCmdUI* u) { u->SetCheck(QvGetResizeOn() ? 1 : 0); });
    case ID_STOP_RESCALE:
        return both(
            [&] {
                Toggle(&QvGetStopRescaleOn, &QvSetStopRescaleOn);
                Invalidate(TRUE);
                UpdateWindow();
            },
            [&](CCmdUI* u) { u->SetCheck(QvGetStopRescaleOn() ? 1 : 0); });
    case ID_SHOW_LENGTH:
    case ID_PAN: {
        const char* name = id == ID_PAN ? "CPanSubTool" : "CShowLengthTool";
        return both([&] { selectSub(name); }, [&](CCmdUI* u) { u->SetCheck(KindOf(tool, name)); });
    }
    case ID_HIDE_SELECTION:
        return both(
            [&] {
                if (!page)
                    return;
                for (POSITION pos = page->GetFirstObjectSelection(nullptr); pos;) {
                    CSelect* s = page->GetNextObjectSelection(pos, nullptr);
                    if (s && s->Article())
                        s->Article()->SetProperty(kHiddenProperty, false);
                }
                page->SetModifiedFlag();
                allViews(kHintSelection);
                page->RemoveAllSelection();
            },
            [&](CCmdUI* u) { u->Enable(selected > 0); });
    case ID_SHOW_ALL:
        return command([&] {
            if (!page)
                return;
            CArticleList list;
            page->RootArticle()->GetArticleList(&list, nullptr, nullptr);
            for (POSITION pos = list.GetHeadPosition(); pos;) {
                CArticle* a = list.GetNext(pos);
                if (!a->GetProperty(kHiddenProperty))
                    continue;
                a->ClrProperty(kHiddenProperty, false);
                allViews(kHintArticle, a);
            }
            page->SetModifiedFlag();
        });
    case ID_PLACEMENT_GROUP:
        return both([] { QvSetAppParam(L"Placement Mode", !QvGetAppParam(L"Placement Mode", 0)); },
                    [&](CCmdUI* u) {
                        u->SetCheck(QvGetAppParam(L"Placement Mode", 0) ? 1 : 0);
                        u->Enable(selected > 1);
                    });
    case ID_ORIGIN_TO_CENTRE:
        return both(
            [&] {
                CWindow w;
                if (!page || !SelectionExtents(page, w))
                    return;
                const CLpoint c = w.fnCentre();
                // Signed data units travel as 32-bit values in both parameters.
                SendMessage(WM_ORIGIN_TO_POINT, WPARAM(DWORD(int32_t(c.x))),
                            LPARAM(DWORD(int32_t(c.y))));
            },
            [&](CCmdUI* u) { u->Enable(selected == 1); });
    case ID_LARGE_CROSS_HAIR:
        return both([] { Toggle(&QvGetUseLargeCrossHair, &QvSetUseLargeCrossHair); },
                    [](CCmdUI* u) { u->SetCheck(QvGetUseLargeCrossHair() ? 1 : 0); });
    case ID_AUTO_PAN:
        return both([] { Toggle(&QvGetAutoPan, &QvSetAutoPan); },
                    [](CCmdUI* u) { u->SetCheck(QvGetAutoPan() ? 1 : 0); });
    case ID_BACKGROUND_ON:
        return both(
            [&] {
                cursorOn(FALSE);
                const int old = fnGetBackColourOn();
                fnSetBackColourOn(!old);
                if (page)
                    page->AddUndoBackground(fnGetBackColour(), old, 1);
                allViews(kHintAll);
                cursorOn(TRUE);
            },
            [](CCmdUI* u) { u->SetCheck(fnGetBackColourOn() ? 1 : 0); });
    case ID_BACKGROUND_COLOUR:
        return command([&] {
            const COLORREF oldColour = fnGetBackColour();
            const int oldOn = fnGetBackColourOn();
            fnChooseBackColour();
            if (fnGetBackColour() == oldColour && fnGetBackColourOn() == oldOn)
                return;
            cursorOn(FALSE);
            if (page)
                page->AddUndoBackground(oldColour, oldOn, 1);
            allViews(kHintAll);
            cursorOn(TRUE);
        });
    case ID_GLUE:
    case ID_GROUP:
        return both([&] { bracket([&] { page->GlueObjectSelection(); }); },
                    [&](CCmdUI* u) { u->Enable(selected > 1); });
    case ID_UNGLUE:
    case ID_UNGROUP:
        return both([&] { bracket([&] { page->UnGlueObjectSelection(); }); },
                    [&](CCmdUI* u) { u->Enable(m_bGluedInSelection != 0); });
    case ID_EDIT_OBJECT_GROUPS:
        return both([] {}, [](CCmdUI* u) { OnUpdateProhibitedItem(u); });
    case ID_TOOL_CHANGE:
        return command([&] {
            if (!page)
                return;
            page->OnSelectTool(this);
            // The old tool may be gone: a release must not reach whatever takes its address.
            m_pDownTool = nullptr;
            if (CDesignTool* now = GetDesignTool())
                now->SetViewForLastMessage(this);
        });
    case ID_SUB_TOOL_EXIT:
        return command([&] {
            if (!page)
                return;
            page->OnSubToolExit(this);
            m_pDownTool = nullptr;
        });
    case ID_SELECTION_CHANGED:
        return command([&] {
            RefreshSelectionProperties();
            CSelectionRequest request;
            ChangeSelection(kSelChanged, &request);
        });
    case ID_PANE_EXTENTS:
        return both([] {},
                    [&](CCmdUI* u) {
                        u->Enable(TRUE);
                        CWindow w = CWindow(0, 0, 0, 0);
                        if (page) {
                            if (DisplayDataExtents())
                                page->GetActiveObjectExtents(w);
                            else
                                w = page->Extents();
                        }
                        if (w.fnIsEmptyExtent())
                            w = CWindow(0, 0, 0, 0);
                        CString format, text;
                        AfxLoadString(IDS_EXTENTS_FORMAT, format);
                        text.Format(format, (double(w.x2) - w.x1) * 0.001,
                                    (double(w.y2) - w.y1) * 0.001);
                        if (QvGetInchDisplayOn())
                            QvConvertDisplayPrompt(text);
                        u->SetText(text);
                    });
    case ID_PANE_COUNT:
        return both([] {}, [](CCmdUI* u) { u->SetText(L" "); });
    default:
        return FALSE;
    }
}
