// What an owner gives a new list: the default property set (and, through DefaultSkinFolder.h, the
// skin folder beside the program). Shared by the list's tests and the toolkit benchmark.
#pragma once

#include "DefaultSkinFolder.h"
#include "ListObjectUserInterface2.h"

// The default property set as an owner applies it: slots without a property are left out.
inline HRESULT ApplyDefaultListProperties(ListObjectUserInterface2& list)
{
    TypedValueListUserInterface2 values;
    IndexListUserInterface2 indexes;
    const HRESULT filled = FillDefaultPropertyListObject(&values, &indexes);
    if (FAILED(filled))
        return filled;
    TypedValueListUserInterface2 given;
    IndexListUserInterface2 givenIndexes;
    for (uint32_t slot = 0; slot < indexes.GetCount(); ++slot) {
        if (indexes.GetElement(slot) < 0)
            continue;
        const uint32_t n = given.GetCount();
        given.SetSize(n + 1);
        givenIndexes.SetSize(n + 1);
        given.GetElement(n) = values.GetElement(slot);
        givenIndexes.GetElement(n) = indexes.GetElement(slot);
    }
    return list.UpdateGeneralInfoForObjectReal(0, &given, &givenIndexes, static_cast<int32_t>(given.GetCount()));
}
