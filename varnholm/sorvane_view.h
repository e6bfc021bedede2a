// CSorvaneView: the view of every design window. It keeps the design view's editing and adds
// the output side: new roll, the sends, the cutter's design size, the colour choice and the
// output simulation, and the static cutter installation, set-up and removal that the main
// program's "Cutters" menu calls. One library-wide busy flag keeps these from running inside
// one another while a send pumps messages.
#pragma once

#include "varnholm/design_resources.h"
#include "varnholm/drawing/draw_base_view.h"

#include <memory>

class CColourToolBar;
class CSimulateSortDlg;
class CDesignPage;
class CJoxView;
class CMediaManagerBlk;

// The neighbours the view's output commands call; tests put their own in.
struct StSorvaneServices {
    int (*sendDesign)(CDesignPage* page, CJoxView* view, int velm, int autoSend);
    void (*setDesignSize)(CDesignPage* page, CJoxView* view);
    int (*deleteAllMedMan)();
    CMediaManagerBlk* (*medManSetup)(int marksFound, int anyMode, int autoSend);
};
StSorvaneServices& FnSorvaneServices();

class CSorvaneView : public CDrawBaseView {
    DECLARE_DYNCREATE(CSorvaneView)

public:
    static constexpr int kContext = 43;
    // Commands.
    static constexpr UINT ID_NEW_ROLL = 23070;
    static constexpr UINT ID_SEND_TO_CUTTER = 23071;
    static constexpr UINT ID_SEND_TO_VELM_CUTTER = 23072;
    static constexpr UINT ID_CUTTER_DESIGN_SIZE = 23073;
    // "Copy to Windows": the drawing to the clipboard as a picture.
    static constexpr UINT ID_COPY_TO_WINDOWS = 43023;
    static constexpr UINT ID_AUTO_SEND_TO_CUTTER = 55061;
    static constexpr UINT ID_AUTO_SEND_FINISHED = 55063;
    static constexpr UINT ID_CHANGE_COLOUR = 34086;
    static constexpr UINT ID_TYPED_COLOUR = 43393;
    static constexpr UINT ID_COLOUR_BOX = 34006;
    static constexpr UINT ID_SHOW_CUT_OBJECTS = 34619;
    static constexpr UINT ID_ADD_COLOR = 43397;
    // Toolbars: slots and resources.
    static constexpr UINT kColourToolBarSlot = 47;
    static constexpr UINT kColourToolBarResource = 1034;
    static constexpr UINT kCuttingToolBarSlot = 36;
    static constexpr UINT kViewToolBarSlot = 11;
    static constexpr UINT kViewToolBarResource = 28228;
    // The page's style table.
    static constexpr int kStyleBlock = 14;

    CSorvaneView();
    ~CSorvaneView() override;

    static int IsBusy();
    // 1 when a cutter is installed, after installing one (with detection) when none was.
    int fnValidateCutterInstall();

    int Context() override { return kContext; }
    CObject* GetMFCColourBox() override;
    void SetUpToolbars(bool show) override;
    void OnActivateView(BOOL activate, CView* activated, CView* deactivated) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    // Cutter installation, set-up and removal (cutter_install.cpp).
    static void FnInstallCutter(int autoDetect);
    static void FnSetupCutter();
    static void FnDeleteCutter();

    int SavedColourIndex() const { return m_nSavedColourIdx; }
    CSimulateSortDlg* SimulateDlg() const { return m_pSimulateDlg; }

protected:
    void OnNewRoll();
    void OnSendToCutter();
    void OnSendToVelmCutter();
    void OnAutoSendToCutter();
    void OnAutoSendFinished();
    void OnCutterDesignSize();
    void OnCopyToWindows() { OnSaveMetafile(); }
    void OnChangeColour();
    void OnShowCutObjects();
    void fnOnAddColor();

private:
    // Runs work under the busy rule: nothing at all while the flag is set.
    template <class F> void Guarded(F work);
    void Send(int velm, int autoSend);
    static CColourToolBar* ColourToolBar();

    // Before the first deactivation nothing is chosen.
    int m_nSavedColourIdx = -1;
    BOOL m_bLastActivate = FALSE;
    // The output simulation's player while it runs.
    CSimulateSortDlg* m_pSimulateDlg = nullptr;
    // False once the view is gone: a running player's caller must then not touch it.
    std::shared_ptr<bool> m_pAlive = std::make_shared<bool>(true);
    static int s_nBusy;
};
