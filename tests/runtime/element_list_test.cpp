#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct Item {
    int32_t value;
    int32_t padding[3];
};

std::vector<int32_t> Values(ElementList& list)
{
    std::vector<int32_t> values;
    ResetList(list);
    while (Item* item = NextElementOf<Item>(list))
        values.push_back(item->value);
    return values;
}

struct ElementListTest : testing::Test {
    ElementList list;
    void SetUp() override { NewList(list, sizeof(Item), nullptr, 7); }
    void TearDown() override { FreeList(list); }
    void Add(int32_t value)
    {
        Item* item = AddElementOf<Item>(list);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->value, 0) << "a new record is zeroed";
        item->value = value;
    }
};
} // namespace

TEST_F(ElementListTest, AddsInCallOrderAndAfterResetAtTheFront)
{
    Add(1);
    Add(2);
    Add(3);
    EXPECT_EQ(Values(list), (std::vector<int32_t>{1, 2, 3}));
    ResetList(list);
    Add(0);
    EXPECT_EQ(Values(list), (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(ListSize(list), 4);
}

TEST_F(ElementListTest, EndedIterationStaysAtTheEndAndAppends)
{
    EXPECT_EQ(NextElement(list), nullptr);
    EXPECT_EQ(list.current, nullptr);
    Add(1);
    Add(2);
    Values(list);
    EXPECT_EQ(NextElement(list), nullptr);
    EXPECT_EQ(ListIndex(list), 2);
    Add(3);
    EXPECT_EQ(Values(list), (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(ElementListTest, DeleteDuringIterationContinuesWithTheFollower)
{
    for (int32_t v : {1, 2, 3, 4})
        Add(v);
    std::vector<int32_t> visited;
    ResetList(list);
    while (Item* item = NextElementOf<Item>(list)) {
        visited.push_back(item->value);
        if (item->value == 1 || item->value == 3)
            DeleteElement(list);
    }
    EXPECT_EQ(visited, (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(Values(list), (std::vector<int32_t>{2, 4}));
    ClearList(list);
    EXPECT_EQ(ListSize(list), 0);
    EXPECT_EQ(NextElement(list), nullptr);
}
