/* stb_vorbis's decoder, built here with our own flags so that every platform decodes the music
   with the same code. */
#include <stb_vorbis.h>
