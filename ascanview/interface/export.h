#pragma once

#if defined(ASCANVIEW_BUILDING)
#define ASCANVIEW_API __attribute__((visibility("default")))
#else
#define ASCANVIEW_API
#endif
