// stb_image built once, for the picture reader: PNG, BMP and JPEG, from memory only, no side over
// the picture limit.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>
