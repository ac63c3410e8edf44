/* branto.h -- the entry point of libbranto.so, the analysis engine for flexible
   retaining walls. One call is one complete run: the run reads NAMES.dat in the current
   directory, analyses every problem of the input data file it names and writes the
   report, plot output file and iteration log it names. The two arguments are not used.
   Returns 0 when the run went through its end, 1 a file could not be opened, read or
   written, 2 malformed input, 3 a stop code, 4 an unexpected failure. Calls must not
   overlap. */
#ifndef BRANTO_H
#define BRANTO_H

#ifdef __cplusplus
extern "C" {
#endif

int IBRANTO(int, int);

#ifdef __cplusplus
}
#endif

#endif
