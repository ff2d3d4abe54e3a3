// libFuzzer target for one reader, chosen by OV_FUZZ_READER at build time;
// each input goes through the loader that tells the formats apart as well.
#include <stdlib.h>

#include "fuzz/image/reader_check.h"
#include "image/image.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    SetImagePixelLimit(kCheckedPixelLimit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!ReadsSafely(OV_FUZZ_READER, data, size) || !ReadsSafely(ImageReader::Any, data, size))
        abort();
    return 0;
}
