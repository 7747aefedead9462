// The argument records of a widget's registered operations. A caller fills one on its own stack
// and the widget's thread reads it while the caller waits for the send.
#pragma once

#include "InfoActionUserInterface2.h"
#include "InfoGeneralBufferForUserInterface2.h"
#include "InfoUserInterface2Records.h"

#include "ObjectWindowMessage1.h"
#include "StructForInterfaceDataPath1.h"

#include <cstdint>

struct InfoMessageForUpdateGDIInfoForObject : GeneralParentForMessageStruct
{
    InfoMessageForUpdateGDIInfoForObject() : GeneralParentForMessageStruct("InfoMessageForUpdateGDIInfoForObject") {}

    const GDIListUserInterface2* m_entries = nullptr;
    const IndexListUserInterface2* m_indexes = nullptr;
    int32_t m_count = 0;
};

struct InfoMessageForUpdateGeneralInfoForObject : GeneralParentForMessageStruct
{
    InfoMessageForUpdateGeneralInfoForObject()
        : GeneralParentForMessageStruct("InfoMessageForUpdateGeneralInfoForObject")
    {
    }

    int32_t m_table = 0;
    const TypedValueListUserInterface2* m_values = nullptr;
    const IndexListUserInterface2* m_indexes = nullptr;
    int32_t m_count = 0;
};

struct InfoMessageForGetPosObject : GeneralParentForMessageStruct
{
    InfoMessageForGetPosObject() : GeneralParentForMessageStruct("InfoMessageForGetPosObject") {}

    int32_t* m_left = nullptr;
    int32_t* m_top = nullptr;
    int32_t* m_width = nullptr;
    int32_t* m_height = nullptr;
};

// Serves both directions: the buffer is read by the update and written by the get operation.
struct InfoMessageForXXXUpdateDataBuffer : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdateDataBuffer() : GeneralParentForMessageStruct("InfoMessageForXXXUpdateDataBuffer") {}

    int32_t m_index = 0;
    InfoGeneralBufferForUserInterface2* m_buffer = nullptr;
    uint8_t m_mark = 1;
};

// Serves both directions: the list is read by the set operation and written by the get operation.
struct InfoMessageForXXXElementInfoFromIndex : GeneralParentForMessageStruct
{
    InfoMessageForXXXElementInfoFromIndex() : GeneralParentForMessageStruct("InfoMessageForXXXElementInfoFromIndex") {}

    ElementListUserInterface2* m_elements = nullptr;
    const IndexListUserInterface2* m_indexes = nullptr;
    int32_t m_count = 0;
};

// One run of a slot's operation over given planes (three per side; a side of null planes has none).
struct InfoMessageForApplayOperationToBuffers : GeneralParentForMessageStruct
{
    InfoMessageForApplayOperationToBuffers()
        : GeneralParentForMessageStruct("InfoMessageForApplayOperationToBuffers")
    {
    }

    int16_t* const* m_destination_planes = nullptr;
    int16_t* const* m_source_planes = nullptr;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_destination_stride = 0;
    int32_t m_source_stride = 0;
    int32_t m_destination_offset = 0;
    int32_t m_source_offset = 0;
    InfoActionUserInterface2 m_action;
};

// Checks a parameter list handed to a widget operation: 0x80070057 for no list; 0x8000FFFF when the size word is not this
// build's list size or the count exceeds 16; 0x80004005 when a parameter below the count has no
// type or one at or above it has a type, when a non-zero expected count (capped at 16) differs
// from the list's count, or when given expected types differ from the list's first count types;
// otherwise 0.
HRESULT CheckListParamsUserInterface2(const ListParamsDataPath1* list, int32_t expectedCount,
                                      const uint32_t* expectedTypes);
