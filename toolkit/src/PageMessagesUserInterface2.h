// The page's operations, by their place in its message table.
#pragma once

#include <cstdint>

enum PageOperationUserInterface2 : int32_t
{
    PageOperationUpdatePage = 0,
    PageOperationGetChild = 1,
    PageOperationFreeChild = 2,
    PageOperationSetVisibleStatusColAndRow = 3,
    PageOperationIsChildExist = 4,
    PageOperationUpdateChildElement = 5,
    PageOperationCount = 6,
};
