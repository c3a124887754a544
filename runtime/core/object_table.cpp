// Numbered object tables: numbered slots in one block, dynamic objects in a list with handles.
#include "runtime/core/object_table.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_map>

namespace {
// Handles are numbers no numbered slot can have, so one integer argument carries either.
constexpr int32_t FIRST_HANDLE = 0x40000000;
constexpr int32_t LARGEST_NUMBER = FIRST_HANDLE - 1;

struct DynamicNode {
    DynamicNode* newer;
    DynamicNode* older;
    int32_t handle;
    alignas(16) unsigned char record[1];
};

size_t NodeSize(int32_t elementSize)
{
    return offsetof(DynamicNode, record) + static_cast<size_t>(elementSize);
}

bool InUse(const void* record)
{
    uint32_t first;
    std::memcpy(&first, record, sizeof first);
    return first != 0;
}
} // namespace

struct ObjectTable {
    int32_t elementSize;
    int32_t growBy;
    int32_t capacity;
    unsigned char* slots;
    DynamicNode* newest;
    DynamicNode* oldest;
    int32_t nextHandle;
    ReleaseRoutine release;
    std::unordered_map<int32_t, DynamicNode*> handles;
};

ObjectTable* CreateObjectTable(int32_t elementSize, int32_t growBy, ReleaseRoutine release)
{
    if (elementSize < 4 || growBy < 1)
        return nullptr;
    auto* table = new (std::nothrow) ObjectTable{
        elementSize, growBy, growBy, nullptr, nullptr, nullptr, FIRST_HANDLE, release, {}};
    if (!table)
        return nullptr;
    table->slots = static_cast<unsigned char*>(std::calloc(growBy, elementSize));
    if (!table->slots) {
        delete table;
        return nullptr;
    }
    return table;
}

void FreeObjectTable(ObjectTable* table)
{
    if (!table)
        return;
    ReleaseAllObjects(table);
    while (table->newest)
        FreeObject(table, table->newest->handle);
    std::free(table->slots);
    delete table;
}

namespace {
bool Grow(ObjectTable* table, int32_t number)
{
    int64_t capacity = int64_t{number} + table->growBy;
    if (capacity > LARGEST_NUMBER + int64_t{1})
        capacity = LARGEST_NUMBER + int64_t{1};
    size_t bytes = static_cast<size_t>(capacity) * static_cast<size_t>(table->elementSize);
    auto* slots = static_cast<unsigned char*>(std::realloc(table->slots, bytes));
    if (!slots)
        return false;
    size_t used = static_cast<size_t>(table->capacity) * table->elementSize;
    std::memset(slots + used, 0, bytes - used);
    table->slots = slots;
    table->capacity = static_cast<int32_t>(capacity);
    return true;
}

void* CreateDynamic(ObjectTable* table, int32_t* object)
{
    if (table->nextHandle == INT32_MAX)
        return nullptr;
    auto* node = static_cast<DynamicNode*>(std::calloc(1, NodeSize(table->elementSize)));
    if (!node)
        return nullptr;
    try {
        table->handles.emplace(table->nextHandle, node);
    } catch (const std::bad_alloc&) {
        std::free(node);
        return nullptr;
    }
    node->handle = table->nextHandle++;
    node->older = table->newest;
    if (table->newest)
        table->newest->newer = node;
    else
        table->oldest = node;
    table->newest = node;
    *object = node->handle;
    return node->record;
}

DynamicNode* FindNode(const ObjectTable* table, int32_t handle)
{
    auto found = table->handles.find(handle);
    return found == table->handles.end() ? nullptr : found->second;
}
} // namespace

void* GetOrCreateObject(ObjectTable* table, int32_t number, int32_t* object)
{
    int32_t ignored;
    if (!object)
        object = &ignored;
    if (!table)
        return nullptr;
    if (number == DYNAMIC_OBJECT)
        return CreateDynamic(table, object);
    if (number < 0 || number > LARGEST_NUMBER)
        return nullptr;
    if (number >= table->capacity && !Grow(table, number))
        return nullptr;
    if (table->release && InUse(table->slots + size_t{1} * number * table->elementSize))
        table->release(number);
    unsigned char* record = table->slots + size_t{1} * number * table->elementSize;
    std::memset(record, 0, table->elementSize);
    *object = number;
    return record;
}

void* LookupObject(const ObjectTable* table, int32_t object)
{
    if (!table)
        return nullptr;
    void* record = nullptr;
    if (object >= 0 && object < table->capacity) {
        record = table->slots + size_t{1} * object * table->elementSize;
    } else if (DynamicNode* node = FindNode(table, object)) {
        record = node->record;
    }
    return record && InUse(record) ? record : nullptr;
}

bool IsValidObject(const ObjectTable* table, int32_t object)
{
    return LookupObject(table, object) != nullptr;
}

void FreeObject(ObjectTable* table, int32_t object)
{
    if (!table)
        return;
    if (object >= 0 && object < table->capacity) {
        std::memset(table->slots + size_t{1} * object * table->elementSize, 0, table->elementSize);
        return;
    }
    DynamicNode* node = FindNode(table, object);
    if (!node)
        return;
    (node->newer ? node->newer->older : table->newest) = node->older;
    (node->older ? node->older->newer : table->oldest) = node->newer;
    table->handles.erase(object);
    std::free(node);
}

void ForEachObject(ObjectTable* table, ObjectRoutine routine, void* user)
{
    if (!table || !routine)
        return;
    for (int32_t number = 0; number < table->capacity; ++number) {
        void* record = table->slots + size_t{1} * number * table->elementSize;
        if (InUse(record) && !routine(number, record, user))
            return;
    }
    for (DynamicNode* node = table->oldest; node;) {
        DynamicNode* newer = node->newer;
        if (InUse(node->record) && !routine(node->handle, node->record, user))
            return;
        node = newer;
    }
}

void ReleaseAllObjects(ObjectTable* table)
{
    if (!table || !table->release)
        return;
    ForEachObject(
        table,
        [](int32_t object, void*, void* user) {
            static_cast<ObjectTable*>(user)->release(object);
            return 1;
        },
        table);
}

int32_t ObjectTableCapacity(const ObjectTable* table)
{
    return table ? table->capacity : 0;
}
