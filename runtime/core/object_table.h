// Numbered object tables: the store behind files, sprites, 3D sprites and sounds.
#pragma once
#include <cstdint>

// The number that asks for a dynamic object; the caller keeps the handle that comes back.
constexpr int32_t DYNAMIC_OBJECT = -1;

struct ObjectTable;

// Frees the object of that number or handle; called before a number is reused.
using ReleaseRoutine = void (*)(int32_t object);
// Called for each object by ForEachObject; returning 0 stops the walk.
using ObjectRoutine = int (*)(int32_t object, void* record, void* user);

// A table of records of elementSize bytes with growBy zero-filled numbered slots; none when
// memory runs out. A record is in use while its first 32-bit field is nonzero.
ObjectTable* CreateObjectTable(int32_t elementSize, int32_t growBy, ReleaseRoutine release);
// Releases every object (through the release routine) and the table itself.
void FreeObjectTable(ObjectTable* table);

// The record for a number, or a new zero-filled dynamic record for DYNAMIC_OBJECT. An object
// already holding the number is released first. *object receives the number or the new handle.
// None when memory runs out or the number is negative or beyond the largest number a table
// takes. The record stays where it is until the table grows: look it up again after a create.
void* GetOrCreateObject(ObjectTable* table, int32_t number, int32_t* object);
// The record of an object in use, or none.
void* LookupObject(const ObjectTable* table, int32_t object);
// A number's record in use, or the record of a live dynamic handle.
bool IsValidObject(const ObjectTable* table, int32_t object);
// Zero-fills a numbered slot or unlinks and frees a dynamic record; unknown objects do nothing.
void FreeObject(ObjectTable* table, int32_t object);
// Visits every object in use: numbered slots in ascending order, then dynamic objects from
// oldest to newest. The routine may free the object it is given.
void ForEachObject(ObjectTable* table, ObjectRoutine routine, void* user);
// Releases every object through the table's release routine, in the order of ForEachObject.
void ReleaseAllObjects(ObjectTable* table);
// The number of numbered slots.
int32_t ObjectTableCapacity(const ObjectTable* table);
