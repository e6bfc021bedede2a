#include "felgrin/cutter_instance.h"

#include "felgrin/felgrin_strings.h"
#include "qvutils/host_services.h"

IMPLEMENT_DYNCREATE(CCutterInstance, CObject)

CCutterInstance::CCutterInstance(CBaseCutter* cutter) : m_pCutter(cutter) {
    if (m_pCutter) {
        m_wExtents = CWindow(0, 0, m_pCutter->fnGetMaxWidth(), m_pCutter->fnGetMaxHeight());
        m_pCutter->fnAddLiveInstance(this);
    }
}

CCutterInstance::~CCutterInstance() {
    if (!m_pCutter)
        return;
    // A cutter must not keep holding a client that is gone, nor the device it opened for it.
    if (m_pCutter->fnIsAttached(this)) {
        if (m_pCutter->InStartEndDoc() && !m_pCutter->InStartEndOutput())
            m_pCutter->EndDoc();
        m_pCutter->fnDetachCutInst(this);
    }
    m_pCutter->fnRemoveLiveInstance(this);
}

void CCutterInstance::fnCutterDeleted() {
    m_pCutter = nullptr;
    m_bAttached = 0;
}

int CCutterInstance::fnAttachToCutter() {
    m_bAttached = m_pCutter ? m_pCutter->fnAttachCutInst(this) : 0;
    return m_bAttached;
}

int CCutterInstance::fnDetachFromCutter() {
    if (m_pCutter)
        m_pCutter->fnDetachCutInst(this);
    m_bAttached = 0;
    return 0;
}

int CCutterInstance::fnStartDoc() {
    if (!m_pCutter)
        return CUT_ERR_NO_DEVICE;
    if (!fnAttachToCutter())
        return CUT_ERR_BUSY;
    int r = m_pCutter->StartDocW();
    if (r != 0)
        fnDetachFromCutter();
    return r;
}

int CCutterInstance::fnEndDoc() {
    if (!m_pCutter)
        return CUT_ERR_NO_DEVICE;
    int r = m_pCutter->EndDoc();
    fnDetachFromCutter();
    return r;
}

int CCutterInstance::fnStartPage() {
    return m_pCutter ? m_pCutter->StartPage() : CUT_ERR_NO_DEVICE;
}
int CCutterInstance::fnEndPage() {
    return m_pCutter ? m_pCutter->EndPage() : CUT_ERR_NO_DEVICE;
}

int CCutterInstance::fnStartOutput(int showCancel, int init) {
    if (!m_pCutter)
        return CUT_ERR_NO_DEVICE;
    if (m_pCutter->InStartEndOutput())
        return 0;
    return m_pCutter->StartOutput(showCancel, init);
}

int CCutterInstance::fnEndOutput() {
    if (!m_pCutter)
        return CUT_ERR_NO_DEVICE;
    if (m_pCutter->CutCancelled())
        m_pCutter->SetCutCancelled(0);
    // The output ends even when the move home fails: an output left open would make every
    // later job skip its start and initialisation.
    int r = m_pCutter->ReturnToZero();
    int e = m_pCutter->EndOutput();
    return r != 0 ? r : e;
}

int CCutterInstance::fnCutCancelled() {
    return m_pCutter ? m_pCutter->CutCancelled() : 0;
}

int CCutterInstance::Blocked() {
    if (!m_pCutter)
        return CUT_ERR_NO_DEVICE;
    return m_pCutter->CutCancelled() ? CUT_ERR_CANCELLED : 0;
}

int CCutterInstance::fnDeselect() {
    if (int b = Blocked())
        return b;
    return m_pCutter->Deselect();
}
int CCutterInstance::fnRecut(int n) {
    if (int b = Blocked())
        return b;
    return m_pCutter->Recut(n);
}
int CCutterInstance::fnFeed(CLpoint* p) {
    if (int b = Blocked())
        return b;
    return m_pCutter->Feed(p);
}
int CCutterInstance::fnPreload(const CWindow& w) {
    if (int b = Blocked())
        return b;
    return m_pCutter->Preload(w);
}
int CCutterInstance::fnPolyMoveTo(POINT* p, int n) {
    if (int b = Blocked())
        return b;
    return m_pCutter->PolyMoveTo(p, n);
}
int CCutterInstance::fnWaitUntilMoved(int t) {
    if (int b = Blocked())
        return b;
    return m_pCutter->WaitUntilMoved(t);
}
int CCutterInstance::fnPolyLineTo(POINT* p, int n) {
    if (int b = Blocked())
        return b;
    return m_pCutter->PolyLineTo(p, n);
}
int CCutterInstance::fnPenUp() {
    if (int b = Blocked())
        return b;
    return m_pCutter->PenUp();
}
int CCutterInstance::fnPenDown() {
    if (int b = Blocked())
        return b;
    return m_pCutter->PenDown();
}

int CCutterInstance::fnSetExtents(CWindow* w) {
    if (!m_pCutter)
        return CUT_ERR_NO_DEVICE;
    if (!m_bAttached)
        return CUT_ERR_BUSY;
    return m_pCutter->SetExtents(w);
}

int CCutterInstance::fnSetDesignExtents(CWindow* w) {
    if (!m_pCutter)
        return CUT_ERR_NO_DEVICE;
    if (!m_bAttached)
        return CUT_ERR_BUSY;
    return m_pCutter->SetDesignExtents(w);
}

