// The part spline and Bezier items share: the point list, its stored group and the markers of
// selected points.
#include "spline/point_list_item.h"

#include "curve_fixtures.h"

#include "pivora/framework/jox_dc.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records the markers asked for and the loads seen; closed as told.
class CRecordingPointItem : public CPointListItem {
public:
    CRecordingPointItem() : CPointListItem(0) {}
    explicit CRecordingPointItem(int n) : CPointListItem(n) {}
    int IsClosed(int) override { return closed ? 1 : 0; }
    void DrawSelectedPoint(CJoxDC*, int i) override { marked.push_back(i); }
    void OnPointsLoaded() override { ++loads; }

    bool closed = false;
    std::vector<int> marked;
    int loads = 0;
};

TEST(PointListItem, ZeroPointsOnlyForAPositiveCount) {
    EXPECT_EQ(CRecordingPointItem(3).VectCount(), 3);
    EXPECT_EQ(CRecordingPointItem(3).Vect(2), CSb());
    EXPECT_EQ(CRecordingPointItem(-1).IsEmpty(), 1);
}

TEST(PointListItem, ClosingPointIsMarkedOnce) {
    for (bool closed : {false, true}) {
        CRecordingPointItem item;
        for (CSb p : {B(0, 0), B(10, 0), B(10, 10), B(0, 0)})
            item.Vect(p);
        item.closed = closed;
        for (int i : {0, 2, 3})
            item.SelectElement(i);
        item.DrawSelectedPoints(nullptr);
        EXPECT_EQ(item.marked, closed ? std::vector<int>({0, 2}) : std::vector<int>({0, 2, 3}));
    }
}

TEST(PointListItem, PointsFieldRoundTripsAndSignalsEachLoad) {
    CRecordingPointItem item;
    const std::vector<CSb> points = {B(1, 2), P(-3, 4)};
    for (CSb p : points)
        item.Vect(p);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        item.Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes = file.Detach();
    const std::vector<BYTE> group = PointGroupBytes(points);
    ASSERT_GE(bytes.size(), group.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - std::ptrdiff_t(group.size()), bytes.end()), group);

    CMemFile in(bytes.data(), UINT(bytes.size()));
    CArchive ar(&in, CArchive::load);
    CRecordingPointItem back;
    back.Serialize(ar);
    EXPECT_EQ(back.loads, 1);
    ASSERT_EQ(back.VectCount(), 2);
    EXPECT_EQ(back.Vect(1), P(-3, 4));
    EXPECT_EQ(*back.VectPtr(0), B(1, 2));
}

} // namespace
