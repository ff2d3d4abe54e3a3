// stb_image's implementation, compiled once for the comparison benchmarks.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb_image.h>
