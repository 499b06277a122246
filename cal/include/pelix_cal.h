/* Pelix_Cal: the flaw detector's fixed-point arithmetic (readings, DAC curves, DGS).
 * Plain C interface, loaded by name at run time by the player and the A-scan control. */
#ifndef PELIX_CAL_H
#define PELIX_CAL_H

#include <stdint.h>

#if defined(PELIX_CAL_BUILDING)
#define PELIX_CAL_API __attribute__((visibility("default")))
#else
#define PELIX_CAL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- DAC curve arithmetic ------------------------------------------------ */

/* ---- DGS arithmetic ------------------------------------------------------ */

/* ---- Setup state and reading formatting ---------------------------------- */

#ifdef __cplusplus
}
#endif

#endif /* PELIX_CAL_H */
