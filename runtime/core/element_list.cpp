// Element lists: each element is its two links followed by one zeroed record.
#include "runtime/core/element_list.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {
struct Element {
    Element* next;
    Element* previous;
    alignas(16) unsigned char record[1];
};

Element* ElementOf(void* record)
{
    return record ? reinterpret_cast<Element*>(static_cast<unsigned char*>(record) -
                                               offsetof(Element, record))
                  : nullptr;
}
} // namespace

struct ElementListHeader {
    Element* first;
    Element* last;
    int32_t recordSize;
    int32_t count;
    int32_t index;
    const TextLayout* texts;
    uint32_t tag;
};

void NewList(ElementList& list, int32_t recordSize, const TextLayout* texts, uint32_t tag)
{
    FreeList(list);
    if (recordSize < 0)
        return;
    auto* header = static_cast<ElementListHeader*>(std::calloc(1, sizeof(ElementListHeader)));
    if (!header)
        return;
    header->recordSize = recordSize;
    header->texts = texts;
    header->tag = tag;
    list.header = header;
    list.current = nullptr;
}

void* AddElement(ElementList& list)
{
    ElementListHeader* header = list.header;
    if (!header)
        return nullptr;
    auto* element = static_cast<Element*>(
        std::calloc(1, offsetof(Element, record) + static_cast<size_t>(header->recordSize)));
    if (!element)
        return nullptr;
    Element* before = ElementOf(list.current);
    Element* after = before ? before->next : header->first;
    element->previous = before;
    element->next = after;
    (before ? before->next : header->first) = element;
    (after ? after->previous : header->last) = element;
    header->count++;
    header->index++;
    list.current = element->record;
    return element->record;
}

void ResetList(ElementList& list)
{
    list.current = nullptr;
    if (list.header)
        list.header->index = 0;
}

void* NextElement(ElementList& list)
{
    ElementListHeader* header = list.header;
    if (!header)
        return nullptr;
    Element* current = ElementOf(list.current);
    Element* next = current ? current->next : header->first;
    if (!next)
        return nullptr;
    header->index++;
    list.current = next->record;
    return next->record;
}

void DeleteElement(ElementList& list)
{
    ElementListHeader* header = list.header;
    Element* element = ElementOf(list.current);
    if (!header || !element)
        return;
    (element->previous ? element->previous->next : header->first) = element->next;
    (element->next ? element->next->previous : header->last) = element->previous;
    header->count--;
    header->index--;
    list.current = element->previous ? element->previous->record : nullptr;
    if (header->texts) {
        for (const int32_t* offset = header->texts->offsets; *offset >= 0; ++offset) {
            char* text;
            std::memcpy(&text, element->record + *offset, sizeof text);
            std::free(text);
        }
    }
    std::free(element);
}

void ClearList(ElementList& list)
{
    ResetList(list);
    while (NextElement(list))
        DeleteElement(list);
}

void FreeList(ElementList& list)
{
    if (!list.header)
        return;
    ClearList(list);
    std::free(list.header);
    list.header = nullptr;
    list.current = nullptr;
}

int32_t ListSize(const ElementList& list)
{
    return list.header ? list.header->count : 0;
}

int32_t ListIndex(const ElementList& list)
{
    return list.header ? list.header->index : 0;
}
