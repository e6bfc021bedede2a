#include "maltrec/send_to_cutter.h"

#include "maltrec/cut_output_sheet.h"
#include "maltrec/cutoutput/cut_output_strings.h"
#include "maltrec/cutoutput/job_frames.h"
#include "maltrec/cutoutput/output_paths.h"
#include "maltrec/cutoutput/send_restore.h"
#include "maltrec/cutoutput/tile_output.h"
#include "maltrec/cutoutput/velm_marker_block.h"

#include "design/design_page.h"
#include "design/find_velm_marks.h"
#include "felgrin/cutter_instance.h"
#include "felgrin/felgrin_strings.h"
#include "hobrand/media_manager_blk.h"
#include "pivora/framework/jox_view.h"
#include "platform/framework/wait_cursor.h"
#include "platform/windowing/message_box.h"
#include "vector/vector_article.h"

#include <algorithm>
#include <memory>

namespace {

// A colour is red for the Brevnar rule when red is strong and green and blue are nearly off.
constexpr int kRedAbove = 200;
constexpr int kOtherBelow = 20;

void Tell(UINT id, const CString& text) {
    platform::ShowMessageBox(nullptr, text, L"", MB_OK | MB_ICONEXCLAMATION, id);
}

bool IsRed(COLORREF c) {
    return GetRValue(c) > kRedAbove && GetGValue(c) < kOtherBelow && GetBValue(c) < kOtherBelow;
}

int32_t Grow(int32_t v, int64_t by) {
    return int32_t(std::clamp<int64_t>(int64_t(v) + by, INT32_MIN, INT32_MAX));
}

// Ends the output on every way out once it has started.
struct OutputRun {
    CMediaManagerBlk* medMan;
    explicit OutputRun(CMediaManagerBlk* m, int flag) : medMan(m) { medMan->fnStartOutput(flag); }
    ~OutputRun() { medMan->fnEndOutput(); }
    OutputRun(const OutputRun&) = delete;
    OutputRun& operator=(const OutputRun&) = delete;
};

void CutJob(CMediaManagerBlk* mm, CDesignPage* page, CArticle* job, const StOutputSettings& s) {
    CWindow rect = s.IsVELMMode() ? page->RootArticle()->Extents(0) : job->Extents(0);
    if (s.m_bWeedBox) {
        rect = CWindow(Grow(rect.x1, -int64_t(s.m_nWeedMargin)),
                       Grow(rect.y1, -int64_t(s.m_nWeedMargin)), Grow(rect.x2, s.m_nWeedMargin),
                       Grow(rect.y2, s.m_nWeedMargin));
        FnAddWeedBox(job, rect);
        job->InvExtents(1);
        job->Extents(0);
    }
    FnApplyCurveFilter(job);
    if (s.m_bTiling) {
        FnCutTiles(mm, job, rect, s);
    } else if (s.IsVELMMode()) {
        mm->fnPlaceDataOntoSheets(0, job, &rect, 1, s.m_bAutoRotate);
        mm->fnPageStart(0);
        mm->fnDeselectCutter();
        if (s.m_nCopies > 1)
            mm->fnRecut(s.m_nCopies - 1);
    } else if (mm->fnFeedEachCut()) {
        for (int copy = 0; copy < s.m_nCopies; ++copy) {
            CWindow place = rect;
            if (!mm->fnPlaceDataOntoSheets(0, job, &place, 1, s.m_bAutoRotate))
                break;
            mm->fnFeedExtra(0);
            mm->fnPageStart(1);
        }
    } else {
        mm->fnPlaceDataOntoSheets(0, job, &rect, s.m_nCopies, s.m_bAutoRotate);
    }
}

// The registration marks of the design, looked for in both modes.
int FindMarks(const StSendServices& services, CDesignPage* page, bool look, StVelmMarkers& marks) {
    if (!look || !services.findMarks)
        return 0;
    return services.findMarks(page, 0, &marks) || services.findMarks(page, 1, &marks) ? 1 : 0;
}

// The paths in cutting order, their start points moved, and with Brevnar the red ones last as
// perforation lines.
void OrderPaths(CDesignPage* page, const StOutputSettings& s, CSendRestore& restore,
                CArticleList& local) {
    std::vector<int> starts;
    FnOutputPaths(page, s, s.IsVELMMode() && !s.m_bCutVelmMarks ? 1 : 0, local, starts);
    if (s.m_nStartPointMode != eStartUnchanged) {
        size_t i = 0;
        for (POSITION pos = local.GetHeadPosition(); pos && i < starts.size(); ++i)
            if (auto* item = dynamic_cast<CVectorItem*>(local.GetNext(pos)->GetItem()))
                restore.MoveStart(item, starts[i]);
    }
    if (s.m_bBrevnar) {
        std::vector<CArticle*> red;
        for (POSITION pos = local.GetHeadPosition(); pos;) {
            POSITION at = pos;
            auto* v = dynamic_cast<CVectorArticle*>(local.GetNext(pos));
            COLORREF c = 0;
            if (v && v->GetLineColour(c) && IsRed(c)) {
                restore.SetLineStyle(v, 1);
                red.push_back(v);
                local.RemoveAt(at);
            }
        }
        for (CArticle* a : red)
            local.AddTail(a);
    }
}

// A temporary article holding a copy of each vector path, in order.
std::unique_ptr<CArticle> CopyPaths(const CArticleList& local) {
    auto temp = std::make_unique<CArticle>();
    CTree* last = nullptr;
    for (POSITION pos = local.GetHeadPosition(); pos;) {
        CArticle* a = local.GetNext(pos);
        if (!IsCVectorArticle(a, false))
            continue;
        // Appending after the last copy keeps a long row linear.
        CTree* copy = a->CopyTreeObject();
        if (last)
            last->InsertRsibling(copy);
        else
            temp->AddChild(copy);
        last = copy;
    }
    return temp;
}

void SetUpCutter(CMediaManagerBlk* mm, const StOutputSettings& s) {
    mm->fnFeedEachCut(s.m_nFeedOption == eFeedAfterCopy);
    if (CCutterInstance* cutter = mm->fnGetCutter()) {
        cutter->fnSetOptimizeCurves(s.m_bOptimizeCurves);
        cutter->fnSetPreload(s.m_bPreload);
    }
    mm->fnSetBiteFeed(s.m_bTiling);
}

// False, after telling why, when the medium cannot be read or the tiles cannot advance;
// changed is the media manager's answer whether the cutter's medium changed.
bool CheckMedium(CMediaManagerBlk* mm, const StOutputSettings& s, int& changed) {
    if (!s.IsVELMMode()) {
        changed = mm->fnCutExtChanged();
        if (changed == -1) {
            CString device, text = FelgrinLoadString(IDS_MEDIA_SIZE_FAILED);
            mm->fnDeviceName(device);
            text.Replace(L"%1", device);
            Tell(IDS_MEDIA_SIZE_FAILED, text);
            return false;
        }
    }
    if (s.m_bTiling && !FnTileSteps(mm, s).CanAdvance()) {
        CString text;
        text.Format(CutOutputLoadString(IDS_TILES_CANNOT_ADVANCE), s.m_nTileWidth / 1000,
                    s.m_nTileHeight / 1000, s.m_nTileOverlap / 1000);
        Tell(IDS_TILES_CANNOT_ADVANCE, text);
        return false;
    }
    return true;
}

// The output from its start to its end: the page, the marker block in VELM mode, each job,
// then the feed after the job and the deselection.
void Output(CMediaManagerBlk* mm, CDesignPage* page, CArticle* temp, const StOutputSettings& s,
            const StVelmMarkers& marks, int changed) {
    OutputRun run(mm, s.IsVELMMode() ? 0 : 1);
    if (!s.IsVELMMode() && mm->fnIsNewSheet() && changed == 0)
        mm->fnPageStart(1);
    if (s.IsVELMMode())
        FnSendVelmMarkerBlock(mm->fnGetCutter(), marks, s.m_bVelmSheetMode);

    std::vector<CArticle*> jobs;
    if (s.m_bCutObjectsSeparately)
        for (CTree* t = temp->GetFirstChild(); t; t = t->GetRsibling())
            jobs.push_back(static_cast<CArticle*>(t));
    else
        jobs.push_back(temp);
    for (CArticle* job : jobs) {
        // Each job is a tree of its own while it is placed.
        CTree* left = job->GetLsibling();
        CTree* parent = job->GetParent();
        job->Detach();
        CutJob(mm, page, job, s);
        if (left)
            left->InsertRsibling(job);
        else if (parent)
            parent->Add1stChild(job);
    }
    if (!s.IsVELMMode()) {
        if (s.m_nFeedOption == eFeedAfterJob)
            mm->fnPageStart(0);
        mm->fnDeselectCutter();
    }
}

} // namespace

