#pragma once

#include <cstddef>

namespace VlResources
{
    /** The embedded examples archive: a zip holding the folder "Veltrino examples/"
        with the example files, built from resources/examples at build time.
    */
    extern const unsigned char examplesArchive[];

    /** Size of examplesArchive in bytes. */
    extern const size_t examplesArchiveSize;
}
