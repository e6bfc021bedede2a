// Arbitrary bytes read as one curve item (a spline or Bezier item, or any other item): the
// archive exception is the only way out, and whatever loaded is measured, flattened, hit-tested,
// drawn, converted, edited, stored and freed without a crash, a hang or undefined behaviour.
#include "bezier/bezier_item.h"
#include "pivora/framework/jox_dc.h"
#include "spline/spline_item.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/graphics/surface.h"

#include <memory>

namespace {

struct RecordingDC : CJoxDC {
    platform::RecordingSurface surface;
    RecordingDC() { Attach(platform::CreateSurfaceDC(&surface)); }
};

void Exercise(CVectorItem* v) {
    (void)v->Extents();
    v->MakePktArray(4);
    v->MakePktArray(1);
    v->FixOldDesigns();
    RecordingDC dc;
    CItemHitTest ht(&dc, CPoint(0, 0), CItemHitTest::kModeNodes | CItemHitTest::kModePath, 3);
    (void)v->HitTestPoint(&ht);
    v->SelectAll();
    v->DrawSelectedPoints(&dc);
    v->CurveToggle(false);
    (void)v->fnCanMoveItemStart();
    v->fnDoMoveItemStart();
    v->PointDelete();
    v->MakeCurves();
    (void)v->Extents();
}

// The whole-path operations on a copy: thinning, offsets and their rejoining, crossings and
// loop cutting, conversions, corner loops and spikes.
void ExerciseGeometry(CSplineItem* s) {
    std::unique_ptr<CSplineItem> c(s->Copy(0));
    (void)c->IsInside(CLpoint(0, 0));
    (void)c->Direction();
    (void)c->NumSections();
    int first = 0, count = 0;
    c->Section(2, first, count);
    (void)c->ApplySimpleFilter(50, 20, 3);
    c->MakeCurves();
    c->Displace(100, 1);
    c->CalcIntersects();
    c->MakeCurves();
    CSplineItemArray pieces;
    (void)c->FindIntersections(&pieces);
    for (INT_PTR i = 0; i < pieces.GetSize(); ++i)
        delete pieces.GetAt(i);
    (void)c->ConvertArcs(30);
    c->MakeCurves();
    (void)c->ConvertLines(0, 5);
    c->MakeCurves();
    c->ConvertPoints(40, 1, 91);
    (void)c->RemoveSpikes(0.01, 10);
    (void)CSplineItem::FilterShortPoints(c.get());
    c->MakeCurves();
    c->MakePktArray(4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemFile file(data, UINT(size));
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CItem> item;
    try {
        item.reset(ar.ReadObjectAs<CItem>());
    } catch (const CArchiveException&) {
        return 0;
    }
    if (auto* b = DynamicDowncast<CBezierItem>(item.get())) {
        std::unique_ptr<CSplineItem> s(CreateSplineItem(b));
        if (s) {
            Exercise(s.get());
            ExerciseGeometry(s.get());
        }
        (void)b->FullExtents();
    }
    if (auto* sp = DynamicDowncast<CSplineItem>(item.get()))
        ExerciseGeometry(sp);
    if (auto* v = DynamicDowncast<CVectorItem>(item.get()))
        Exercise(v);
    CMemFile out;
    CArchive store(&out, CArchive::store);
    store.WriteObject(item.get());
    store.Close();
    return 0;
}
