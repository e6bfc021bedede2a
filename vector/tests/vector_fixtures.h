// Fixtures of the vector tests: a polyline item whose control points are its vertices, pages,
// byte streams of objects, and a drawing context on a surface the test owns.
#pragma once

#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/jox_page.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/graphics/surface.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

// A path item of straight elements between its control points; closed when its first and
// last points coincide.
class CPolyTestItem : public CVectorItem {
    DECLARE_SERIAL(CPolyTestItem)
public:
    CPolyTestItem() = default;
    CPolyTestItem(std::initializer_list<CLpoint> points, DWORD flags = 0);
    // Builds from a point list.
    explicit CPolyTestItem(const std::vector<CLpoint>& points, DWORD flags = 0);

    int VectCount() override { return int(m_Points.GetSize()); }
    CSb* VectPtr(int i) override { return &m_Points.ElementAt(i); }
    void Vect(CSb p, int i) override { m_Points.SetAt(i, p); }
    void Vect(CSb p) override { m_Points.Add(p); }
    CSb Vect(int i) override { return m_Points.GetAt(i); }
    CSbArray* Vect() override { return &m_Points; }
    void DelVect(int first, int count) override { m_Points.RemoveAt(first, count); }
    void DelVect() override { m_Points.RemoveAll(); }
    int ElementCount() override { return VectCount(); }
    CLpoint GetElementPos(int i) override { return m_Points.GetAt(i).pt; }
    int IsClosed(int) override;
    int IsEmpty() override { return m_Points.IsEmpty() ? 1 : 0; }
    void MakeCurves() override { MakePktArray(1); }
    void MakePktArray(int level) override;
    int TransformElement(CMat2d* m, int first, int count) override;
    CObject* CopyObject(CObject* target) override;
    void Serialize(CArchive& ar) override;

    // How often the flattened path was rebuilt.
    int m_nBuilds = 0;

private:
    CSbArray m_Points;
};

// A test with its own settings, home and program folders and empty parameter caches.
class VectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        QvResetAppParamCache();
        CVectorArticle::fnResetCachedParams();
    }
    void TearDown() override {
        QvResetAppParamCache();
        CVectorArticle::fnResetCachedParams();
    }
    SettingsSandbox m_box;
};

std::unique_ptr<CJoxPage> NewPage();
// A vector article with a polyline item under the page's root.
CVectorArticle* AddPath(CJoxPage& page, std::initializer_list<CLpoint> points, int style = 0);
// A closed square of side s with its low corner at (x, y).
CPolyTestItem* Square(LONG x, LONG y, LONG s);

std::vector<BYTE> StoreObject(const CObject* obj);
template <class T> T* LoadObjectAs(const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    return ar.ReadObjectAs<T>();
}
// The page's body as Serialize writes it.
std::vector<BYTE> StorePage(CJoxPage& page);
void LoadPage(CJoxPage& page, const std::vector<BYTE>& bytes);
// Whether bytes ends with tail.
bool EndsWith(const std::vector<BYTE>& bytes, const std::vector<BYTE>& tail);

// A drawing context on a surface the test owns.
struct SurfaceDC : CJoxDC {
    explicit SurfaceDC(platform::Surface& s) { Attach(platform::CreateSurfaceDC(&s)); }
};
