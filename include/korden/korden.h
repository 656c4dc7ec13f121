/* KORDEN calculation engine: analysis of flexible retaining walls.
 *
 * The host writes the run-control file NAMES.dat in the working directory and the input data
 * file it names, calls IKORDEN once, and afterwards reads the output report, the auxiliary
 * output file and the plot data file. The two arguments are the host's own and are not used.
 * Returns 0 when the run has ended normally or through an input error stop (the error is in the
 * output report); a generator stop returns its stop code (1, 2 or 4; 3 for a stop without one)
 * after writing its message into the output report and the auxiliary output file. Two negative
 * codes say that the files themselves failed; the reason is on standard error:
 *   KORDEN_FILES_FAILED (-1): the run-control file or the input data file cannot be read, a name
 *     is longer than its 255 characters, two names name one file (or an output is the input), or
 *     an output cannot be created. Nothing was analysed and no existing output was written over.
 *   KORDEN_WRITE_FAILED (-2): an output file could not be written, flushed or closed (disk full,
 *     file size limit, I/O error). The run stopped there; its outputs are incomplete.
 */
#ifndef KORDEN_KORDEN_H
#define KORDEN_KORDEN_H

#include <stdint.h>

#define KORDEN_FILES_FAILED (-1)
#define KORDEN_WRITE_FAILED (-2)

#if defined(_WIN32)
#define KORDEN_CALL __stdcall
#if defined(KORDEN_BUILDING)
#define KORDEN_API __declspec(dllexport)
#else
#define KORDEN_API __declspec(dllimport)
#endif
#else
#define KORDEN_CALL
#define KORDEN_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

KORDEN_API int32_t KORDEN_CALL IKORDEN(int32_t host_arg1, int32_t host_arg2);

#ifdef __cplusplus
}
#endif

#endif /* KORDEN_KORDEN_H */