int CCutterInstance::fnInquireExtents(CWindow* window) {
    if (window)
        *window = m_wExtents;
    if (!m_pCutter)
        return CUT_ERR_NO_DEVICE;
    bool attachedHere = false;
    if (!m_pCutter->fnIsAttached(this)) {
        if (!fnAttachToCutter())
            return CUT_ERR_BUSY;
        attachedHere = true;
    }
    CWindow w = m_wExtents;
    int result = CUT_ERR_BUSY;
    int autoRetries = 0;
    for (int round = 0;; ++round) {
        if (round > 0 && m_pCutter->GetPortName().Compare(L"USB") < 0)
            m_pCutter->WaitUntilMoved(120);
        result = m_pCutter->InquireExtents(&w);
        if (result == 0 || result == CUT_ERR_WRITE || result == CUT_ERR_STORED)
            break;
        // The person cancelled the wait: nothing to ask again.
        if (m_pCutter->CutCancelled()) {
            result = CUT_ERR_CANCELLED;
            break;
        }
        UINT reasonId = 0;
        switch (result) {
        case CUT_ERR_BUSY:
            reasonId = IDS_CUTTER_BUSY;
            break;
        case CUT_ERR_READ:
            reasonId = IDS_FAILED_GET_INFO;
            break;
        case CUT_ERR_CANCELLED:
            reasonId = IDS_FAILED_TIMEOUT;
            break;
        case CUT_ERR_NO_DEVICE:
            reasonId = IDS_NO_DEVICE;
            break;
        case CUT_ERR_OPEN:
            reasonId = IDS_FAILED_OPEN_PORT;
            break;
        default:
            break;
        }
        CString text = FelgrinLoadString(IDS_MEDIA_SIZE_FAILED);
        text.Replace(L"%1", reasonId ? FelgrinLoadString(reasonId) : CString());
        int autoRetry = qvhost::GetAppParam(L"Cutter Auto Retry", 0);
        qvhost::SetAppParam(L"Cutter Auto Retry", autoRetry);
        bool again;
        if (autoRetry != 0 && autoRetries < kMaxAutoRetries) {
            ++autoRetries;
            again = true;
        } else {
            again = qvhost::MessageBox(text, qvhost::kMbRetryCancel | qvhost::kMbIconExclamation) ==
                    qvhost::kIdRetry;
        }
        if (!again)
            break;
    }
    // Outside an output nothing else would clear the cancel: the next job must start clean.
    if (m_pCutter->CutCancelled() && !m_pCutter->InStartEndOutput())
        m_pCutter->SetCutCancelled(0);
    if (result == 0 || result == CUT_ERR_STORED) {
        m_wExtents = w;
        if (window)
            *window = w;
        fnSetExtents(&w);
    }
    if (attachedHere)
        fnDetachFromCutter();
    return result;
}

int CCutterInstance::fnInquireArcError() {
    return m_pCutter ? m_pCutter->Inquire(CUTTER_INQUIRE_ARC_ERROR, nullptr, 0) : CUTTER_ARC_ERROR;
}
int CCutterInstance::fnInquireReturnToZero() {
    return m_pCutter ? m_pCutter->fnInquireReturnToZero() : 0;
}
int CCutterInstance::fnInquireCurrentPosition(POINT* p) {
    if (m_pCutter && p)
        *p = m_pCutter->fnInquireCurrentPosition();
    return 1;
}
int CCutterInstance::fnIsCurrentPosition(POINT p) {
    return m_pCutter ? m_pCutter->fnIsCurrentPosition(p) : 0;
}
int CCutterInstance::fnGetPortName(CString& name) {
    name = m_pCutter ? m_pCutter->GetPortName() : CString();
    return 1;
}
int CCutterInstance::fnStartDesign() {
    return m_pCutter ? m_pCutter->StartDesign() : 0;
}
int CCutterInstance::fnEndDesign() {
    return m_pCutter ? m_pCutter->EndDesign() : 0;
}
void CCutterInstance::fnSetOrientation(CLpoint& a, CLpoint& b) {
    if (m_pCutter)
        m_pCutter->SetOrientation(a, b);
}
void CCutterInstance::fnSendString(std::string& text) {
    if (m_pCutter)
        m_pCutter->SendString(text);
}
void CCutterInstance::fnReadString(std::string& text) {
    if (m_pCutter)
        m_pCutter->ReadString(text);
}
void CCutterInstance::fnSetCutandFeed(int v) {
    if (m_pCutter)
        m_pCutter->fnSetCutandFeed(v);
}
void CCutterInstance::fnSetOptimizeCurves(int v) {
    if (m_pCutter)
        m_pCutter->SetOptimizeCurves(v);
}
void CCutterInstance::fnSetPreload(int v) {
    if (m_pCutter)
        m_pCutter->SetPreload(v);
}
int CCutterInstance::fnGetCutterModel() {
    return m_pCutter ? m_pCutter->fnGetCutterModel() : 0;
}
int CCutterInstance::fnSetLineStyle(int style) {
    return m_pCutter ? m_pCutter->fnSetLineStyle(style) : 0;
}
double CCutterInstance::fnGetResolution() {
    return m_pCutter ? m_pCutter->GetResolution() : 25.0;
}
int CCutterInstance::fnFeedMediaExtents() {
    return m_pCutter ? m_pCutter->FeedMediaExtents() : 0;
}
