// Export and import of the classes of the shared frame and event library.
#pragma once

#ifdef CORELINK_BUILD
#define CORELINK_API __declspec(dllexport)
#else
#define CORELINK_API __declspec(dllimport)
#endif
