#include "pivora/selection_manager.h"

#include "pivora/selection_observer.h"
#include "pivora/selection_request.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::vector<int> g_told;

struct Named : CSelectionObserver {
    explicit Named(int n) : name(n) {}
    void UpdateSelection(UINT code, void*) override { g_told.push_back(name * 100 + int(code)); }
    int name;
};

TEST(SelectionManager, NoticesGoNewestFirstToEveryObserverButTheSender) {
    g_told.clear();
    auto manager = std::make_unique<CSelectionManager>();
    Named first(1), second(2), third(3);
    for (Named* o : {&first, &second, &third})
        manager->Attach(o);
    manager->Attach(&second); // already listed: nothing changes
    ASSERT_EQ(manager->Observers().GetCount(), 3);
    EXPECT_EQ(manager->Observers().GetHead(), &third);
    second.ChangeSelection(5, nullptr);
    EXPECT_TRUE(g_told.empty()); // not started yet
    second.StartSelectionManager();
    second.ChangeSelection(5, nullptr);
    EXPECT_EQ(g_told, (std::vector<int>{305, 105}));
    // A copy shares the manager but is not listed.
    Named copy(first);
    EXPECT_EQ(copy.GetSubject(), manager.get());
    EXPECT_EQ(manager->Observers().GetCount(), 3);
    manager.reset();
    EXPECT_EQ(first.GetSubject(), nullptr);
    EXPECT_EQ(copy.GetSubject(), nullptr); // the copy does not point at the gone manager
    g_told.clear();
    first.ChangeSelection(6, nullptr);
    EXPECT_TRUE(g_told.empty());
}

TEST(SelectionRequest, ValuesByKeyWithTheirDefaults) {
    CSelectionRequest r;
    r.Set(5u, true);
    EXPECT_TRUE(r.GetBool(5));
    EXPECT_FALSE(r.GetBool(6));
    EXPECT_EQ(r.GetInt(6), -1);
    EXPECT_EQ(r.GetUINT(6), 0u);
    EXPECT_EQ(r.GetVoid(6), nullptr);
    r.Set(7u, 3);
    r.Set(7u, 4);
    EXPECT_EQ(r.GetInt(7), 4);
    r.Set(0u, true);
    EXPECT_EQ(r.GetVoid(0), nullptr);
    int x = 0;
    r.Set(8u, static_cast<void*>(&x));
    EXPECT_EQ(r.GetVoid(8), &x);
    r.Set(9u, UINT(0xFFFFFFFF));
    EXPECT_EQ(r.GetUINT(9), 0xFFFFFFFFu);
    // A key read as another type than it holds answers the default, not bytes past the value.
    EXPECT_EQ(r.GetInt(5), -1);
    EXPECT_FALSE(r.GetBool(7));
    EXPECT_EQ(r.GetInt(8), -1);
    // The cache follows a key that changes type.
    EXPECT_TRUE(r.GetBool(5));
    r.Set(5u, 12);
    EXPECT_FALSE(r.GetBool(5));
    EXPECT_EQ(r.GetInt(5), 12);
    r.RemoveAll();
    EXPECT_EQ(r.GetInt(7), -1);
}

} // namespace
