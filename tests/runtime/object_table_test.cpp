#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct Record {
    int32_t inUse;
    int32_t value;
};

std::vector<int32_t> Released;
ObjectTable* ReleasingTable = nullptr;
void Release(int32_t object)
{
    Released.push_back(object);
    FreeObject(ReleasingTable, object);
}

struct ObjectTableTest : testing::Test {
    ObjectTable* table = CreateObjectTable(sizeof(Record), 64, Release);
    void SetUp() override
    {
        Released.clear();
        ReleasingTable = table;
    }
    void TearDown() override { FreeObjectTable(table); }
    int32_t Make(int32_t number, int32_t value)
    {
        int32_t object = 0;
        auto* record = static_cast<Record*>(GetOrCreateObject(table, number, &object));
        if (record)
            *record = {1, value};
        return object;
    }
};
} // namespace

TEST_F(ObjectTableTest, NumberBeyondCapacityGrowsByGrowBy)
{
    EXPECT_EQ(ObjectTableCapacity(table), 64);
    EXPECT_EQ(Make(70, 7), 70);
    EXPECT_EQ(ObjectTableCapacity(table), 134);
    for (int32_t n = 64; n < 134; ++n)
        EXPECT_EQ(LookupObject(table, n), n == 70 ? LookupObject(table, 70) : nullptr) << n;
    EXPECT_EQ(static_cast<Record*>(LookupObject(table, 70))->value, 7);
}

TEST_F(ObjectTableTest, ReusedNumberReleasesTheOldObjectFirst)
{
    Make(5, 1);
    Make(5, 2);
    EXPECT_EQ(Released, std::vector<int32_t>{5});
    EXPECT_EQ(static_cast<Record*>(LookupObject(table, 5))->value, 2);
}

TEST_F(ObjectTableTest, IterationVisitsNumbersThenDynamicOldestFirst)
{
    int32_t older = Make(DYNAMIC_OBJECT, 10);
    int32_t newer = Make(DYNAMIC_OBJECT, 11);
    Make(3, 3);
    Make(1, 1);
    EXPECT_NE(older, newer);
    EXPECT_GE(older, ObjectTableCapacity(table));
    ReleaseAllObjects(table);
    EXPECT_EQ(Released, (std::vector<int32_t>{1, 3, older, newer}));
    EXPECT_FALSE(IsValidObject(table, 1));
}

TEST_F(ObjectTableTest, FreedHandleIsNoLongerValid)
{
    int32_t handle = Make(DYNAMIC_OBJECT, 10);
    EXPECT_TRUE(IsValidObject(table, handle));
    FreeObject(table, handle);
    EXPECT_FALSE(IsValidObject(table, handle));
    EXPECT_EQ(LookupObject(table, handle), nullptr);
    FreeObject(table, handle); // a second free does nothing
    EXPECT_EQ(Make(DYNAMIC_OBJECT, 12) == handle, false);
}

TEST_F(ObjectTableTest, RecordWithZeroFirstFieldCountsAsFree)
{
    int32_t object;
    GetOrCreateObject(table, 2, &object);
    EXPECT_FALSE(IsValidObject(table, 2));
    EXPECT_EQ(GetOrCreateObject(table, -5, &object), nullptr);
    EXPECT_EQ(LookupObject(table, -5), nullptr);
}
