#include "maltrec/cutoutput/send_restore.h"

#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<CSb> Points(CVectorItem* item) {
    const CSbArray& a = *item->Vect();
    return std::vector<CSb>(a.GetData(), a.GetData() + a.GetSize());
}

// A closed square whose last point comes back to the first within `gap`.
CSplineItem* Square(int gap, DWORD closingFlags) {
    auto* s = new CSplineItem;
    for (CLpoint p : {CLpoint(0, 0), CLpoint(1000, 0), CLpoint(1000, 1000), CLpoint(0, 1000)})
        s->Vect(CSb(CSplineItem::kBreak, p));
    s->Vect(CSb(closingFlags, CLpoint(gap, 0)));
    s->MakeCurves();
    return s;
}

} // namespace

TEST(SendRestore, StartPointsComeBackPointForPoint) {
    struct Case {
        int gap;
        DWORD closing;
        int start;
    } const cases[] = {
        {0, CSplineItem::kBreak, 2},  // exactly closed
        {0, CSplineItem::kSmooth, 1}, // the closing point differs in its mode only
        {60, CSplineItem::kBreak, 3}, // closed within the tolerance
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        CVectorArticle a;
        a.Item(Square(c.gap, c.closing));
        auto* item = static_cast<CVectorItem*>(a.GetItem());
        const std::vector<CSb> before = Points(item);
        {
            CSendRestore restore;
            ASSERT_TRUE(restore.MoveStart(item, c.start));
            EXPECT_EQ(item->Vect(0).pt, before[size_t(c.start)].pt);
            restore.Finish();
        }
        EXPECT_EQ(Points(item), before);
        EXPECT_TRUE(item->SelectedElements().IsEmpty());
    }
}

TEST(SendRestore, LineStylesGoBackWholeOnAStopAndToZeroAfterASend) {
    CVectorArticle plain, styled;
    styled.fnSaveValue(CVectorArticle::kLineStyle, 3, 0);
    styled.fnSaveString(L"Other", L"x", 0);
    {
        CSendRestore restore;
        restore.SetLineStyle(&plain, 1);
        restore.SetLineStyle(&styled, 1);
        EXPECT_EQ(styled.fnGetValue(CVectorArticle::kLineStyle, -1), 1);
    } // stopped
    EXPECT_EQ(plain.Effects().GetSize(), 0);
    ASSERT_EQ(styled.Effects().GetSize(), 2);
    EXPECT_EQ(styled.fnGetValue(CVectorArticle::kLineStyle, -1), 3);
    CString first = styled.Effects().GetAt(0);
    EXPECT_TRUE(first.Find(CVectorArticle::kLineStyle) >= 0); // the order kept

    CSendRestore sent;
    sent.SetLineStyle(&plain, 1);
    sent.Finish();
    EXPECT_EQ(plain.fnGetValue(CVectorArticle::kLineStyle, -1), 0);
}
