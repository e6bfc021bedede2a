// CItemEcho: the outline of the articles being transformed, drawn in XOR through the drag's
// transform on an echo context that thins long paths. Drawing it twice removes it.
#pragma once

#include "pivora/article.h"
#include "pivora/geometry/mat2d.h"

class CDesignView;
class CJoxDC;
class CJoxView;

class CItemEcho : public CObject {
    DECLARE_DYNAMIC(CItemEcho)

public:
    CItemEcho() = default;
    ~CItemEcho() override;
    CItemEcho(const CItemEcho&) = delete;
    CItemEcho& operator=(const CItemEcho&) = delete;

    // dc may be null; a paint context limits the echo to what is being repainted.
    virtual void Draw(CDesignView* view, CJoxDC* dc);

    // Not owned: the articles must outlive the echo.
    void AddArticle(CArticle* a) { m_Articles.AddTail(a); }
    CArticleList& GetArticleList() { return m_Articles; }
    void XForm(const CMat2d& m) { m_Transform = m; }
    const CMat2d& Transform() const { return m_Transform; }
    // Share of path segments drawn; below 1 nothing is drawn.
    void SetEchoPercent(int percent) { m_nEchoPercent = percent; }
    int EchoPercent() const { return m_nEchoPercent; }

    // The drawing itself, on any view.
    void DrawOn(CJoxView* view, CJoxDC* dc);

private:
    CArticleList m_Articles{10};
    CMat2d m_Transform;
    int m_nEchoPercent = 100;
};