int FnFindVelmMarks(CDesignPage* page, int mode, StVelmMarkers* out) {
    CFindVelmMarks finder;
    if (!page || !finder.Execute(page, mode))
        return 0;
    if (out)
        *out = StVelmMarkers{finder.GetXdist(), finder.GetYdist(), finder.GetXsize(),
                             finder.GetYsize(), finder.GetXn()};
    return 1;
}

StSendServices& FnSendServices() {
    static StSendServices services;
    return services;
}

int g_fnSendDesignToCutter(CDesignPage* page, CJoxView* view, int velm, int autoSend) {
    if (!page || !page->RootArticle())
        return 0;
    FnRegisterCutOutputStrings();
    const StSendServices& services = FnSendServices();
    if (velm) {
        page->ResetDeviceExtents();
        if (view && view->m_hWnd)
            ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
    }
    page->RecalcExtents(0);

    StVelmMarkers marks;
    const int found = FindMarks(services, page, velm || autoSend, marks);
    if (velm && !found) {
        Tell(IDS_VELM_MARKERS_NOT_FOUND, CutOutputLoadString(IDS_VELM_MARKERS_NOT_FOUND));
        return 0;
    }
    CMediaManagerBlk* mm =
        services.medManSetup ? services.medManSetup(found ? 1 : 0, 0, autoSend) : nullptr;
    if (!mm || !dynamic_cast<CDesignPage*>(mm->GetDocument()))
        return 0;
    auto* sheetPage = static_cast<CDesignPage*>(mm->GetDocument());

    StOutputSettings s(found ? eVelmMode : eNormalMode, page->GetObjectSelectionCount() > 0);
    s.LoadFromReg();
    if (!autoSend) {
        CCutOutputSheet sheet(sheetPage, page, IDS_OUTPUT_SETUP_DETAILS, &s, nullptr, 0);
        if (sheet.DoModal() != IDOK)
            return 0;
    }
    s.SaveToReg();
    // From here on the send works without the operator until it ends.
    CWaitCursor wait;

    // From here on the design's own start points and line styles change; they go back on
    // every way out.
    CSendRestore restore;
    CArticleList local;
    OrderPaths(page, s, restore, local);
    std::unique_ptr<CArticle> temp = CopyPaths(local);
    // Copies 0 would start and feed the medium for nothing.
    if (!temp->GetFirstChild() || s.m_nCopies <= 0) {
        Tell(IDS_NO_DATA_TO_CUT, CutOutputLoadString(IDS_NO_DATA_TO_CUT));
        return 0;
    }
    SetUpCutter(mm, s);
    int changed = 0;
    if (!CheckMedium(mm, s, changed))
        return 0;
    Output(mm, page, temp.get(), s, marks, changed);
    if (s.m_bBrevnar)
        for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
            static_cast<CArticle*>(t)->fnSaveValue(CVectorArticle::kLineStyle, 0, 0);
    temp.reset();
    restore.Finish();
    return 1;
}

void g_fnSetDesignSizeToCutter(CDesignPage* page, CJoxView*) {
    const StSendServices& services = FnSendServices();
    CMediaManagerBlk* mm = services.medManSetup ? services.medManSetup(0, 1, 0) : nullptr;
    if (!page || !mm)
        return;
    mm->fnCutExtChanged();
    CWindow w;
    mm->fnGetCutterExt(&w);
    page->DeviceExtents(w);
}
