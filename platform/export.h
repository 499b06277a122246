#pragma once

#if defined(PELIX_PLATFORM_BUILDING)
#define PELIX_PLATFORM_API __attribute__((visibility("default")))
#else
#define PELIX_PLATFORM_API
#endif
