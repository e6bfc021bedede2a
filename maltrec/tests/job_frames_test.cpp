#include "maltrec/cutoutput/job_frames.h"

#include "pivora/tests/app_settings_fixture.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <memory>
#include <vector>

namespace {

class CurveFilter : public AppSettingsTest {};

CSplineItem* AddPath(CArticle* job, const std::vector<CLpoint>& points) {
    auto* s = new CSplineItem;
    for (const CLpoint& p : points)
        s->Vect(CSb(CSplineItem::kBreak, p));
    s->MakeCurves();
    s->MakePktArray(CSplineItem::kCopyLevel);
    auto* a = new CVectorArticle;
    a->Item(s);
    job->AddChild(a);
    return s;
}

// After the filter every path's curves and elements are those of its remaining points, whether
// the filter thinned it, its arrays were stale, or nothing changed at all.
TEST_F(CurveFilter, LeavesEveryPathFlattenedFromItsPoints) {
    auto job = std::make_unique<CArticle>();
    CSplineItem* kept = AddPath(job.get(), {{0, 0}, {10000, 0}, {10000, 10000}});
    const uint64_t keptElements = kept->FingerprintElements();
    CSplineItem* stale = AddPath(job.get(), {{0, 0}, {10000, 0}, {10000, 10000}});
    stale->VectPtr(1)->pt = CLpoint(5000, -5000); // moved without a refit
    // The middle point lies 2 units off the chord: within the default deviation of 10.
    CSplineItem* thinned = AddPath(job.get(), {{0, 0}, {5000, 2}, {10000, 0}, {10000, 10000}});

    FnApplyCurveFilter(job.get());

    EXPECT_EQ(thinned->VectCount(), 3);
    for (CSplineItem* s : {kept, stale, thinned}) {
        EXPECT_TRUE(s->FlattenedFromPoints(CSplineItem::kCopyLevel));
        CSplineItem fresh;
        for (int i = 0; i < s->VectCount(); ++i)
            fresh.Vect(s->Vect(i));
        fresh.MakeCurves();
        fresh.MakePktArray(CSplineItem::kCopyLevel);
        EXPECT_EQ(s->FingerprintElements(), fresh.FingerprintElements());
    }
    EXPECT_EQ(kept->FingerprintElements(), keptElements);
}

} // namespace
