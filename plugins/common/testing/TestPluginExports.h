// The seven exports of a loaded plug-in file, bound by name as the host binds them, for tests that
// drive a plug-in directly. A missing export stays null.
#pragma once

#include "StructForInterfaceDataPath1.h"

#include <windows.h>

struct TestPluginExports
{
    explicit TestPluginExports(HMODULE module)
        : init(Bind<InitInfoFilterFunction>(module, "InitInfoFilter")),
          free(Bind<FreeInfoFilterFunction>(module, "FreeInfoFilter")),
          transform(Bind<TransformFilterFunction>(module, "TransformFilter")),
          call(Bind<CallInterfaceFunctionFunction>(module, "CallInterfaceFunction")),
          query(Bind<QueryInterfaceFunctionFunction>(module, "QueryInterfaceFunction")),
          name(Bind<GetNameFilterFunction>(module, "GetNameFilter")),
          points(Bind<GetConnectionPointsFunction>(module, "GetConnectionPoints"))
    {
    }

    template <class Function>
    static Function Bind(HMODULE module, const char* exportName)
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, exportName)));
    }

    InitInfoFilterFunction init;
    FreeInfoFilterFunction free;
    TransformFilterFunction transform;
    CallInterfaceFunctionFunction call;
    QueryInterfaceFunctionFunction query;
    GetNameFilterFunction name;
    GetConnectionPointsFunction points;
};
