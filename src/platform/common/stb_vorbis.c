/* stb_vorbis's decoder, built here with our own flags so that every platform decodes the music
   with the same code. */
#include <math.h>

/* A codebook of no dimensions (a damaged setup header) makes stb_vorbis turn an infinity into an
   int, undefined in C and a trap in WebAssembly: its floor() is held within the range of an int.
   Real files never reach the bounds, so they decode as before. */
static double tinselrun_floor(double x) {
    if (!(x >= -2147483648.0)) return -2147483648.0; /* and what is no number */
    if (x > 2147483647.0) return 2147483647.0;
    return floor(x);
}
#define floor tinselrun_floor

#include <stb_vorbis.h>
