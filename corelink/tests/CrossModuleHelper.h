// A second module that makes and frees frames and events, so tests can hand them across.
#pragma once

#include "MessageForObjectsDataPath1.h"
#include "ObjectDataPath1_InfoDataBufferPath1.h"

#ifdef CROSS_MODULE_BUILD
#define CROSS_MODULE_API extern "C" __declspec(dllexport)
#else
#define CROSS_MODULE_API extern "C" __declspec(dllimport)
#endif

// A working plane of the given size whose samples count up from 0.
CROSS_MODULE_API InfoDataBufferPath1* CrossModuleCreateFrame(unsigned width, unsigned height);
CROSS_MODULE_API void CrossModuleDeleteFrame(InfoDataBufferPath1* frame);
// The frame heap as this module sees it.
CROSS_MODULE_API HANDLE CrossModuleFrameHeap();
// An event of the type with a recognisable payload and base (camera 7, frame 42); null for a
// type without a class. Type 8 carries three contours of five points.
CROSS_MODULE_API InfoEventDataFrame1* CrossModuleCreateEvent(int type);
CROSS_MODULE_API void CrossModuleDeleteEvent(InfoEventDataFrame1* event);
