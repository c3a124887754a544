// Element lists: doubly linked lists of zeroed fixed-size records with a current element.
#pragma once
#include <cstdint>

struct ElementListHeader;

struct ElementList {
    ElementListHeader* header = nullptr;
    void* current = nullptr; // the current record; none means before the first element
};

// Which bytes of a record hold owned texts (char* fields), so that removing an element frees
// them with free(); offsets end with a negative value.
struct TextLayout {
    const int32_t* offsets;
};

// Clears and releases any list in the variable, then makes an empty one.
// recordSize is the size of one record; the tag is kept and never read.
void NewList(ElementList& list, int32_t recordSize, const TextLayout* texts, uint32_t tag);
// A new zeroed record, placed after the current element (at the front with none), made
// current. None when memory runs out or the list was never created.
void* AddElement(ElementList& list);
// No current element: the next NextElement yields the first one.
void ResetList(ElementList& list);
// The record that became current, or none at the end (the last element stays current).
void* NextElement(ElementList& list);
// Unlinks the current element; the previous one becomes current.
void DeleteElement(ElementList& list);
// Deletes every element.
void ClearList(ElementList& list);
// Clears the list and releases its header.
void FreeList(ElementList& list);
int32_t ListSize(const ElementList& list);
// The 1-based position of the current element; 0 before the first.
int32_t ListIndex(const ElementList& list);

// Typed views of the same operations, for lists whose records are one plain struct.
template <typename Record>
Record* AddElementOf(ElementList& list)
{
    return static_cast<Record*>(AddElement(list));
}
template <typename Record>
Record* NextElementOf(ElementList& list)
{
    return static_cast<Record*>(NextElement(list));
}
